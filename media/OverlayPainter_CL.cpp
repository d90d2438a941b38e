#include "media/OverlayPainter_CL.h"

#include <algorithm>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/ResultMacros.h"
#include "media/ControlBar_CL.h"
#include "media/Direct3DLibrary_CL.h"
#include "media/OverlayText.h"
#include "media/OverlayTexture.h"
#include "store/ContentInfo.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kOverlaySetting[] = L"LK_OVERLAY";

// A failed drawing step shows only as a missing part of the overlay; the frame log says which.
void NoteDrawFailure(const wchar_t* step, HRESULT hr) {
    if (SUCCEEDED(hr) || !ProcessLogSwitches().log_detail_frame) return;
    LogPrintf(L"OverlayPainter: %ls failed hr=0x%08x", step, static_cast<unsigned>(hr));
}

}  // namespace

OverlayPainter_CL::Backend OverlayPainter_CL::ChooseBackend(const wchar_t* overlaySetting, bool d3dxLoaded) {
    const bool wantsD3dx = overlaySetting && ::lstrcmpiW(overlaySetting, L"d3dx") == 0;
    return wantsD3dx && d3dxLoaded ? Backend::kD3dx : Backend::kGdi;
}

OverlayPainter_CL::Backend OverlayPainter_CL::DefaultBackend() {
    wchar_t value[16] = {};
    const DWORD length = ::GetEnvironmentVariableW(kOverlaySetting, value, 16);
    const wchar_t* setting = length > 0 && length < 16 ? value : nullptr;
    // Only a request for D3DX needs to know whether it is there; loading it is not free.
    const bool d3dxLoaded = setting && Direct3DLibrary_CL::Instance().Loaded();
    return ChooseBackend(setting, d3dxLoaded);
}

OverlayPainter_CL::OverlayPainter_CL() : OverlayPainter_CL(DefaultBackend()) {}

OverlayPainter_CL::OverlayPainter_CL(Backend backend)
    : m_backend(backend == Backend::kD3dx && !Direct3DLibrary_CL::Instance().Loaded() ? Backend::kGdi : backend) {}

OverlayPainter_CL::~OverlayPainter_CL() { Release(); }

HRESULT OverlayPainter_CL::Create(IDirect3DDevice9* device, const std::wstring& atlasPath) {
    Release();
    LK_RETURN_HR_IF(E_POINTER, device == nullptr);
    m_device = device;
    m_fontFace = OverlayFontFace();
    HRESULT hr = m_backend == Backend::kGdi ? CreateGdi(atlasPath) : CreateD3dx(atlasPath);
    if (FAILED(hr)) Release();
    return hr;
}

HRESULT OverlayPainter_CL::CreateGdi(const std::wstring& atlasPath) {
    LK_RETURN_HR_IF(E_FAIL, !m_raster.Create(m_fontFace.c_str()));
    if (!atlasPath.empty()) {
        HRESULT hr = CreateImageTexture(m_device, atlasPath.c_str(), m_atlas.ReleaseAndGetAddressOf(), &m_atlasSize);
        if (FAILED(hr)) LogPrintf(L"OverlayPainter: no control bar image (0x%08x)", static_cast<unsigned>(hr));
    }
    return S_OK;
}

HRESULT OverlayPainter_CL::CreateD3dx(const std::wstring& atlasPath) {
    const Direct3DLibrary_CL& d3dx = Direct3DLibrary_CL::Instance();
    LK_RETURN_IF_FAILED(d3dx.CreateSprite(m_device, m_sprite.ReleaseAndGetAddressOf()));
    for (int i = 0; i < kOverlayFontCount; ++i) {
        LK_RETURN_IF_FAILED(d3dx.CreateFont(m_device, kOverlayFontHeights[i], kOverlayFontWeights[i],
                                            m_fontFace.c_str(), m_fonts[i].ReleaseAndGetAddressOf()));
    }
    if (!atlasPath.empty()) {
        HRESULT hr = d3dx.CreateTextureFromFile(m_device, atlasPath.c_str(), m_atlas.ReleaseAndGetAddressOf());
        if (FAILED(hr)) LogPrintf(L"OverlayPainter: no control bar image (0x%08x)", static_cast<unsigned>(hr));
    }
    return S_OK;
}

void OverlayPainter_CL::Release() {
    for (auto& text : m_texts) text.Release();
    m_raster.Release();
    m_atlas.Reset();
    m_atlasSize = SIZE{0, 0};
    for (auto& font : m_fonts) font.Reset();
    m_sprite.Reset();
    m_device = nullptr;
}

void OverlayPainter_CL::BeforeReset() {
    if (m_sprite) m_sprite->OnLostDevice();
    for (auto& font : m_fonts) {
        if (font) font->OnLostDevice();
    }
}

void OverlayPainter_CL::AfterReset() {
    if (m_sprite) m_sprite->OnResetDevice();
    for (auto& font : m_fonts) {
        if (font) font->OnResetDevice();
    }
}

bool OverlayPainter_CL::HasFonts() const {
    if (m_backend == Backend::kGdi) return m_raster.Ready();
    return m_sprite && std::all_of(std::begin(m_fonts), std::end(m_fonts), [](const auto& f) { return f != nullptr; });
}

bool OverlayPainter_CL::HasAtlas() const { return m_atlas != nullptr; }

int OverlayPainter_CL::TextRenderCount() const {
    int count = 0;
    for (const auto& text : m_texts) count += text.RenderCount();
    return count;
}

SIZE OverlayPainter_CL::MeasureTitle(IDirect3DDevice9* device, const std::wstring& title, SIZE client) {
    const RECT area = TitleMeasureArea(client);
    if (m_backend == Backend::kGdi) {
        // Measuring draws the title's bitmap too; drawing it later this frame finds it ready.
        TextTexture_CL& text = m_texts[kTitleSlot];
        if (!text.Update(device, &m_raster, kTitleFont, title, kTitleFormat, area.right - area.left)) {
            return SIZE{0, 0};
        }
        return text.Extent();
    }
    RECT measured = area;
    m_fonts[kTitleFont]->DrawTextW(nullptr, title.c_str(), -1, &measured, kTitleFormat | DT_CALCRECT, kOverlayWhite);
    return SIZE{measured.right - area.left, measured.bottom - area.top};
}

void OverlayPainter_CL::Draw(IDirect3DDevice9* device, const OverlayScene& scene, SIZE client) {
    if (!device || device != m_device || !HasFonts()) return;
    m_fills.clear();

    // The title box: its size follows the measured title.
    const bool titleBox = !scene.title.empty() && (scene.showTitle || scene.showTime);
    SIZE titleExtent{0, 0};
    if (titleBox) {
        if (scene.showTitle) titleExtent = MeasureTitle(device, scene.title, client);
        const bool timeShown = scene.showTime && scene.position >= 0;
        const RECT box = TitleBoxRect(titleExtent, timeShown);
        AddFillQuad(&m_fills, static_cast<float>(box.left), static_cast<float>(box.top), static_cast<float>(box.right),
                    static_cast<float>(box.bottom), kOverlayTitleBoxColour);
        AddFrameQuads(&m_fills, box, kOverlayFrameWidth, kOverlayWhite);
    }
    // The band behind the control bar: translucent grey, darker towards its top edge, with a
    // blue line along that edge.
    const float right = static_cast<float>(client.cx), bottom = static_cast<float>(client.cy);
    const float bandTop = bottom - static_cast<float>(kBandHeight);
    AddFillQuad(&m_fills, 0.0f, bandTop, right, bottom, kOverlayBandColour);
    AddFillQuad(&m_fills, 0.0f, bandTop, right, bandTop + 2.0f, kOverlayBandColour);
    AddFillQuad(&m_fills, 0.0f, bandTop, right, bandTop + 4.0f, kOverlayBandColour);
    AddFillQuad(&m_fills, 0.0f, bandTop, right, bandTop + 2.0f, kOverlayBandLineColour);
    if (!scene.selectionZoom && scene.selection.left != -1) {
        RECT selection = scene.selection;
        if (selection.left > selection.right) std::swap(selection.left, selection.right);
        if (selection.top > selection.bottom) std::swap(selection.top, selection.bottom);
        AddFrameQuads(&m_fills, selection, kOverlayFrameWidth, kOverlayWhite);
    }
    NoteDrawFailure(L"fills", DrawColourQuads(device, m_fills));

    if (scene.controlBar && m_atlas) DrawBar(device, *scene.controlBar);

    if (!scene.message.empty()) {
        DrawOverlayText(device, kMessageSlot, kMessageFont, scene.message, MessageArea(client), kMessageFormat,
                        kOverlayMessageColour);
    }
    if (scene.showTitle && !scene.title.empty()) {
        DrawOverlayText(device, kTitleSlot, kTitleFont, scene.title, TitleTextArea(client), kTitleFormat,
                        kOverlayWhite);
    }
    if (scene.showTime && !scene.title.empty() && scene.position >= 0) {
        DrawOverlayText(device, kTimeSlot, kTimeFont, FormatPlayTime(scene.position, scene.duration),
                        TimeArea(client, scene.showTitle, titleExtent.cy), kTimeFormat, kOverlayWhite);
        const std::wstring stars = StarText(scene.starCount);
        if (!stars.empty()) {
            DrawOverlayText(device, kStarSlot, kTimeFont, stars, StarArea(client, scene.showTitle, titleExtent.cy),
                            kTimeFormat, kOverlayStarColour);
        }
    }
    if (scene.showClock) {
        DrawOverlayText(device, kClockSlot, kClockFont, ClockText(scene.now), ClockArea(client),
                        ClockFormat(scene.clockCorner), kOverlayClockColour);
    }
}

void OverlayPainter_CL::DrawBar(IDirect3DDevice9* device, const ControlBar_CL& bar) {
    if (m_backend == Backend::kD3dx) {
        if (FAILED(m_sprite->Begin(D3DXSPRITE_ALPHABLEND))) return;
        // The atlas is drawn 1:1. Point sampling keeps it sharp where a sprite's corners do not
        // sit exactly on pixel edges (Wine's do not): linear sampling there blends every texel
        // with its neighbours and blurs the buttons. Where they do, both sample the same texels.
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        for (size_t i = 0; i < bar.Count(); ++i) {
            const ControlBarItem& item = bar.Item(i);
            if (item.hidden) continue;
            const RECT source = bar.SourceRect(i);
            const D3DXVECTOR3 position(item.left, item.top, 0.0f);
            m_sprite->Draw(m_atlas.Get(), &source, nullptr, &position, item.colourArgb);
        }
        m_sprite->End();
        return;
    }
    m_textured.clear();
    for (size_t i = 0; i < bar.Count(); ++i) {
        const ControlBarItem& item = bar.Item(i);
        if (item.hidden) continue;
        AddTexturedQuad(&m_textured, item.left, item.top, bar.SourceRect(i), m_atlasSize, item.colourArgb);
    }
    NoteDrawFailure(L"control bar", DrawTexturedQuads(device, m_atlas.Get(), m_textured));
}

void OverlayPainter_CL::DrawOverlayText(IDirect3DDevice9* device, TextSlot slot, OverlayFont font,
                                        const std::wstring& text, const RECT& area, UINT format, D3DCOLOR colour) {
    if (m_backend == Backend::kD3dx) {
        RECT layout = area;
        m_fonts[font]->DrawTextW(nullptr, text.c_str(), -1, &layout, format, colour);
        return;
    }
    TextTexture_CL& texture = m_texts[slot];
    if (!texture.Update(device, &m_raster, font, text, format, area.right - area.left)) return;
    m_textured.clear();
    // Without DT_NOCLIP the text stays inside its area, as DrawText keeps it.
    texture.AddQuad(&m_textured, TextOrigin(area, texture.Extent(), format), colour,
                    (format & DT_NOCLIP) ? nullptr : &area);
    NoteDrawFailure(L"text", DrawTexturedQuads(device, texture.Texture(), m_textured));
}

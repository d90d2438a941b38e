#include "media/DXHelper_CL.h"

#include <algorithm>
#include <cstring>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/Platform.h"
#include "media/ColourConversion.h"
#include "media/Direct3DLibrary_CL.h"
#include "media/OverlayScene.h"
#include "store/ContentInfo.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr DWORD kDrawLogIntervalMs = 2000;

std::atomic<uint32_t> g_lastDrawLog{0};

DXVA2_Fixed32 ToFixed(int32_t raw) {
    DXVA2_Fixed32 value;
    value.ll = raw;
    return value;
}

}  // namespace

std::atomic<int> DXHelper_CL::s_presentPath{-1};
std::atomic<FARPROC> DXHelper_CL::s_softwareRasterizer{nullptr};

std::unique_ptr<VideoPresenter_CL> CreateDXHelper() { return std::make_unique<DXHelper_CL>(); }

FrameConverter_CL& DXHelper_CL::Converter() {
    // Made with the device; a presenter drawing without one (tests) makes it here.
    if (!m_converter) m_converter = std::make_unique<FrameConverter_CL>();
    return *m_converter;
}

DXHelper_CL::PresentPath DXHelper_CL::DetectPresentPath() {
    wchar_t value[16] = {};
    DWORD length = ::GetEnvironmentVariableW(L"LK_PRESENT_PATH", value, 16);
    if (length > 0 && length < 16) {
        if (_wcsicmp(value, L"copy") == 0) return PresentPath::kCopy;
        if (_wcsicmp(value, L"present") == 0) return PresentPath::kPresent;
    }
    return RunningUnderWine() ? PresentPath::kCopy : PresentPath::kPresent;
}

void DXHelper_CL::SetPresentPath(PresentPath path) { s_presentPath = static_cast<int>(path); }

DXHelper_CL::PresentPath DXHelper_CL::CurrentPresentPath() {
    int path = s_presentPath.load();
    if (path < 0) {
        path = static_cast<int>(DetectPresentPath());
        s_presentPath = path;
    }
    return static_cast<PresentPath>(path);
}

void DXHelper_CL::SetSoftwareRasterizer(FARPROC entry) { s_softwareRasterizer = entry; }

DXHelper_CL::DXHelper_CL() = default;

DXHelper_CL::~DXHelper_CL() { ReleaseDevice(); }

// ---- Device life (thread: UI, under the frame lock) -------------------------------------

SIZE DXHelper_CL::ClientSize() const {
    RECT client{};
    if (!m_window || !::GetClientRect(m_window, &client)) return SIZE{0, 0};
    return SIZE{client.right - client.left, client.bottom - client.top};
}

bool DXHelper_CL::InitializeD3D9(HWND window) {
    const bool trace = ProcessLogSwitches().log_detail_renderer;
    if (trace) LogPrintf(L"%ls", L"DXHelper_CL::InitializeD3D9(start)");
    m_window = window;
    m_copyPath = CurrentPresentPath() == PresentPath::kCopy;
    if (!::IsWindow(window)) return false;
    if (!m_device) {
        // A device parked by the presenter of the movie before is taken as it is.
        m_device = PresenterDevice_CL::TakeParked();
        if (m_device) {
            m_lost = true;  // tested before use: it may have been lost while parked
        } else {
            m_device = PresenterDevice_CL::Create(s_softwareRasterizer.load());
        }
        if (!m_device) return false;
        m_verdict = ProcessorVerdict();
        // The converter's threads start with the first device and live as long as the presenter.
        if (!m_converter) m_converter = std::make_unique<FrameConverter_CL>();
    }
    m_device->PrepareOverlay(m_stillImagePath);
    m_fontFace = m_device->Overlay().FontFace();
    if (trace) LogPrintf(L"%ls", L"DXHelper_CL::InitializeD3D9(05)");
    m_target = WindowTarget();
    const bool ready = Maintain();
    if (trace) LogPrintf(L"%ls", L"DXHelper_CL::InitializeD3D9(end)");
    return ready || m_device != nullptr;
}

bool DXHelper_CL::CreateWindowTarget(SIZE size) {
    m_target = WindowTarget();
    m_haveFrame = false;
    if (size.cx <= 0 || size.cy <= 0) return false;
    ++m_targetCount;
    HRESULT hr = S_OK;
    if (m_copyPath) {
        hr = Dev()->CreateRenderTarget(static_cast<UINT>(size.cx), static_cast<UINT>(size.cy), D3DFMT_X8R8G8B8,
                                       D3DMULTISAMPLE_NONE, 0, FALSE, m_target.surface.GetAddressOf(), nullptr);
        if (SUCCEEDED(hr)) {
            hr = Dev()->CreateOffscreenPlainSurface(static_cast<UINT>(size.cx), static_cast<UINT>(size.cy),
                                                    D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                    m_target.readBack.GetAddressOf(), nullptr);
        }
    } else {
        D3DPRESENT_PARAMETERS parameters{};
        parameters.BackBufferWidth = static_cast<UINT>(size.cx);
        parameters.BackBufferHeight = static_cast<UINT>(size.cy);
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.BackBufferCount = 1;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.hDeviceWindow = m_window;
        parameters.Windowed = TRUE;
        parameters.Flags = D3DPRESENTFLAG_VIDEO;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
        hr = Dev()->CreateAdditionalSwapChain(&parameters, m_target.swapChain.GetAddressOf());
        if (SUCCEEDED(hr)) {
            hr = m_target.swapChain->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, m_target.surface.GetAddressOf());
        }
    }
    if (ProcessLogSwitches().log_detail_resize) {
        LogPrintf(L"DXHelper::CreateWindowTarget %ldx%ld hr=0x%08x", static_cast<long>(size.cx),
                  static_cast<long>(size.cy), static_cast<unsigned>(hr));
    }
    if (FAILED(hr)) {
        m_target = WindowTarget();
        return false;
    }
    m_target.size = size;
    return true;
}

void DXHelper_CL::ReleaseDefaultPool() {
    // Everything a device reset needs gone: the window target and the processor's surfaces.
    // The processor check's verdict stays; the processor is made again from it.
    m_target = WindowTarget();
    ReleaseVideoProcessor();
    m_haveFrame = false;
}

bool DXHelper_CL::RestoreDevice() {
    ReleaseDefaultPool();
    ++m_resetCount;
    HRESULT hr = m_device->Reset();
    if (ProcessLogSwitches().log_detail_resize) {
        LogPrintf(L"DXHelper::RestoreDevice Reset hr=0x%08x", static_cast<unsigned>(hr));
    }
    return SUCCEEDED(hr);
}

bool DXHelper_CL::Maintain() {
    m_maintenanceWanted = false;
    if (!m_device) return m_window && InitializeD3D9(m_window);
    if (m_lost) {
        HRESULT cooperative = m_device->TestCooperativeLevel();
        if (m_simulatedLoss > 0 && m_simulatedLoss < 3) {
            cooperative = m_simulatedLoss-- == 2 ? D3DERR_DEVICELOST : D3DERR_DEVICENOTRESET;
        }
        if (cooperative == D3DERR_DEVICELOST) return false;  // the next Draw asks again
        if (cooperative == D3DERR_DEVICENOTRESET) {
            if (!RestoreDevice()) return false;
        } else if (FAILED(cooperative)) {
            return false;
        }
        m_lost = false;
    }
    const SIZE client = ClientSize();
    if (client.cx > 0 && client.cy > 0 &&
        (!m_target.surface || client.cx != m_target.size.cx || client.cy != m_target.size.cy)) {
        if (!CreateWindowTarget(client)) return false;
    }
    if (!m_processor.source || m_processor.surfaceWidth != FrameWidth() || m_processor.surfaceHeight != FrameHeight()) {
        ReleaseVideoProcessor();
        SetUpVideoProcessor();
        m_haveFrame = false;
    }
    return m_target.surface != nullptr && m_processor.source != nullptr;
}

bool DXHelper_CL::SetUpVideoProcessor() {
    VideoProcessorPart& part = m_processor;
    part = VideoProcessorPart();
    m_cpuColour = true;
    const int width = FrameWidth();
    const int height = FrameHeight();
    if (width <= 0 || height <= 0) return false;
    // The check below fills and reads back surfaces: its verdict for this frame size is kept.
    const bool verdictKnown = m_verdict.known && m_verdict.width == width && m_verdict.height == height;
    if (verdictKnown && !m_verdict.usable) return SetUpFallbackSurface();

    HRESULT hr = Direct3DLibrary_CL::Instance().CreateVideoService(Dev(), __uuidof(IDirectXVideoProcessorService),
                                           reinterpret_cast<void**>(part.service.GetAddressOf()));
    if (FAILED(hr) || !part.service) {
        m_verdict = ProcessorVerdict{true, width, height, false, GUID{}};
        return SetUpFallbackSurface();
    }

    DXVA2_VideoDesc& desc = part.description;
    desc.SampleWidth = static_cast<UINT>(width);
    desc.SampleHeight = static_cast<UINT>(height);
    desc.Format = static_cast<D3DFORMAT>(MAKEFOURCC('Y', 'U', 'Y', '2'));
    desc.InputSampleFreq = DXVA2_Frequency{60, 1};
    desc.OutputFrameFreq = DXVA2_Frequency{60, 1};
    desc.SampleFormat.SampleFormat = DXVA2_SampleProgressiveFrame;
    desc.SampleFormat.VideoChromaSubsampling = DXVA2_VideoChromaSubsampling_MPEG2;
    desc.SampleFormat.NominalRange = DXVA2_NominalRange_16_235;
    desc.SampleFormat.VideoTransferMatrix = DXVA2_VideoTransferMatrix_BT601;
    desc.SampleFormat.VideoLighting = DXVA2_VideoLighting_dim;
    desc.SampleFormat.VideoPrimaries = DXVA2_VideoPrimaries_BT709;
    desc.SampleFormat.VideoTransferFunction = DXVA2_VideoTransFunc_709;

    UINT count = 0;
    GUID* guids = nullptr;
    if (FAILED(part.service->GetVideoProcessorDeviceGuids(&desc, &count, &guids)) || !guids) {
        return SetUpFallbackSurface();
    }
    for (UINT i = 0; i < count && !part.processor; ++i) {
        const GUID& guid = guids[i];
        if (verdictKnown && guid != m_verdict.guid) continue;
        UINT formatCount = 0;
        D3DFORMAT* formats = nullptr;
        bool rgbTarget = false;
        if (SUCCEEDED(part.service->GetVideoProcessorRenderTargets(guid, &desc, &formatCount, &formats)) && formats) {
            for (UINT f = 0; f < formatCount; ++f) rgbTarget = rgbTarget || formats[f] == D3DFMT_X8R8G8B8;
            ::CoTaskMemFree(formats);
        }
        DXVA2_VideoProcessorCaps caps{};
        if (!rgbTarget || FAILED(part.service->GetVideoProcessorCaps(guid, &desc, D3DFMT_X8R8G8B8, &caps))) continue;
        if (caps.NumForwardRefSamples > 0 || caps.NumBackwardRefSamples > 0) continue;
        const UINT needed = DXVA2_VideoProcess_StretchX | DXVA2_VideoProcess_StretchY | DXVA2_VideoProcess_SubRects;
        if ((caps.VideoProcessorOperations & needed) != needed) continue;
        if (FAILED(part.service->CreateSurface(desc.SampleWidth, desc.SampleHeight, 0, desc.Format, caps.InputPool, 0,
                                               DXVA2_VideoProcessorRenderTarget, part.source.ReleaseAndGetAddressOf(),
                                               nullptr))) {
            continue;  // not usable with the pool it asks for
        }
        const UINT procAmpBits[4] = {DXVA2_ProcAmp_Brightness, DXVA2_ProcAmp_Contrast, DXVA2_ProcAmp_Hue,
                                     DXVA2_ProcAmp_Saturation};
        bool allProcAmp = true;
        for (int c = 0; c < 4; ++c) {
            part.procAmpSupported[c] = (caps.ProcAmpControlCaps & procAmpBits[c]) != 0 &&
                                       SUCCEEDED(part.service->GetProcAmpRange(guid, &desc, D3DFMT_X8R8G8B8,
                                                                               procAmpBits[c], &part.procAmpRanges[c]));
            allProcAmp = allProcAmp && part.procAmpSupported[c];
        }
        if (caps.VideoProcessorOperations & DXVA2_VideoProcess_NoiseFilter) {
            for (UINT n = 0; n < 6; ++n) {
                if (SUCCEEDED(part.service->GetFilterPropertyRange(guid, &desc, D3DFMT_X8R8G8B8,
                                                                   DXVA2_NoiseFilterLumaLevel + n,
                                                                   &part.noiseRanges[n]))) {
                    part.noise[n] = part.noiseRanges[n].DefaultValue;
                }
            }
        }
        if (caps.VideoProcessorOperations & DXVA2_VideoProcess_DetailFilter) {
            for (UINT n = 0; n < 6; ++n) {
                if (SUCCEEDED(part.service->GetFilterPropertyRange(guid, &desc, D3DFMT_X8R8G8B8,
                                                                   DXVA2_DetailFilterLumaLevel + n,
                                                                   &part.detailRanges[n]))) {
                    part.detail[n] = part.detailRanges[n].DefaultValue;
                }
            }
        }
        if (FAILED(part.service->CreateVideoProcessor(guid, &desc, D3DFMT_X8R8G8B8, 1,
                                                      part.processor.ReleaseAndGetAddressOf()))) {
            part.source.Reset();
            continue;
        }
        if (!verdictKnown && !ProcessorDraws(part)) {
            // It accepts the blit and draws nothing (Wine's software processor cannot read the
            // system-memory surface it asks for): the plain surface path serves better.
            part.processor.Reset();
            part.source.Reset();
            continue;
        }
        part.guid = guid;
        part.surfaceWidth = width;
        part.surfaceHeight = height;
        m_cpuColour = !allProcAmp;
    }
    ::CoTaskMemFree(guids);
    m_verdict = ProcessorVerdict{true, width, height, part.processor != nullptr, part.guid};
    if (ProcessLogSwitches().log_detail_renderer) {
        LogPrintf(L"DXHelper_CL::SetUpVideoProcessor processors=%u chosen=%d colour=%ls size=%dx%d",
                  static_cast<unsigned>(count), part.processor ? 1 : 0, m_cpuColour ? L"cpu" : L"dxva2", width,
                  height);
    }
    if (part.processor) return true;
    return SetUpFallbackSurface();
}

bool DXHelper_CL::DrawsRed(IDirect3DSurface9* source, const ProbeBlit& blit) {
    // Two frames through a path, grey then red, blitted into the corner of the back buffer and
    // read back, scaled and unscaled. Some devices accept a blit and draw nothing or a stale
    // picture (Wine's software processor cannot read the system-memory surface it asks for):
    // such a path is not taken. Red, because a path that copied only the luma would pass a
    // white probe.
    constexpr UINT kProbeSide = 16;
    D3DSURFACE_DESC desc{}, backDesc{};
    ComPtr<IDirect3DSurface9> target, copy;
    if (FAILED(source->GetDesc(&desc)) ||
        FAILED(Dev()->CreateRenderTarget(kProbeSide, kProbeSide, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE,
                                         target.GetAddressOf(), nullptr)) ||
        FAILED(target->GetDesc(&backDesc)) ||
        FAILED(Dev()->CreateOffscreenPlainSurface(backDesc.Width, backDesc.Height, D3DFMT_X8R8G8B8,
                                                  D3DPOOL_SYSTEMMEM, copy.GetAddressOf(), nullptr))) {
        return false;
    }
    const LONG side = static_cast<LONG>(std::min<UINT>(16, std::min(backDesc.Width, backDesc.Height)));
    const uint8_t grey[4] = {126, 128, 126, 128}, red[4] = {81, 90, 81, 240};  // YUY2 macropixels
    const LONG sourceSide = static_cast<LONG>(std::min<UINT>(side, std::min(desc.Width, desc.Height)));
    const RECT sources[2] = {RECT{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)},
                             RECT{0, 0, sourceSide, sourceSide}};
    const RECT targetRect{0, 0, side, side};
    for (const RECT& sourceRect : sources) {
        for (int pass = 0; pass < 2; ++pass) {
            const uint8_t* pattern = pass == 0 ? grey : red;
            D3DLOCKED_RECT locked{};
            if (FAILED(source->LockRect(&locked, nullptr, 0))) return false;
            for (UINT y = 0; y < desc.Height; ++y) {
                auto* row = static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(locked.Pitch) * y;
                for (UINT x = 0; x + 1 < desc.Width; x += 2, row += 4) std::memcpy(row, pattern, 4);
            }
            source->UnlockRect();
            Dev()->ColorFill(target.Get(), nullptr, D3DCOLOR_XRGB(0, 0, 0));
            if (FAILED(blit(target.Get(), sourceRect, targetRect))) return false;
        }
        D3DLOCKED_RECT locked{};
        if (FAILED(Dev()->GetRenderTargetData(target.Get(), copy.Get()))) return false;
        if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return false;
        const uint8_t* centre =
            static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(locked.Pitch) * (side / 2) + (side / 2) * 4;
        const bool red = centre[2] > 180 && centre[1] < 70 && centre[0] < 70;
        copy->UnlockRect();
        if (!red) return false;
    }
    return true;
}

bool DXHelper_CL::ProcessorDraws(const VideoProcessorPart& part) {
    return DrawsRed(part.source.Get(), [&](IDirect3DSurface9* target, const RECT& sourceRect, const RECT& rect) {
        DXVA2_VideoProcessBltParams blt{};
        blt.TargetRect = rect;
        blt.BackgroundColor = DXVA2_AYUVSample16{0x8000, 0x8000, 0x1000, 0xFFFF};
        blt.DestFormat.SampleFormat = DXVA2_SampleProgressiveFrame;
        blt.ProcAmpValues.Contrast.Value = 1;
        blt.ProcAmpValues.Saturation.Value = 1;
        blt.Alpha = DXVA2_Fixed32OpaqueAlpha();
        DXVA2_VideoSample sample{};
        sample.SampleFormat = part.description.SampleFormat;
        sample.SrcSurface = part.source.Get();
        sample.SrcRect = sourceRect;
        sample.DstRect = rect;
        sample.PlanarAlpha = DXVA2_Fixed32OpaqueAlpha();
        return part.processor->VideoProcessBlt(target, &blt, &sample, 1, nullptr);
    });
}

bool DXHelper_CL::SetUpFallbackSurface() {
    // No usable video processor: an RGB surface, converted (and colour-adjusted) on the CPU,
    // stretched onto the back buffer. A YUY2 surface would leave the conversion to the device,
    // but StretchRect's YUY2 support varies: Wine's copies the bytes unconverted when the blit
    // covers the whole surface unscaled, which no probe can rule out for every geometry.
    VideoProcessorPart& part = m_processor;
    part.processor.Reset();
    m_cpuColour = true;
    part.rgbSource = true;
    const int width = FrameWidth();
    const int height = FrameHeight();
    HRESULT hr = Dev()->CreateOffscreenPlainSurface(static_cast<UINT>(width), static_cast<UINT>(height),
                                                       D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                                                       part.source.ReleaseAndGetAddressOf(), nullptr);
    if (SUCCEEDED(hr)) {
        hr = Dev()->CreateOffscreenPlainSurface(static_cast<UINT>(width), static_cast<UINT>(height), D3DFMT_X8R8G8B8,
                                                   D3DPOOL_SYSTEMMEM, part.staging.ReleaseAndGetAddressOf(), nullptr);
    }
    if (FAILED(hr)) {
        part.source.Reset();
        part.staging.Reset();
        return false;
    }
    part.surfaceWidth = width;
    part.surfaceHeight = height;
    if (ProcessLogSwitches().log_detail_renderer) {
        LogPrintf(L"DXHelper_CL::SetUpFallbackSurface RGB32 %dx%d", width, height);
    }
    return false;  // drawing works, but there is no video processor
}

void DXHelper_CL::ReleaseVideoProcessor() { m_processor = VideoProcessorPart(); }

void DXHelper_CL::ReleaseAll() {
    ReleaseVideoProcessor();
    m_target = WindowTarget();
    m_device.reset();
    m_haveFrame = false;
    m_lost = false;
}

bool DXHelper_CL::ResetDevice() {
    // The window's size changed: a target at the new size, the device kept as it is.
    if (ProcessLogSwitches().log_detail_resize) {
        LogPrintf(L"DXHelper::ResetDevice(ENTER) windowed=%d pD3dD9=%p bChangeWindowMode=%d", 1,
                  static_cast<void*>(Device()), 0);
    }
    if (!m_device) return InitializeD3D9(m_window);
    return Maintain();
}

void DXHelper_CL::ReleaseDevice() {
    // The device outlives this presenter: the next movie's presenter on this thread takes it.
    ReleaseVideoProcessor();
    m_target = WindowTarget();
    m_haveFrame = false;
    m_lost = false;
    if (m_device) PresenterDevice_CL::Park(std::move(m_device));
}

void DXHelper_CL::ReleaseParkedDevice() { PresenterDevice_CL::ReleaseParked(); }

// ---- Settings from the renderer and the UI ----------------------------------------------

void DXHelper_CL::SetFrameFormat(int width, int height, int aspectX, int aspectY) {
    m_frameWidth = width;
    m_frameHeight = height;
    m_aspectX = aspectX;
    m_aspectY = aspectY;
}

void DXHelper_CL::SetSourceSize(int width, int height) {
    m_sourceWidth = width;
    m_sourceHeight = height;
}

void DXHelper_CL::SetPosition(int64_t position, int64_t duration) {
    m_position = position;
    m_duration = duration;
}

void DXHelper_CL::SetStillImagePath(const std::wstring& path) {
    m_stillImagePath = path;
    if (m_device) m_device->PrepareOverlay(path);
}

void DXHelper_CL::SetZoomMode(int mode) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.zoomMode = mode;
}

void DXHelper_CL::SetMessageText(const std::wstring& text) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.message = text;
}

void DXHelper_CL::SetTitleText(const std::wstring& text) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.title = text;
}

void DXHelper_CL::SetStarCount(int count) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.starCount = count;
}

void DXHelper_CL::SetSelection(bool zoom, const RECT& selection) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.selectionZoom = zoom;
    m_state.selection = selection;
}

void DXHelper_CL::SetShowTitle(bool show) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.showTitle = show;
}

void DXHelper_CL::SetShowTime(bool show) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.showTime = show;
}

void DXHelper_CL::SetShowClock(bool show, int corner) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.showClock = show;
    m_state.clockCorner = corner;
}

void DXHelper_CL::SetPlaybackShown(bool contentLoaded, bool started) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.contentLoaded = contentLoaded;
    m_state.playbackStarted = started;
}

void DXHelper_CL::SetOverlay(const OverlayModel& model) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.title = model.title;
    m_state.starCount = model.starCount;
    m_state.showTitle = model.showTitle;
    m_state.showTime = model.showTime;
    m_state.showClock = model.showClock;
    m_state.clockCorner = model.clockCorner;
    m_state.zoomMode = model.zoomMode;
    m_state.contentLoaded = model.bar.contentLoaded;
    m_state.playbackStarted = model.bar.playbackStarted;
    m_state.barState = model.bar;
    // The tips are text built per change, not per frame.
    if (model.skipBackSeconds != m_state.skipBackSeconds || model.skipForwardSeconds != m_state.skipForwardSeconds) {
        m_state.skipBackSeconds = model.skipBackSeconds;
        m_state.skipForwardSeconds = model.skipForwardSeconds;
        m_state.controlBar.SetSkipSeconds(model.skipBackSeconds, model.skipForwardSeconds);
    }
}

ProcAmpRange DXHelper_CL::GetProcAmpRange(int mask) {
    // The nominal ranges whichever path adjusts: a processor's own ranges would give the same
    // raw value a different picture on another machine.
    return NominalProcAmpRange(mask);
}

void DXHelper_CL::SetProcAmpValue(int mask, int32_t raw) {
    if (mask != kProcAmpBrightness && mask != kProcAmpContrast && mask != kProcAmpHue && mask != kProcAmpSaturation) {
        return;
    }
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.procAmp[ProcAmpIndex(mask)] = ClampProcAmpValue(mask, raw);
}

int32_t DXHelper_CL::ProcAmpPageSize(int mask) {
    ProcAmpRange range = GetProcAmpRange(mask);
    int64_t page = range.step > 0 ? (static_cast<int64_t>(range.maximum) - range.minimum) / range.step / 32 : 1;
    return page < 1 ? 1 : static_cast<int32_t>(page);
}

void DXHelper_CL::SetControlBarState(const ControlBarState& state) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.barState = state;
}

void DXHelper_CL::SetSkipSeconds(int back, int forward) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    m_state.skipBackSeconds = back;
    m_state.skipForwardSeconds = forward;
    m_state.controlBar.SetSkipSeconds(back, forward);
}

void DXHelper_CL::LayOutBarForWindow() {
    // The pointer meets the bar as the window stands now: before the first frame at a new size
    // is drawn, the bar of the last frame would put items where the user sees none.
    const SIZE size = ClientSize();
    if (size.cx <= 0 || size.cy <= 0) return;
    const RECT client{0, 0, size.cx, size.cy};
    ControlBarState barState = m_state.barState;
    barState.contentLoaded = m_state.contentLoaded;
    barState.playbackStarted = m_state.playbackStarted;
    m_state.controlBar.Layout(client, barState);
}

int DXHelper_CL::UpdateHover(POINT point, bool volumeDrag, ControlBarVolumeHit* volume) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    LayOutBarForWindow();
    return m_state.controlBar.UpdateHover(point, volumeDrag, volume);
}

ControlBarVolumeHit DXHelper_CL::HitVolume(POINT point) {
    std::lock_guard<std::mutex> lock(m_stateLock);
    LayOutBarForWindow();
    return m_state.controlBar.HitVolume(point);
}

ControlBar_CL DXHelper_CL::ControlBarSnapshot() {
    std::lock_guard<std::mutex> lock(m_stateLock);
    return m_state.controlBar;
}

// ---- Drawing ----------------------------------------------------------------------------

void DXHelper_CL::Draw(const uint8_t* frame) {
    if (ProcessLogSwitches().log_detail_frame) {
        uint32_t now = ::GetTickCount();
        uint32_t last = g_lastDrawLog.load();
        if (now - last >= kDrawLogIntervalMs && g_lastDrawLog.compare_exchange_strong(last, now)) {
            LogPrintf(L"DXHelper::Draw: tick=%u vpData=%p dxva2=%d pD3dD9=%p", now, static_cast<const void*>(frame),
                      m_processor.processor ? 1 : 0, static_cast<void*>(Device()));
        }
    }
    // Only what exists is drawn into; the rest is the UI thread's to make.
    if (!m_device || m_lost || !m_target.surface) {
        RequestMaintenance();
        return;
    }
    const SIZE client = ClientSize();
    if (client.cx > 0 && client.cy > 0 && (client.cx != m_target.size.cx || client.cy != m_target.size.cy)) {
        if (ProcessLogSwitches().log_detail_resize) {
            LogPrintf(L"DXHelper::Draw target=%ldx%ld client=%ldx%ld: drawn at the old size until the UI thread follows",
                      static_cast<long>(m_target.size.cx), static_cast<long>(m_target.size.cy),
                      static_cast<long>(client.cx), static_cast<long>(client.cy));
        }
        RequestMaintenance();
    }
    const SIZE size = m_target.size;

    OverlayState state;
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        state = m_state;
    }
    if (!Upload(frame, state)) return;

    // Surface copies (fill, stretch, the processor's blit) go outside the scene: some devices
    // refuse StretchRect inside one.
    IDirect3DDevice9* device = Dev();
    device->ColorFill(m_target.surface.Get(), nullptr, D3DCOLOR_XRGB(0, 0, 0));
    if (frame && m_haveFrame && state.contentLoaded && state.playbackStarted) Blit(state, size);
    device->SetRenderTarget(0, m_target.surface.Get());
    if (FAILED(device->BeginScene())) return;
    DrawOverlay(state, size);
    device->EndScene();
    Show(size);
}

bool DXHelper_CL::Upload(const uint8_t* frame, const OverlayState& state) {
    const bool valuesChanged = std::memcmp(m_appliedProcAmp, state.procAmp, sizeof(m_appliedProcAmp)) != 0;
    if (valuesChanged) {
        m_colourAdjust.SetValues(state.procAmp);
        std::memcpy(m_appliedProcAmp, state.procAmp, sizeof(m_appliedProcAmp));
    }
    if (!frame) return true;
    const uint64_t needed = static_cast<uint64_t>(m_frameWidth) * static_cast<uint64_t>(m_frameHeight) * 2;
    if (needed == 0) return true;
    if (m_frameBufferCapacity < needed) {
        LogPrintf(L"コピーデータサイズの不一致( %d, %d )", static_cast<int>(m_frameBufferCapacity),
                  static_cast<int>(needed));
        return true;  // the previous picture stays
    }
    // A mid-stream change of frame size: the UI thread makes the surface again at the new
    // size; until then the frame is not written past the old surface's end.
    if (!m_processor.source || m_processor.surfaceWidth != m_frameWidth ||
        m_processor.surfaceHeight != m_frameHeight) {
        RequestMaintenance();
        return true;
    }
    if (!WriteSurface(frame)) return false;
    m_haveFrame = true;
    return true;
}

bool DXHelper_CL::WriteSurface(const uint8_t* frame) {
    IDirect3DSurface9* target = m_processor.rgbSource ? m_processor.staging.Get() : m_processor.source.Get();
    D3DLOCKED_RECT locked{};
    if (FAILED(target->LockRect(&locked, nullptr, 0))) return false;
    auto* destination = static_cast<uint8_t*>(locked.pBits);
    FrameConverter_CL& converter = Converter();
    if (m_processor.rgbSource) {
        // No usable video processor: adjust and convert on the CPU in one pass, shared by the
        // converter's threads.
        converter.ConvertToRgb32(frame, m_frameWidth, m_frameHeight, destination, locked.Pitch, m_colourAdjust);
    } else {
        // The processor converts; the CPU adjusts only when the processor cannot (a neutral
        // adjustment copies the rows).
        static const ColourAdjust_CL kNeutral;
        converter.AdjustYuy2(frame, m_frameWidth, m_frameHeight, destination, locked.Pitch,
                             m_cpuColour ? m_colourAdjust : kNeutral);
    }
    if (FAILED(target->UnlockRect())) return false;
    if (m_processor.rgbSource) {
        return SUCCEEDED(Dev()->UpdateSurface(m_processor.staging.Get(), nullptr, m_processor.source.Get(), nullptr));
    }
    return true;
}

void DXHelper_CL::Blit(const OverlayState& state, SIZE client) {
    BlitInput input;
    input.frameWidth = m_frameWidth;
    input.frameHeight = m_frameHeight;
    input.aspectY = m_aspectY;
    input.zoomMode = state.zoomMode;
    input.client = client;
    input.selectionZoom = state.selectionZoom;
    input.selection = state.selection;
    BlitRects rects = ComputeBlitRects(input);
    if (!IsDrawable(rects)) return;

    if (!m_processor.processor) {
        NoteDrawFailure(L"StretchRect", Dev()->StretchRect(m_processor.source.Get(), &rects.source,
                                                           m_target.surface.Get(), &rects.destination, D3DTEXF_LINEAR));
        return;
    }
    DXVA2_VideoProcessBltParams blt{};
    blt.TargetFrame = 0;
    blt.TargetRect = RECT{0, 0, client.cx, client.cy};
    blt.BackgroundColor = DXVA2_AYUVSample16{0x8000, 0x8000, 0x1000, 0xFFFF};
    blt.DestFormat.SampleFormat = DXVA2_SampleProgressiveFrame;
    const int32_t neutral[4] = {0, 0x10000, 0, 0x10000};
    const int32_t* values = m_cpuColour ? neutral : state.procAmp;
    blt.ProcAmpValues.Brightness = ToFixed(values[0]);
    blt.ProcAmpValues.Contrast = ToFixed(values[1]);
    blt.ProcAmpValues.Hue = ToFixed(values[2]);
    blt.ProcAmpValues.Saturation = ToFixed(values[3]);
    blt.Alpha = DXVA2_Fixed32OpaqueAlpha();
    blt.NoiseFilterLuma.Level = m_processor.noise[0];
    blt.NoiseFilterLuma.Threshold = m_processor.noise[1];
    blt.NoiseFilterLuma.Radius = m_processor.noise[2];
    blt.NoiseFilterChroma.Level = m_processor.noise[3];
    blt.NoiseFilterChroma.Threshold = m_processor.noise[4];
    blt.NoiseFilterChroma.Radius = m_processor.noise[5];
    blt.DetailFilterLuma.Level = m_processor.detail[0];
    blt.DetailFilterLuma.Threshold = m_processor.detail[1];
    blt.DetailFilterLuma.Radius = m_processor.detail[2];
    blt.DetailFilterChroma.Level = m_processor.detail[3];
    blt.DetailFilterChroma.Threshold = m_processor.detail[4];
    blt.DetailFilterChroma.Radius = m_processor.detail[5];

    DXVA2_VideoSample sample{};
    sample.Start = 0;
    sample.End = 0;
    sample.SampleFormat = m_processor.description.SampleFormat;
    sample.SrcSurface = m_processor.source.Get();
    sample.SrcRect = rects.source;
    sample.DstRect = rects.destination;
    sample.PlanarAlpha = DXVA2_Fixed32OpaqueAlpha();
    NoteDrawFailure(L"VideoProcessBlt",
                    m_processor.processor->VideoProcessBlt(m_target.surface.Get(), &blt, &sample, 1, nullptr));
}

void DXHelper_CL::NoteDrawFailure(const wchar_t* step, HRESULT hr) {
    // A failed step shows only as a missing picture; the frame log says which one it was.
    if (SUCCEEDED(hr) || !ProcessLogSwitches().log_detail_frame) return;
    LogPrintf(L"DXHelper::%ls failed hr=0x%08x", step, static_cast<unsigned>(hr));
}

void DXHelper_CL::DrawOverlay(const OverlayState& state, SIZE client) {
    // The control bar's places follow the window; the laid-out bar is kept for hit tests.
    ControlBarState barState = state.barState;
    barState.contentLoaded = state.contentLoaded;
    barState.playbackStarted = state.playbackStarted;
    ControlBar_CL bar;
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        m_state.controlBar.Layout(RECT{0, 0, client.cx, client.cy}, barState);
        bar = m_state.controlBar;
    }
    OverlayScene scene;
    scene.message = state.message;
    scene.title = state.title;
    scene.showTitle = state.showTitle;
    scene.showTime = state.showTime;
    scene.position = m_position;
    scene.duration = m_duration;
    scene.starCount = state.starCount;
    scene.showClock = state.showClock;
    scene.clockCorner = state.clockCorner;
    if (state.showClock) ::GetLocalTime(&scene.now);
    scene.selectionZoom = state.selectionZoom;
    scene.selection = state.selection;
    scene.controlBar = &bar;
    m_device->Overlay().Draw(Dev(), scene, client);
}

void DXHelper_CL::Show(SIZE client) {
    if (m_simulatedLoss == 3) {
        m_simulatedLoss = 2;
        m_lost = true;
        RequestMaintenance();
        return;
    }
    if (!m_copyPath) {
        HRESULT hr = m_target.swapChain->Present(nullptr, nullptr, nullptr, nullptr, 0);
        if (hr == D3DERR_DEVICELOST) {
            m_lost = true;  // the UI thread tests and resets it
            RequestMaintenance();
            return;
        }
        NoteDrawFailure(L"Present", hr);
        return;
    }
    // Copy path: read the finished picture back and draw it into the video window with GDI.
    if (!m_target.readBack || client.cx <= 0 || client.cy <= 0) return;
    HRESULT hr = Dev()->GetRenderTargetData(m_target.surface.Get(), m_target.readBack.Get());
    if (hr == D3DERR_DEVICELOST) {
        m_lost = true;
        RequestMaintenance();
        return;
    }
    if (FAILED(hr)) {
        NoteDrawFailure(L"GetRenderTargetData", hr);
        return;
    }
    HDC surfaceDc = nullptr;
    hr = m_target.readBack->GetDC(&surfaceDc);
    if (FAILED(hr)) {
        NoteDrawFailure(L"GetDC", hr);
        return;
    }
    {
        WindowDC_CL window(m_window);
        if (window.Get() && !::BitBlt(window.Get(), 0, 0, client.cx, client.cy, surfaceDc, 0, 0, SRCCOPY)) {
            NoteDrawFailure(L"BitBlt", HRESULT_FROM_WIN32(::GetLastError()));
        }
    }
    m_target.readBack->ReleaseDC(surfaceDc);
}

bool DXHelper_CL::ReadBackBuffer(std::vector<uint32_t>* pixels, SIZE* size) {
    if (!m_device || !m_target.surface) return false;
    D3DSURFACE_DESC desc{};
    m_target.surface->GetDesc(&desc);
    ComPtr<IDirect3DSurface9> copy;
    if (FAILED(Dev()->CreateOffscreenPlainSurface(desc.Width, desc.Height, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                  copy.GetAddressOf(), nullptr))) {
        return false;
    }
    if (FAILED(Dev()->GetRenderTargetData(m_target.surface.Get(), copy.Get()))) return false;
    D3DLOCKED_RECT locked{};
    if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return false;
    pixels->resize(static_cast<size_t>(desc.Width) * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        std::memcpy(pixels->data() + static_cast<size_t>(y) * desc.Width,
                    static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(locked.Pitch) * y,
                    static_cast<size_t>(desc.Width) * 4);
    }
    copy->UnlockRect();
    *size = SIZE{static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
    return true;
}

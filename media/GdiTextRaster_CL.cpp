#include "media/GdiTextRaster_CL.h"

#include <algorithm>
#include <cstring>

namespace {

// Flags that place a text in its area; the bitmap is placed by the caller instead.
constexpr UINT kPlacementFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_CALCRECT;
// Bitmaps grow in steps, so that a clock or a time line that gets a little wider does not
// make a new one each time.
constexpr LONG kBitmapStep = 64;

LONG RoundUp(LONG value, LONG step) { return (value + step - 1) / step * step; }

}  // namespace

bool GdiTextRaster_CL::Create(const wchar_t* face) {
    Release();
    m_dc.Reset(::CreateCompatibleDC(nullptr));
    if (!m_dc.IsValid()) return false;
    for (int i = 0; i < kOverlayFontCount; ++i) {
        // The values D3DXCreateFontW handed on to GDI for the overlay's fonts.
        m_fonts[i].Reset(::CreateFontW(kOverlayFontHeights[i], 0, 0, 0, static_cast<int>(kOverlayFontWeights[i]), FALSE,
                                       FALSE, FALSE, SHIFTJIS_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                                       ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
        if (!m_fonts[i].IsValid()) {
            Release();
            return false;
        }
    }
    ::SetTextColor(m_dc.Get(), RGB(255, 255, 255));
    ::SetBkMode(m_dc.Get(), TRANSPARENT);
    ::SetTextAlign(m_dc.Get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
    return true;
}

void GdiTextRaster_CL::Release() {
    // A bitmap or font still selected into a DC cannot be deleted: the DC goes first.
    if (m_dc.IsValid() && m_originalBitmap) ::SelectObject(m_dc.Get(), m_originalBitmap);
    m_originalBitmap = nullptr;
    m_dc.Reset();
    m_bitmap.Reset();
    for (auto& font : m_fonts) font.Reset();
    m_bits = nullptr;
    m_capacity = SIZE{0, 0};
}

int GdiTextRaster_CL::MarginFor(OverlayFont font) { return 2 + kOverlayFontHeights[font] / 8; }

SIZE GdiTextRaster_CL::Measure(OverlayFont font, const std::wstring& text, UINT format, LONG wrapWidth) {
    if (!Ready() || text.empty()) return SIZE{0, 0};
    HGDIOBJ old = ::SelectObject(m_dc.Get(), m_fonts[font].Get());
    RECT area{0, 0, std::max<LONG>(wrapWidth, 1), 0};
    ::DrawTextW(m_dc.Get(), text.c_str(), static_cast<int>(text.size()), &area,
                (format & ~kPlacementFlags) | DT_CALCRECT | DT_NOPREFIX);
    ::SelectObject(m_dc.Get(), old);
    return SIZE{area.right - area.left, area.bottom - area.top};
}

bool GdiTextRaster_CL::EnsureBitmap(SIZE size) {
    if (m_bitmap.IsValid() && size.cx <= m_capacity.cx && size.cy <= m_capacity.cy) return true;
    const SIZE capacity{RoundUp(std::max(size.cx, m_capacity.cx), kBitmapStep),
                        RoundUp(std::max(size.cy, m_capacity.cy), kBitmapStep)};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = capacity.cx;
    info.bmiHeader.biHeight = -capacity.cy;  // top-down rows, as textures hold them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject_CL bitmap(::CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap.IsValid() || !bits) return false;
    HGDIOBJ previous = ::SelectObject(m_dc.Get(), bitmap.Get());
    if (!m_originalBitmap) m_originalBitmap = previous;
    m_bitmap = std::move(bitmap);  // the old section, now deselected, goes
    m_bits = static_cast<uint32_t*>(bits);
    m_capacity = capacity;
    return true;
}

bool GdiTextRaster_CL::Render(OverlayFont font, const std::wstring& text, UINT format, LONG wrapWidth, SIZE bitmap,
                              int margin) {
    if (!Ready() || bitmap.cx <= 0 || bitmap.cy <= 0 || !EnsureBitmap(bitmap)) return false;
    const size_t stride = Stride();
    for (LONG y = 0; y < bitmap.cy; ++y) std::memset(m_bits + stride * y, 0, static_cast<size_t>(bitmap.cx) * 4);

    HGDIOBJ old = ::SelectObject(m_dc.Get(), m_fonts[font].Get());
    RECT area{margin, margin, margin + std::max<LONG>(wrapWidth, 1), bitmap.cy};
    if (!(format & DT_WORDBREAK)) area.right = bitmap.cx;
    ::DrawTextW(m_dc.Get(), text.c_str(), static_cast<int>(text.size()), &area,
                (format & ~kPlacementFlags) | DT_LEFT | DT_TOP | DT_NOCLIP | DT_NOPREFIX);
    ::SelectObject(m_dc.Get(), old);
    ::GdiFlush();

    // White on black: the brightest channel is the coverage (grey anti-aliasing gives three
    // equal channels; were sub-pixel smoothing forced on, the brightest keeps strokes whole).
    for (LONG y = 0; y < bitmap.cy; ++y) {
        uint32_t* row = m_bits + stride * y;
        for (LONG x = 0; x < bitmap.cx; ++x) {
            const uint32_t pixel = row[x];
            const uint32_t coverage = std::max({(pixel >> 16) & 0xFFu, (pixel >> 8) & 0xFFu, pixel & 0xFFu});
            row[x] = (coverage << 24) | 0x00FFFFFFu;
        }
    }
    return true;
}

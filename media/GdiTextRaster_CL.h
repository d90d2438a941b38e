#pragma once
// The overlay's texts drawn with GDI into a 32-bit bitmap, read back as coverage (0..255 per
// pixel) for alpha textures. The four fonts are made as D3DX made them from its font
// description: the same height (a positive height is the cell height), weight and face,
// Shift-JIS character set, TrueType only, anti-aliased in grey levels. Texts are measured and
// drawn with DrawTextW and the caller's DT_ flags, plus DT_NOPREFIX: D3DX never turned '&'
// into an underline, so "Tom & Jerry" keeps its ampersand.
//
// Thread: not synchronised; its owner (the overlay painter) serialises every call under the
// presenter's frame lock. GDI objects may be used from any thread, one at a time.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/UniqueHandle_CL.h"
#include "media/OverlayLayout.h"

class GdiTextRaster_CL {
public:
    GdiTextRaster_CL() = default;
    ~GdiTextRaster_CL() { Release(); }
    GdiTextRaster_CL(const GdiTextRaster_CL&) = delete;
    GdiTextRaster_CL& operator=(const GdiTextRaster_CL&) = delete;

    // Makes the memory DC and the four overlay fonts of the face; false when any fails.
    bool Create(const wchar_t* face);
    void Release();
    bool Ready() const { return m_dc.IsValid() && m_fonts[kOverlayFontCount - 1].IsValid(); }

    // What DrawTextW with DT_CALCRECT gives for the text: the width of its widest line and
    // the height of its lines. wrapWidth is the width of the area a DT_WORDBREAK text is broken
    // in (at least 1); other texts ignore it.
    SIZE Measure(OverlayFont font, const std::wstring& text, UINT format, LONG wrapWidth);

    // Draws the text white on black with the top-left of its layout area at (margin, margin)
    // in a bitmap of the given size, broken as Measure breaks it; the alignment flags are left
    // to the caller, who places the finished bitmap. Afterwards Coverage() reads the result.
    bool Render(OverlayFont font, const std::wstring& text, UINT format, LONG wrapWidth, SIZE bitmap, int margin);

    // The last rendered bitmap as A8R8G8B8 texels: white, with the text's coverage as alpha.
    // Rows top-down, Stride() texels apart; valid until the next Render.
    const uint32_t* Texels() const { return m_bits; }
    size_t Stride() const { return static_cast<size_t>(m_capacity.cx); }

    // How far ink may reach outside a text's measured cell for a font: overhangs of heavy
    // glyphs and negative side bearings.
    static int MarginFor(OverlayFont font);

private:
    bool EnsureBitmap(SIZE size);

    MemoryDC_CL m_dc;
    GdiObject_CL m_fonts[kOverlayFontCount];
    GdiObject_CL m_bitmap;  // top-down 32-bit DIB section, selected into m_dc
    HGDIOBJ m_originalBitmap = nullptr;
    uint32_t* m_bits = nullptr;  // the DIB section's pixels
    SIZE m_capacity{0, 0};
};

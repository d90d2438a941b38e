#include "media/TextTexture_CL.h"

#include <algorithm>

#include "media/GdiTextRaster_CL.h"
#include "media/OverlayTexture.h"

namespace {

// Textures grow in steps, like the bitmaps they are copied from.
constexpr LONG kTextureStep = 64;

LONG RoundUp(LONG value, LONG step) { return (value + step - 1) / step * step; }

}  // namespace

bool TextTexture_CL::Update(IDirect3DDevice9* device, GdiTextRaster_CL* raster, OverlayFont font,
                            const std::wstring& text, UINT format, LONG wrapWidth) {
    if (text.empty() || !device || !raster || !raster->Ready()) return false;
    // The wrapping width matters only to a text that wraps.
    if (!(format & DT_WORDBREAK)) wrapWidth = 0;
    if (m_valid && m_device == device && text == m_text && font == m_font && format == m_format &&
        wrapWidth == m_wrapWidth) {
        return true;
    }
    m_valid = false;
    m_text = text;
    m_font = font;
    m_format = format;
    m_wrapWidth = wrapWidth;

    m_extent = raster->Measure(font, text, format, wrapWidth);
    m_margin = GdiTextRaster_CL::MarginFor(font);
    const SIZE bitmap{m_extent.cx + 2 * m_margin, m_extent.cy + 2 * m_margin};
    if (!m_texture || m_device != device || bitmap.cx > m_textureSize.cx || bitmap.cy > m_textureSize.cy) {
        m_texture.Reset();
        const SIZE wanted{RoundUp(std::max(bitmap.cx, m_device == device ? m_textureSize.cx : 0), kTextureStep),
                          RoundUp(std::max(bitmap.cy, m_device == device ? m_textureSize.cy : 0), kTextureStep)};
        if (FAILED(CreateManagedTexture(device, wanted, m_texture.GetAddressOf(), &m_textureSize))) return false;
        m_device = device;
    }
    // A device that cannot hold the whole text shows what fits.
    m_bitmapSize = SIZE{std::min(bitmap.cx, m_textureSize.cx), std::min(bitmap.cy, m_textureSize.cy)};
    if (!raster->Render(font, text, format, wrapWidth, m_bitmapSize, m_margin)) return false;
    ++m_renderCount;
    if (FAILED(WriteTexture(m_texture.Get(), raster->Texels(), static_cast<UINT>(m_bitmapSize.cx),
                            static_cast<UINT>(m_bitmapSize.cy), raster->Stride()))) {
        return false;
    }
    m_valid = true;
    return true;
}

void TextTexture_CL::AddQuad(std::vector<TexturedVertex>* quads, POINT origin, D3DCOLOR colour,
                             const RECT* clip) const {
    if (!m_valid) return;
    const RECT source{0, 0, m_bitmapSize.cx, m_bitmapSize.cy};
    AddTexturedQuad(quads, static_cast<float>(origin.x - m_margin), static_cast<float>(origin.y - m_margin), source,
                    m_textureSize, colour, clip);
}

void TextTexture_CL::Release() {
    m_texture.Reset();
    m_device = nullptr;
    m_textureSize = m_bitmapSize = m_extent = SIZE{0, 0};
    m_valid = false;
    m_text.clear();
}

#pragma once
// One text of the overlay (the message, the title, the play time, the stars or the clock) as
// a texture: drawn with GDI when its string, font, format or wrapping width changes and kept
// while they stay, so that a frame only draws a quad for it. The play time changes once a
// second and the clock twice; the other texts hardly ever.
//
// Thread: Update and AddQuad run on the drawing thread under the presenter's frame lock;
// Release on the device's owner thread under the same lock.

#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "media/OverlayLayout.h"
#include "media/OverlayQuads.h"

class GdiTextRaster_CL;

class TextTexture_CL {
public:
    // Makes the texture hold the text, drawing it only when something it depends on changed
    // since the last call. False when there is nothing to draw (an empty text, or a failure).
    bool Update(IDirect3DDevice9* device, GdiTextRaster_CL* raster, OverlayFont font, const std::wstring& text,
                UINT format, LONG wrapWidth);

    // The text's DrawText extent (its DT_CALCRECT width and height) from the last Update.
    SIZE Extent() const { return m_extent; }

    // Appends the text's quad with the top-left of its cell at origin, in colour; with a clip
    // rectangle only the part inside is drawn.
    void AddQuad(std::vector<TexturedVertex>* quads, POINT origin, D3DCOLOR colour, const RECT* clip) const;
    IDirect3DTexture9* Texture() const { return m_texture.Get(); }

    // Times the text was drawn with GDI, for the tests.
    int RenderCount() const { return m_renderCount; }
    void Release();

private:
    Microsoft::WRL::ComPtr<IDirect3DTexture9> m_texture;  // managed: survives a device reset
    IDirect3DDevice9* m_device = nullptr;                 // the device m_texture belongs to
    SIZE m_textureSize{0, 0};
    SIZE m_bitmapSize{0, 0};  // the part of the texture in use: the extent plus a margin round it
    SIZE m_extent{0, 0};
    int m_margin = 0;
    bool m_valid = false;

    // What the texture shows now.
    std::wstring m_text;
    OverlayFont m_font = kMessageFont;
    UINT m_format = 0;
    LONG m_wrapWidth = 0;

    int m_renderCount = 0;
};

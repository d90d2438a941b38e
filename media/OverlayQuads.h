#pragma once
// The overlay's pictures as pre-transformed quads: plain colour fills (title box, band,
// frames) and textured pictures (text bitmaps, control-bar items from the atlas), collected
// per frame and sent in one draw call per texture.
//
// A textured quad maps texels 1:1 onto pixels: its corners go half a pixel up and left,
// because Direct3D 9 samples pre-transformed vertices at pixel centres, and with point
// sampling every pixel then reads exactly the texel it stands on. Plain fills need no such
// shift: their edges on whole pixels cover exactly the pixels inside, as the fills were
// always drawn.
//
// Thread: the building functions have no state; the drawing functions run on the drawing
// thread under the presenter's frame lock, between BeginScene and EndScene.

#include <windows.h>
#include <d3d9.h>

#include <vector>

struct ColourVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};

struct TexturedVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
    float u, v;
};

constexpr DWORD kColourVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;
constexpr DWORD kTexturedVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Appends a filled rectangle (two triangles) covering the pixels [left, right) x [top, bottom).
void AddFillQuad(std::vector<ColourVertex>* quads, float left, float top, float right, float bottom, D3DCOLOR colour);
// Appends a frame of the given thickness drawn inside the rectangle.
void AddFrameQuads(std::vector<ColourVertex>* quads, const RECT& rect, int thickness, D3DCOLOR colour);

// Appends the texels of source (in a texture of textureSize) drawn 1:1 with their top-left
// pixel at (left, top), modulated by colour. With a clip rectangle only the part inside it is
// drawn. Nothing is appended when nothing is left.
void AddTexturedQuad(std::vector<TexturedVertex>* quads, float left, float top, const RECT& source, SIZE textureSize,
                     D3DCOLOR colour, const RECT* clip = nullptr);

// Draws the fills alpha-blended, untextured.
[[nodiscard]] HRESULT DrawColourQuads(IDirect3DDevice9* device, const std::vector<ColourVertex>& quads);
// Draws the textured quads alpha-blended with point sampling: colour = texel x vertex colour,
// alpha = texel alpha x vertex alpha. Leaves the texture set on stage 0.
[[nodiscard]] HRESULT DrawTexturedQuads(IDirect3DDevice9* device, IDirect3DTexture9* texture,
                                        const std::vector<TexturedVertex>& quads);

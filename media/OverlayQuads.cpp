#include "media/OverlayQuads.h"

#include <algorithm>

namespace {

// Two triangles per quad, so that every quad of a batch goes out in one draw call.
constexpr int kCornerOrder[6] = {0, 1, 2, 2, 1, 3};

void SetBlendStates(IDirect3DDevice9* device) {
    // Fixed function only: a shader left on the device by other drawing would replace it.
    device->SetVertexShader(nullptr);
    device->SetPixelShader(nullptr);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

}  // namespace

void AddFillQuad(std::vector<ColourVertex>* quads, float left, float top, float right, float bottom, D3DCOLOR colour) {
    const ColourVertex corners[4] = {{left, top, 0.0f, 1.0f, colour},
                                     {right, top, 0.0f, 1.0f, colour},
                                     {left, bottom, 0.0f, 1.0f, colour},
                                     {right, bottom, 0.0f, 1.0f, colour}};
    for (int index : kCornerOrder) quads->push_back(corners[index]);
}

void AddFrameQuads(std::vector<ColourVertex>* quads, const RECT& rect, int thickness, D3DCOLOR colour) {
    const float l = static_cast<float>(rect.left), t = static_cast<float>(rect.top);
    const float r = static_cast<float>(rect.right), b = static_cast<float>(rect.bottom);
    const float w = static_cast<float>(thickness);
    AddFillQuad(quads, l, t, r, t + w, colour);
    AddFillQuad(quads, l, b - w, r, b, colour);
    AddFillQuad(quads, l, t + w, l + w, b - w, colour);
    AddFillQuad(quads, r - w, t + w, r, b - w, colour);
}

void AddTexturedQuad(std::vector<TexturedVertex>* quads, float left, float top, const RECT& source, SIZE textureSize,
                     D3DCOLOR colour, const RECT* clip) {
    if (textureSize.cx <= 0 || textureSize.cy <= 0) return;
    // Pixels and texels run 1:1, so a clip edge moves both sides by the same amount.
    float cutLeft = 0.0f, cutTop = 0.0f, cutRight = 0.0f, cutBottom = 0.0f;
    const float width = static_cast<float>(source.right - source.left);
    const float height = static_cast<float>(source.bottom - source.top);
    if (clip) {
        cutLeft = std::max(0.0f, static_cast<float>(clip->left) - left);
        cutTop = std::max(0.0f, static_cast<float>(clip->top) - top);
        cutRight = std::max(0.0f, left + width - static_cast<float>(clip->right));
        cutBottom = std::max(0.0f, top + height - static_cast<float>(clip->bottom));
    }
    if (cutLeft + cutRight >= width || cutTop + cutBottom >= height) return;

    const float x0 = left + cutLeft - 0.5f, x1 = left + width - cutRight - 0.5f;
    const float y0 = top + cutTop - 0.5f, y1 = top + height - cutBottom - 0.5f;
    const float texelW = 1.0f / static_cast<float>(textureSize.cx);
    const float texelH = 1.0f / static_cast<float>(textureSize.cy);
    const float u0 = (static_cast<float>(source.left) + cutLeft) * texelW;
    const float u1 = (static_cast<float>(source.right) - cutRight) * texelW;
    const float v0 = (static_cast<float>(source.top) + cutTop) * texelH;
    const float v1 = (static_cast<float>(source.bottom) - cutBottom) * texelH;
    const TexturedVertex corners[4] = {{x0, y0, 0.0f, 1.0f, colour, u0, v0},
                                       {x1, y0, 0.0f, 1.0f, colour, u1, v0},
                                       {x0, y1, 0.0f, 1.0f, colour, u0, v1},
                                       {x1, y1, 0.0f, 1.0f, colour, u1, v1}};
    for (int index : kCornerOrder) quads->push_back(corners[index]);
}

HRESULT DrawColourQuads(IDirect3DDevice9* device, const std::vector<ColourVertex>& quads) {
    if (quads.empty()) return S_OK;
    SetBlendStates(device);
    device->SetTexture(0, nullptr);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    device->SetFVF(kColourVertexFvf);
    return device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(quads.size() / 3), quads.data(),
                                   sizeof(ColourVertex));
}

HRESULT DrawTexturedQuads(IDirect3DDevice9* device, IDirect3DTexture9* texture,
                          const std::vector<TexturedVertex>& quads) {
    if (quads.empty() || !texture) return S_OK;
    SetBlendStates(device);
    device->SetTexture(0, texture);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetFVF(kTexturedVertexFvf);
    return device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(quads.size() / 3), quads.data(),
                                   sizeof(TexturedVertex));
}

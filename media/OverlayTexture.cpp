#include "media/OverlayTexture.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstring>

#include "base/ResultMacros.h"

using Microsoft::WRL::ComPtr;

namespace {

LONG NextPowerOfTwo(LONG value) {
    LONG power = 1;
    while (power < value) power <<= 1;
    return power;
}

}  // namespace

HRESULT LoadBgraImage(const wchar_t* path, BgraImage* image) {
    ComPtr<IWICImagingFactory> factory;
    LK_RETURN_IF_FAILED(
        ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)));
    ComPtr<IWICBitmapDecoder> decoder;
    LK_RETURN_IF_FAILED(
        factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder));
    ComPtr<IWICBitmapFrameDecode> frame;
    LK_RETURN_IF_FAILED(decoder->GetFrame(0, &frame));
    ComPtr<IWICFormatConverter> converter;
    LK_RETURN_IF_FAILED(factory->CreateFormatConverter(&converter));
    LK_RETURN_IF_FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                              nullptr, 0.0, WICBitmapPaletteTypeCustom));
    UINT width = 0, height = 0;
    LK_RETURN_IF_FAILED(converter->GetSize(&width, &height));
    LK_RETURN_HR_IF(E_FAIL, width == 0 || height == 0 || width > 16384 || height > 16384);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    LK_RETURN_IF_FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                              reinterpret_cast<BYTE*>(pixels.data())));
    image->width = width;
    image->height = height;
    image->pixels = std::move(pixels);
    return S_OK;
}

SIZE TextureSizeFor(SIZE needed, const D3DCAPS9& caps) {
    SIZE size{std::max<LONG>(needed.cx, 1), std::max<LONG>(needed.cy, 1)};
    // NONPOW2CONDITIONAL lifts the power-of-two rule for one-level, clamped textures like ours.
    const bool powerOfTwo =
        (caps.TextureCaps & D3DPTEXTURECAPS_POW2) && !(caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL);
    if (powerOfTwo) {
        size.cx = NextPowerOfTwo(size.cx);
        size.cy = NextPowerOfTwo(size.cy);
    }
    if (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) size.cx = size.cy = std::max(size.cx, size.cy);
    if (caps.MaxTextureWidth > 0) size.cx = std::min<LONG>(size.cx, static_cast<LONG>(caps.MaxTextureWidth));
    if (caps.MaxTextureHeight > 0) size.cy = std::min<LONG>(size.cy, static_cast<LONG>(caps.MaxTextureHeight));
    return size;
}

HRESULT CreateManagedTexture(IDirect3DDevice9* device, SIZE needed, IDirect3DTexture9** texture, SIZE* allocated) {
    D3DCAPS9 caps{};
    LK_RETURN_IF_FAILED(device->GetDeviceCaps(&caps));
    const SIZE size = TextureSizeFor(needed, caps);
    LK_RETURN_IF_FAILED(device->CreateTexture(static_cast<UINT>(size.cx), static_cast<UINT>(size.cy), 1, 0,
                                              D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture, nullptr));
    *allocated = size;
    return S_OK;
}

HRESULT WriteTexture(IDirect3DTexture9* texture, const uint32_t* pixels, UINT width, UINT height,
                     size_t strideInPixels) {
    if (width == 0 || height == 0) return S_OK;
    RECT area{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    D3DLOCKED_RECT locked{};
    LK_RETURN_IF_FAILED(texture->LockRect(0, &locked, &area, 0));
    for (UINT y = 0; y < height; ++y) {
        std::memcpy(static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(locked.Pitch) * y,
                    pixels + strideInPixels * y, static_cast<size_t>(width) * 4);
    }
    return texture->UnlockRect(0);
}

HRESULT CreateImageTexture(IDirect3DDevice9* device, const wchar_t* path, IDirect3DTexture9** texture, SIZE* size) {
    BgraImage image;
    LK_RETURN_IF_FAILED(LoadBgraImage(path, &image));
    ComPtr<IDirect3DTexture9> made;
    SIZE allocated{};
    LK_RETURN_IF_FAILED(CreateManagedTexture(
        device, SIZE{static_cast<LONG>(image.width), static_cast<LONG>(image.height)}, &made, &allocated));
    const UINT width = std::min<UINT>(image.width, static_cast<UINT>(allocated.cx));
    const UINT height = std::min<UINT>(image.height, static_cast<UINT>(allocated.cy));
    // A texture larger than the image (a power-of-two device) keeps its rest transparent.
    if (width < static_cast<UINT>(allocated.cx) || height < static_cast<UINT>(allocated.cy)) {
        std::vector<uint32_t> clear(static_cast<size_t>(allocated.cx) * allocated.cy, 0);
        LK_RETURN_IF_FAILED(WriteTexture(made.Get(), clear.data(), static_cast<UINT>(allocated.cx),
                                         static_cast<UINT>(allocated.cy), static_cast<size_t>(allocated.cx)));
    }
    LK_RETURN_IF_FAILED(WriteTexture(made.Get(), image.pixels.data(), width, height, image.width));
    *texture = made.Detach();
    *size = allocated;
    return S_OK;
}

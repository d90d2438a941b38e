#pragma once
// Textures of the overlay without D3DX: the control-bar atlas decoded with WIC, and the
// 32-bit textures text bitmaps are written into. All are D3DPOOL_MANAGED, so they survive a
// device reset without being made again.
//
// Thread: LoadBgraImage on any thread with COM initialised; the texture functions on a thread
// that may use the device (under the presenter's frame lock when the device is shared).

#include <windows.h>
#include <d3d9.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded picture: 32-bit B, G, R, A pixels with straight (not premultiplied) alpha, rows
// top-down, as D3DFMT_A8R8G8B8 holds them.
struct BgraImage {
    UINT width = 0;
    UINT height = 0;
    std::vector<uint32_t> pixels;
};

// Decodes an image file (the atlas is a PNG) with WIC into straight-alpha BGRA. Straight
// alpha because the overlay blends with SRCALPHA / INVSRCALPHA, as the sprite did.
[[nodiscard]] HRESULT LoadBgraImage(const wchar_t* path, BgraImage* image);

// The size a texture must have to hold `needed` on a device with these capabilities: as
// needed where the device takes any size, rounded up to powers of two (and made square) where
// it does not, and never beyond the device's largest texture.
SIZE TextureSizeFor(SIZE needed, const D3DCAPS9& caps);

// A managed A8R8G8B8 texture of one level holding at least `needed` texels where the device
// allows; *allocated receives its real size.
[[nodiscard]] HRESULT CreateManagedTexture(IDirect3DDevice9* device, SIZE needed, IDirect3DTexture9** texture,
                                           SIZE* allocated);

// Writes width x height pixels (rows strideInPixels apart) into the texture's top-left corner.
[[nodiscard]] HRESULT WriteTexture(IDirect3DTexture9* texture, const uint32_t* pixels, UINT width, UINT height,
                                   size_t strideInPixels);

// The image file as a managed texture, texels 1:1 with the file's pixels; *size receives the
// texture's size (the image's own where the device takes any size).
[[nodiscard]] HRESULT CreateImageTexture(IDirect3DDevice9* device, const wchar_t* path, IDirect3DTexture9** texture,
                                         SIZE* size);

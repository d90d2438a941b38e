#pragma once
// The Direct3D libraries, loaded from the system folder when the first presenter needs them
// rather than at start-up: Direct3D 9 and DXVA2 for the picture, and the D3DX9 helpers (fonts,
// sprites, textures) for an overlay that asks for them (LK_OVERLAY=d3dx), loaded at the first
// such request. The default overlay draws without D3DX: d3dx9_43.dll comes with the DirectX
// runtime, not with Windows.
//
// Thread: any; the libraries are loaded once and kept.

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dxva2api.h>

#include <mutex>

class Direct3DLibrary_CL {
public:
    static const Direct3DLibrary_CL& Instance();

    // Direct3DCreate9; null when the system has no Direct3D 9.
    IDirect3D9* CreateDirect3D() const;
    HRESULT CreateVideoService(IDirect3DDevice9* device, REFIID iid, void** service) const;

    // The D3DX9 helpers are there (loads them at the first call).
    bool Loaded() const;

    HRESULT CreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) const;
    // The texture keeps the image's size and pixels exactly (no rounding up to a power of two,
    // no filtering), so atlas rectangles address the pixels they were drawn at.
    HRESULT CreateTextureFromFile(IDirect3DDevice9* device, const wchar_t* path, IDirect3DTexture9** texture) const;
    HRESULT CreateFont(IDirect3DDevice9* device, int height, UINT weight, const wchar_t* face, ID3DXFont** font) const;

private:
    Direct3DLibrary_CL();

    using CreateSpriteFn = HRESULT(WINAPI*)(IDirect3DDevice9*, ID3DXSprite**);
    using CreateTextureFromFileExWFn = HRESULT(WINAPI*)(IDirect3DDevice9*, const WCHAR*, UINT, UINT, UINT, DWORD,
                                                         D3DFORMAT, D3DPOOL, DWORD, DWORD, D3DCOLOR, D3DXIMAGE_INFO*,
                                                         PALETTEENTRY*, IDirect3DTexture9**);
    using CreateFontWFn = HRESULT(WINAPI*)(IDirect3DDevice9*, INT, UINT, UINT, UINT, BOOL, DWORD, DWORD, DWORD, DWORD,
                                           const WCHAR*, ID3DXFont**);

    using Direct3DCreate9Fn = IDirect3D9*(WINAPI*)(UINT);
    using CreateVideoServiceFn = HRESULT(WINAPI*)(IDirect3DDevice9*, REFIID, void**);

    Direct3DCreate9Fn m_direct3DCreate9 = nullptr;
    CreateVideoServiceFn m_createVideoService = nullptr;
    void LoadHelpers() const;
    mutable std::once_flag m_helpersOnce;
    mutable HMODULE m_module = nullptr;  // d3dx9_43, kept for the process's life
    mutable CreateSpriteFn m_createSprite = nullptr;
    mutable CreateTextureFromFileExWFn m_createTexture = nullptr;
    mutable CreateFontWFn m_createFont = nullptr;
};

// The face the overlay asks for, "ＭＳ ゴシック", when the machine has it; otherwise the first
// installed face with Japanese glyphs, so that Japanese titles still render. Found once.
const wchar_t* OverlayFontFace();

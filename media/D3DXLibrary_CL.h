#pragma once
// The D3DX9 helpers the overlay needs (fonts, sprites, textures), loaded at run time from the
// system's d3dx9_43.dll. A machine without that library (it comes with the DirectX runtime,
// not with Windows) still plays video: the overlay is left out, nothing else.
//
// Thread: Instance() may be called from any thread; the library is loaded once and kept.

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

class D3DXLibrary_CL {
public:
    static const D3DXLibrary_CL& Instance();

    bool Loaded() const { return m_module != nullptr; }

    HRESULT CreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) const;
    // The texture keeps the image's size and pixels exactly (no rounding up to a power of two,
    // no filtering), so atlas rectangles address the pixels they were drawn at.
    HRESULT CreateTextureFromFile(IDirect3DDevice9* device, const wchar_t* path, IDirect3DTexture9** texture) const;
    HRESULT CreateFont(IDirect3DDevice9* device, int height, UINT weight, const wchar_t* face, ID3DXFont** font) const;

private:
    D3DXLibrary_CL();

    using CreateSpriteFn = HRESULT(WINAPI*)(IDirect3DDevice9*, ID3DXSprite**);
    using CreateTextureFromFileExWFn = HRESULT(WINAPI*)(IDirect3DDevice9*, const WCHAR*, UINT, UINT, UINT, DWORD,
                                                         D3DFORMAT, D3DPOOL, DWORD, DWORD, D3DCOLOR, D3DXIMAGE_INFO*,
                                                         PALETTEENTRY*, IDirect3DTexture9**);
    using CreateFontWFn = HRESULT(WINAPI*)(IDirect3DDevice9*, INT, UINT, UINT, UINT, BOOL, DWORD, DWORD, DWORD, DWORD,
                                           const WCHAR*, ID3DXFont**);

    HMODULE m_module = nullptr;  // kept for the process's life
    CreateSpriteFn m_createSprite = nullptr;
    CreateTextureFromFileExWFn m_createTexture = nullptr;
    CreateFontWFn m_createFont = nullptr;
};

// The face the overlay asks for, "ＭＳ ゴシック", when the machine has it; otherwise the first
// installed face with Japanese glyphs, so that Japanese titles still render. Found once.
const wchar_t* OverlayFontFace();

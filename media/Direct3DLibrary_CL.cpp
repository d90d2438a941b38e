#include "media/Direct3DLibrary_CL.h"

#include <mutex>
#include <string>

#include "base/Platform.h"
#include "base/UniqueHandle_CL.h"

namespace {

constexpr wchar_t kPreferredFace[] = L"ＭＳ ゴシック";

int CALLBACK FaceFound(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM context) {
    auto* face = reinterpret_cast<std::wstring*>(context);
    // Faces starting with '@' are the vertical-writing twins; the overlay writes across.
    if (font->lfFaceName[0] == L'@') return 1;
    *face = font->lfFaceName;
    return 0;
}

std::wstring FindJapaneseFace() {
    WindowDC_CL screen(nullptr);
    HDC dc = screen.Get();
    if (!dc) return kPreferredFace;
    LOGFONTW query{};
    query.lfCharSet = SHIFTJIS_CHARSET;
    wcscpy_s(query.lfFaceName, kPreferredFace);
    std::wstring face;
    ::EnumFontFamiliesExW(dc, &query, FaceFound, reinterpret_cast<LPARAM>(&face), 0);
    if (face.empty()) {
        query.lfFaceName[0] = L'\0';  // any face that has Japanese glyphs
        ::EnumFontFamiliesExW(dc, &query, FaceFound, reinterpret_cast<LPARAM>(&face), 0);
    }
    return face.empty() ? std::wstring(kPreferredFace) : face;
}

}  // namespace

const Direct3DLibrary_CL& Direct3DLibrary_CL::Instance() {
    static const Direct3DLibrary_CL library;
    return library;
}

Direct3DLibrary_CL::Direct3DLibrary_CL() {
    if (HMODULE d3d9 = LoadTrustedLibrary(L"d3d9.dll", LibraryFolders::kSystemOnly)) {
        m_direct3DCreate9 = LibraryEntry<Direct3DCreate9Fn>(d3d9, "Direct3DCreate9");
    }
    if (HMODULE dxva2 = LoadTrustedLibrary(L"dxva2.dll", LibraryFolders::kSystemOnly)) {
        m_createVideoService = LibraryEntry<CreateVideoServiceFn>(dxva2, "DXVA2CreateVideoService");
    }
}

void Direct3DLibrary_CL::LoadHelpers() const {
    // Only an overlay that asks for D3DX loads it: the default overlay draws without it.
    std::call_once(m_helpersOnce, [this] {
        HMODULE module = LoadTrustedLibrary(L"d3dx9_43.dll", LibraryFolders::kSystemOnly);
        if (!module) return;
        m_createSprite = LibraryEntry<CreateSpriteFn>(module, "D3DXCreateSprite");
        m_createTexture = LibraryEntry<CreateTextureFromFileExWFn>(module, "D3DXCreateTextureFromFileExW");
        m_createFont = LibraryEntry<CreateFontWFn>(module, "D3DXCreateFontW");
        m_module = module;
    });
}

bool Direct3DLibrary_CL::Loaded() const {
    LoadHelpers();
    return m_module != nullptr;
}

IDirect3D9* Direct3DLibrary_CL::CreateDirect3D() const {
    return m_direct3DCreate9 ? m_direct3DCreate9(D3D_SDK_VERSION) : nullptr;
}

HRESULT Direct3DLibrary_CL::CreateVideoService(IDirect3DDevice9* device, REFIID iid, void** service) const {
    if (!m_createVideoService) return E_NOTIMPL;
    return m_createVideoService(device, iid, service);
}

HRESULT Direct3DLibrary_CL::CreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) const {
    LoadHelpers();
    if (!m_createSprite) return E_NOTIMPL;
    return m_createSprite(device, sprite);
}

HRESULT Direct3DLibrary_CL::CreateTextureFromFile(IDirect3DDevice9* device, const wchar_t* path,
                                               IDirect3DTexture9** texture) const {
    LoadHelpers();
    if (!m_createTexture) return E_NOTIMPL;
    return m_createTexture(device, path, D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1, 0, D3DFMT_A8R8G8B8,
                           D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0, nullptr, nullptr, texture);
}

HRESULT Direct3DLibrary_CL::CreateFont(IDirect3DDevice9* device, int height, UINT weight, const wchar_t* face,
                                   ID3DXFont** font) const {
    LoadHelpers();
    if (!m_createFont) return E_NOTIMPL;
    return m_createFont(device, height, 0, weight, 1, FALSE, SHIFTJIS_CHARSET, OUT_TT_ONLY_PRECIS,
                        ANTIALIASED_QUALITY, 0, face, font);
}

const wchar_t* OverlayFontFace() {
    static std::once_flag once;
    static std::wstring face;
    std::call_once(once, [] { face = FindJapaneseFace(); });
    return face.c_str();
}

#pragma once
// Draws the overlay over the picture: the status message, the title box with the title, play
// time and stars, the clock, the translucent band at the bottom, the selection frame and the
// control bar's items from the image atlas "player_image.png".
//
// Two ways to draw the texts and the atlas:
// - GDI: each text drawn with GDI into a bitmap whose coverage becomes a texture's alpha,
//   cached per text until its string changes; the atlas decoded with WIC; everything drawn as
//   textured quads. Needs nothing beyond Windows itself.
// - D3DX: ID3DXFont, ID3DXSprite and D3DX's texture loader, from d3dx9_43.dll. That DLL comes
//   with the DirectX runtime, not with Windows, so a clean Windows 10 or 11 does not have it.
// GDI is the default everywhere: it costs less per frame than D3DX text (see bench_overlay),
// and the overlay looks the same with or without the DirectX runtime. LK_OVERLAY=d3dx in the
// environment asks for D3DX where it is installed (to compare); LK_OVERLAY=gdi is the default.
//
// Threads: Create, Release, BeforeReset and AfterReset run on the device's owner thread (the
// user-interface thread) under the presenter's frame lock: Create and Release once per device
// (not per resize), BeforeReset and AfterReset around a device Reset. Draw runs under the same
// lock on the streaming thread or the UI thread, between BeginScene and EndScene; it may draw
// text bitmaps and update their textures. Nothing here locks: the frame lock serialises all.

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "media/GdiTextRaster_CL.h"
#include "media/OverlayLayout.h"
#include "media/OverlayQuads.h"
#include "media/OverlayScene.h"
#include "media/TextTexture_CL.h"

class OverlayPainter_CL {
public:
    enum class Backend { kGdi, kD3dx };

    // The back-end for an LK_OVERLAY value ("gdi", "d3dx", or empty/null for the default) on
    // a machine with or without D3DX: D3DX only when asked for and installed.
    static Backend ChooseBackend(const wchar_t* overlaySetting, bool d3dxLoaded);
    // ChooseBackend for this process's environment and D3DX library.
    static Backend DefaultBackend();

    // The default back-end, or the one given (tests and benchmarks). A D3DX painter on a
    // machine without D3DX draws with GDI.
    OverlayPainter_CL();
    explicit OverlayPainter_CL(Backend backend);
    ~OverlayPainter_CL();
    OverlayPainter_CL(const OverlayPainter_CL&) = delete;
    OverlayPainter_CL& operator=(const OverlayPainter_CL&) = delete;

    // Thread: UI (the device's owner), once per device. Makes the fonts and loads the atlas
    // (an empty path or a missing file: no control bar). Needs COM on the calling thread for
    // WIC. S_OK when the texts can be drawn; the atlas failing alone still answers S_OK.
    [[nodiscard]] HRESULT Create(IDirect3DDevice9* device, const std::wstring& atlasPath);
    // Thread: UI. Lets go of everything made for the device; Create may follow for another.
    void Release();
    // Thread: UI, around IDirect3DDevice9::Reset. D3DX fonts and sprites give up and remake
    // their default-pool parts; the GDI back-end's textures are managed and need nothing.
    void BeforeReset();
    void AfterReset();

    // Thread: drawing, under the frame lock, between BeginScene and EndScene on the device
    // given to Create. Draws the scene for a client area of the given size. Leaves alpha
    // blending on and the fixed-function states it needs set.
    void Draw(IDirect3DDevice9* device, const OverlayScene& scene, SIZE client);

    Backend ActiveBackend() const { return m_backend; }
    bool HasFonts() const;
    bool HasAtlas() const;
    const std::wstring& FontFace() const { return m_fontFace; }
    // Texts drawn with GDI so far (GDI back-end), for the tests: an unchanged text is not
    // drawn again.
    int TextRenderCount() const;

private:
    enum TextSlot { kMessageSlot, kTitleSlot, kTimeSlot, kStarSlot, kClockSlot, kSlotCount };

    HRESULT CreateGdi(const std::wstring& atlasPath);
    HRESULT CreateD3dx(const std::wstring& atlasPath);
    // The title's DT_CALCRECT extent in its measuring area.
    SIZE MeasureTitle(IDirect3DDevice9* device, const std::wstring& title, SIZE client);
    void DrawBar(IDirect3DDevice9* device, const ControlBar_CL& bar);
    // Draws a text laid out in area with the DrawText format, as DrawText would place it.
    void DrawOverlayText(IDirect3DDevice9* device, TextSlot slot, OverlayFont font, const std::wstring& text,
                         const RECT& area, UINT format, D3DCOLOR colour);

    Backend m_backend;
    IDirect3DDevice9* m_device = nullptr;  // the device given to Create; not owned
    std::wstring m_fontFace;

    // GDI back-end.
    GdiTextRaster_CL m_raster;
    TextTexture_CL m_texts[kSlotCount];
    Microsoft::WRL::ComPtr<IDirect3DTexture9> m_atlas;  // managed, from WIC (or from D3DX)
    SIZE m_atlasSize{0, 0};

    // D3DX back-end.
    Microsoft::WRL::ComPtr<ID3DXSprite> m_sprite;
    Microsoft::WRL::ComPtr<ID3DXFont> m_fonts[kOverlayFontCount];

    // Reused by every frame, so that drawing allocates nothing once they have grown.
    std::vector<ColourVertex> m_fills;
    std::vector<TexturedVertex> m_textured;
};

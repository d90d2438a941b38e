#pragma once
// The main window's display modes and the window styles they need: full screen, the
// borderless display, the frame the idle action takes away, topmost, and the transparent
// display. It changes styles and z-order only; the main window lays itself out afterwards.
// Thread: UI (owned by the main window).

#include <windows.h>

#include <vector>

class WindowDisplay_CL {
public:
    // Thread: UI. The window whose styles change, and its small icon (shared, not destroyed).
    void Attach(HWND window, HICON icon) {
        m_window = window;
        m_icon = icon;
    }

    bool FullScreen() const { return m_fullScreen; }
    bool Borderless() const { return m_borderless; }
    bool Frameless() const { return m_frameless; }
    bool Topmost() const { return m_topmost; }
    bool Transparent() const { return m_transparent; }

    // Thread: UI. To full screen (no caption, menu or sizing frame, maximised) and back (the
    // frame returns unless the borderless display is on).
    void ToggleFullScreen();
    // Thread: UI. False when the mode was already so.
    bool SetBorderless(bool on);
    // Thread: UI. The idle action takes the frame away (framed false) or gives it back; the
    // borderless display keeps its window without one either way.
    void SetFrameless(bool frameless, bool changeStyles);
    void SetTopmost(bool on);
    // Thread: UI. A layered window at the "transparent" opacity, letting clicks through when
    // "mouse_transparent" is 1. Where layered windows do not exist it stays off.
    void SetTransparent(bool on);
    // Thread: UI. Puts the window back to its configured transparency (after a preview).
    void ApplyTransparency();
    // Thread: UI. The opacity preview of the settings: layered at alpha and topmost at once,
    // whatever the modes say, until EndOpacityPreview puts back the configured transparency
    // and topmost state.
    void PreviewOpacity(int alpha);
    void EndOpacityPreview();

private:
    void ApplyFrameStyles(bool framed);
    // Places the window above others or back among them; false when the platform refused.
    bool PlaceTopmost(bool on);
    // The tool tips the window owns (see SetTopmost).
    std::vector<HWND> OwnedToolTips() const;

    HWND m_window = nullptr;
    HICON m_icon = nullptr;
    bool m_fullScreen = false;
    bool m_borderless = false;   // the borderless display (command 0x80E1)
    bool m_frameless = false;    // the idle action took the frame away
    bool m_topmost = false;      // the window stays above others (command 0x80F1)
    bool m_transparent = false;  // the transparent display (command 0x80F8)
};

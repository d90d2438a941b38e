#pragma once
// The main window's mouse: what the message loop sees of the mouse, turned into facts for the
// picture's mouse rules (PictureMouse_CL) and their answers carried out on the window: the
// drag and the edge resize, the cursor, the zoom selection, the single-click timer, the volume
// wheel and the control bar's lit item.
// Thread: UI for everything (owned by the main window).

#include <windows.h>

#include <functional>
#include <string>

#include "app/input/PictureMouse_CL.h"

class CMyRenderer;
class MoviePlayWindow_CL;
class WindowDisplay_CL;

class MainMouse_CL {
public:
    // What the mouse needs of the main window.
    struct Callbacks {
        std::function<void()> noteUserActivity;
        std::function<void()> redrawPlayer;
        std::function<void(const std::wstring&)> setStatusText;
        std::function<CMyRenderer*()> renderer;  // null without a movie
        std::function<void()> focusStrip;
        std::function<bool()> modalOpen;
        std::function<bool()> playing;           // playing and not paused
        std::function<int()> volumeStep;         // -1 without a controller
    };
    static constexpr wchar_t kZoomText[] = L"ＺＯＯＭ";

    MainMouse_CL(MoviePlayWindow_CL& videoWindow, WindowDisplay_CL& display, Callbacks callbacks);

    // Thread: UI. The windows, once made.
    void Attach(HWND window, HWND video);

    // The message loop's mouse, before the message is dispatched; message.pt is on the screen.
    void OnLeftButtonDown(const MSG& message);
    void OnLeftButtonUp(const MSG& message);
    void OnMouseMove(const MSG& message);
    void OnMouseWheel(const MSG& message);
    // The second press of a double click on the window: the first press's click does not act.
    void OnDoubleClick() { Apply(m_mouse.OnDoubleClick()); }
    // A command ends a drag that runs.
    void EndDrag() { Apply(m_mouse.EndDrag()); }

    // The zoom selection (the presenter shows it; a new movie drops it).
    const PictureMouse_CL& Rules() const { return m_mouse; }
    void ResetZoom() { m_mouse.ResetZoom(); }

    // The pointer in the video window's client coordinates.
    POINT PointerInVideo() const;
    static POINT CursorPosition();

private:
    MouseFacts FactsOf(const MSG& message) const;
    void Apply(const MouseActions& actions);

    MoviePlayWindow_CL& m_videoWindow;
    WindowDisplay_CL& m_display;
    Callbacks m_callbacks;
    HWND m_window = nullptr;
    HWND m_video = nullptr;
    PictureMouse_CL m_mouse;
    bool m_lastHovered = false;
};

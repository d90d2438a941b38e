#pragma once
// The left button, the pointer and the wheel on the picture, without a window: a press drags
// the main window (or, in the borderless display, resizes it by its right and bottom edges),
// a Control-press draws a zoom selection, a release where the press was is a click (the
// window's single-click timer plays or pauses unless a double click follows), and the wheel
// with the button held sets the volume. The main window fills MouseFacts from the message and
// its windows, and carries out the MouseActions this answers.
//
// Thread: UI (owned by the main window).

#include <windows.h>

#include "app/input/WindowDrag_CL.h"

// What the main window knows when a mouse message arrives. Every event reads only the fields
// its comment names; the others may stay at their defaults.
struct MouseFacts {
    POINT screenPoint{0, 0};   // MSG::pt: the cursor in screen coordinates
    WPARAM wParam = 0;         // the message's wParam (MK_* keys; for the wheel also its delta)
    POINT videoPoint{0, 0};    // screenPoint in the video window's client coordinates
    SIZE videoClientPx{0, 0};  // the video window's client size
    POINT mainPoint{0, 0};     // screenPoint in the main window's client coordinates
    SIZE mainClientPx{0, 0};   // the main window's client size
    RECT windowRect{0, 0, 0, 0};  // GetWindowRect of the main window
    int frameWidthPx = 0;      // GetSystemMetrics(SM_CXFRAME): how wide a grip edge is
    bool modalOpen = false;    // a modal dialog is open
    bool overBarItem = false;  // the pointer is over a clickable item of the control bar
    bool fullScreen = false;
    bool borderless = false;   // the borderless display
};

enum class WindowChange {
    kNone,
    kMove,    // SetWindowPos with SWP_NOSIZE: the rectangle's position only
    kResize,  // SetWindowPos with SWP_NOMOVE: the rectangle's size only
};

enum class SelectionChange {
    kNone,
    kTrack,  // the selection being drawn: presenter SetSelection(false, selection), redraw
    kDrop,   // no selection and no zoom: presenter SetSelection(false, {-1,...}), redraw
    kApply,  // zoom to it: presenter SetSelection(true, selection), show the zoom text
};

// What the main window does for one event, in this order: focus, capture, window, cursor,
// selection, click timer, volume.
struct MouseActions {
    bool focusWindow = false;     // SetFocus(main window)
    bool captureMouse = false;    // SetCapture(main window)
    bool releaseCapture = false;  // ReleaseCapture()
    WindowChange windowChange = WindowChange::kNone;
    RECT windowRect{0, 0, 0, 0};  // the main window's new rectangle, for windowChange
    const wchar_t* cursorShape = nullptr;  // an IDC_SIZE* id to SetCursor; nullptr leaves it
    SelectionChange selectionChange = SelectionChange::kNone;
    RECT selection{-1, -1, -1, -1};  // video-window coordinates, corners in order
    bool startClickTimer = false;    // SetTimer for the single click (kClickDelayMs)
    bool killClickTimer = false;     // KillTimer of the single click
    int volumeStep = -1;             // set the volume to this step; -1 leaves it
    bool userActivity = false;       // the pointer really moved: the idle countdown restarts
};

class PictureMouse_CL {
public:
    static constexpr UINT kClickDelayMs = 200;  // a double click within this cancels the click
    static constexpr int kMaxVolumeStep = 20;

    // Thread: UI. WM_LBUTTONDOWN. Reads screenPoint, wParam, videoPoint, videoClientPx,
    // windowRect, modalOpen, overBarItem.
    MouseActions OnLeftButtonDown(const MouseFacts& facts);
    // Thread: UI. WM_MOUSEMOVE. Reads screenPoint, videoPoint, videoClientPx, mainPoint,
    // mainClientPx, frameWidthPx, fullScreen, borderless.
    MouseActions OnMouseMove(const MouseFacts& facts);
    // Thread: UI. WM_LBUTTONUP. Reads screenPoint, videoPoint, videoClientPx.
    MouseActions OnLeftButtonUp(const MouseFacts& facts);
    // Thread: UI. WM_MOUSEWHEEL. Reads wParam; volumeStep is the current step (0..20).
    MouseActions OnMouseWheel(const MouseFacts& facts, int volumeStep);
    // Thread: UI. A command arrived while the button was held: the drag ends with no click.
    MouseActions EndDrag();
    // Thread: UI. WM_LBUTTONDBLCLK on the main window: its first press's click does not act.
    MouseActions OnDoubleClick();

    // Thread: UI. A drag (move, resize or selection) is running between press and release.
    bool Dragging() const { return m_drag.Active(); }
    // Thread: UI. The borderless edge under the pointer, which the next press resizes by.
    WindowEdge Edge() const { return m_edge; }
    // Thread: UI. The zoom selection with its corners in order; left -1 when there is none.
    RECT ZoomSelection() const;
    // Thread: UI. A selection is finished and the picture is zoomed to it (the capture then
    // takes the zoomed size).
    bool ZoomApplied() const { return m_zoom.left != -1 && !m_drag.Active(); }
    // Thread: UI. A new movie: no selection and no zoom.
    void ResetZoom() { m_zoom = kNoSelection; }
    // Thread: UI. The next release where the press was is no click (the wheel was used).
    bool SuppressNextClick() const { return m_suppressNextClick; }

private:
    static constexpr RECT kNoSelection{-1, -1, -1, -1};

    // The selection's moving corner goes to the cursor, kept inside the video window so a
    // negative coordinate can never be read as "no selection".
    void MoveSelectionCorner(const MouseFacts& facts);

    WindowDrag_CL m_drag;
    WindowEdge m_edge = WindowEdge::kNone;
    RECT m_zoom = kNoSelection;  // left/top: the press, right/bottom: the cursor
    bool m_suppressNextClick = false;
    bool m_moved = false;         // m_lastMovePoint holds a real movement
    POINT m_lastMovePoint{0, 0};  // where the last real movement ended
};

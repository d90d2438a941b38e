#pragma once
// Moving the main window by its picture, and in the borderless display resizing it by its
// right and bottom edges. Pure geometry and state: the main window feeds in cursor positions
// (screen coordinates) and applies the rectangles this answers.
//
// Thread: UI (owned by the main window).

#include <windows.h>

enum class WindowEdge { kNone = 0, kRight = 1, kBottom = 2, kCorner = 3 };

class WindowDrag_CL {
public:
    // The smallest window a drag or a sizing loop may leave.
    static constexpr LONG kMinWidthPx = 480;
    static constexpr LONG kMinHeightPx = 360;

    // The edge of a client area of the given size that a client point lies on; each edge is
    // frameWidthPx wide. Only the right edge, the bottom edge and their corner resize.
    static WindowEdge HitEdge(POINT clientPoint, SIZE client, int frameWidthPx);

    // WM_SIZING: keeps the rectangle at least the minimum size. The side being dragged
    // (sizingEdge, a WMSZ_* value) gives way, so the opposite side stays where it is.
    static void KeepMinimumSize(WPARAM sizingEdge, RECT* rect);

    // A left button went down at cursor on a window whose rectangle is window. edge kNone moves
    // the window; control marks a control-drag (a zoom selection, the window stays put).
    void Begin(POINT cursor, const RECT& window, WindowEdge edge, bool control);
    bool Active() const { return m_active; }
    bool ControlHeld() const { return m_control; }
    WindowEdge Edge() const { return m_edge; }

    // The window rectangle that follows the cursor: moved by the grab offset, or for an edge
    // drag resized on that edge only, never below the minimum size.
    RECT Follow(POINT cursor) const;

    // Ends the drag; true when the cursor is back where the button went down (a click).
    bool End(POINT cursor);

private:
    bool m_active = false;
    bool m_control = false;
    WindowEdge m_edge = WindowEdge::kNone;
    POINT m_start{0, 0};
    RECT m_startWindow{0, 0, 0, 0};
};

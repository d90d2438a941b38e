#include "app/input/WindowDrag_CL.h"

#include <algorithm>

WindowEdge WindowDrag_CL::HitEdge(POINT clientPoint, SIZE client, int frameWidthPx) {
    if (clientPoint.x < 0 || clientPoint.y < 0 || clientPoint.x >= client.cx || clientPoint.y >= client.cy) {
        return WindowEdge::kNone;
    }
    const bool right = clientPoint.x >= client.cx - frameWidthPx;
    const bool bottom = clientPoint.y >= client.cy - frameWidthPx;
    if (right && bottom) return WindowEdge::kCorner;
    if (right) return WindowEdge::kRight;
    if (bottom) return WindowEdge::kBottom;
    return WindowEdge::kNone;
}

void WindowDrag_CL::KeepMinimumSize(WPARAM sizingEdge, RECT* rect) {
    const bool leftSide = sizingEdge == WMSZ_LEFT || sizingEdge == WMSZ_TOPLEFT || sizingEdge == WMSZ_BOTTOMLEFT;
    const bool topSide = sizingEdge == WMSZ_TOP || sizingEdge == WMSZ_TOPLEFT || sizingEdge == WMSZ_TOPRIGHT;
    if (rect->right - rect->left < kMinWidthPx) {
        if (leftSide) {
            rect->left = rect->right - kMinWidthPx;
        } else {
            rect->right = rect->left + kMinWidthPx;
        }
    }
    if (rect->bottom - rect->top < kMinHeightPx) {
        if (topSide) {
            rect->top = rect->bottom - kMinHeightPx;
        } else {
            rect->bottom = rect->top + kMinHeightPx;
        }
    }
}

void WindowDrag_CL::Begin(POINT cursor, const RECT& window, WindowEdge edge, bool control) {
    m_active = true;
    m_control = control;
    m_edge = edge;
    m_start = cursor;
    m_startWindow = window;
}

RECT WindowDrag_CL::Follow(POINT cursor) const {
    const LONG dx = cursor.x - m_start.x;
    const LONG dy = cursor.y - m_start.y;
    RECT rect = m_startWindow;
    if (m_edge == WindowEdge::kNone) {
        OffsetRect(&rect, dx, dy);
        return rect;
    }
    if (m_edge == WindowEdge::kRight || m_edge == WindowEdge::kCorner) {
        rect.right = std::max(m_startWindow.right + dx, m_startWindow.left + kMinWidthPx);
    }
    if (m_edge == WindowEdge::kBottom || m_edge == WindowEdge::kCorner) {
        rect.bottom = std::max(m_startWindow.bottom + dy, m_startWindow.top + kMinHeightPx);
    }
    return rect;
}

bool WindowDrag_CL::End(POINT cursor) {
    const bool click = m_active && cursor.x == m_start.x && cursor.y == m_start.y;
    m_active = false;
    m_control = false;
    m_edge = WindowEdge::kNone;
    return click;
}

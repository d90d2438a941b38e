#include "app/input/PictureMouse_CL.h"

#include <algorithm>

namespace {

RECT OrderedRect(const RECT& r) {
    return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

bool InsideClient(POINT point, SIZE client) {
    return point.x >= 0 && point.y >= 0 && point.x < client.cx && point.y < client.cy;
}

}  // namespace

MouseActions PictureMouse_CL::OnLeftButtonDown(const MouseFacts& facts) {
    MouseActions actions;
    // A press meant for a dialog or for a control-bar button is not a drag of the picture.
    if (facts.modalOpen || facts.overBarItem) return actions;
    if (m_edge == WindowEdge::kNone) {
        if (!InsideClient(facts.videoPoint, facts.videoClientPx)) return actions;
        const bool control = (facts.wParam & MK_CONTROL) != 0;
        if (control) m_zoom = RECT{facts.videoPoint.x, facts.videoPoint.y, facts.videoPoint.x, facts.videoPoint.y};
        m_drag.Begin(facts.screenPoint, facts.windowRect, WindowEdge::kNone, control);
    } else {
        m_drag.Begin(facts.screenPoint, facts.windowRect, m_edge, false);
    }
    // Focused first: the capture follows the active window.
    actions.focusWindow = true;
    actions.captureMouse = true;
    m_suppressNextClick = false;
    return actions;
}

MouseActions PictureMouse_CL::OnMouseMove(const MouseFacts& facts) {
    MouseActions actions;
    // Windows sends moves at rest too (after a window appears, when a timer fires): only a
    // new position is the user's doing.
    if (!m_moved || facts.screenPoint.x != m_lastMovePoint.x || facts.screenPoint.y != m_lastMovePoint.y) {
        m_moved = true;
        m_lastMovePoint = facts.screenPoint;
        actions.userActivity = true;
    }
    if (m_drag.Active() && m_drag.ControlHeld()) {
        if (m_zoom.left != -1) {
            MoveSelectionCorner(facts);
            actions.selectionChange = SelectionChange::kTrack;
            actions.selection = OrderedRect(m_zoom);
        }
    } else if (m_drag.Active()) {
        // Full screen has no window position to change.
        if (!facts.fullScreen) {
            actions.windowRect = m_drag.Follow(facts.screenPoint);
            actions.windowChange = m_drag.Edge() == WindowEdge::kNone ? WindowChange::kMove : WindowChange::kResize;
        }
    } else if (facts.borderless && !facts.fullScreen) {
        // The borderless window has no frame to size by: its right and bottom client edges
        // stand in for it, with the frame's width.
        m_edge = WindowDrag_CL::HitEdge(facts.mainPoint, facts.mainClientPx, facts.frameWidthPx);
        actions.cursorShape = m_edge == WindowEdge::kRight    ? IDC_SIZEWE
                              : m_edge == WindowEdge::kBottom ? IDC_SIZENS
                              : m_edge == WindowEdge::kCorner ? IDC_SIZENWSE
                                                              : nullptr;
    } else {
        m_edge = WindowEdge::kNone;
    }
    return actions;
}

MouseActions PictureMouse_CL::OnLeftButtonUp(const MouseFacts& facts) {
    MouseActions actions;
    if (!m_drag.Active()) return actions;
    const bool control = m_drag.ControlHeld();
    const bool click = m_drag.End(facts.screenPoint);
    actions.releaseCapture = true;
    if (click) {
        // After the wheel set the volume the release belongs to that gesture, not to a click.
        if (m_suppressNextClick) {
            m_suppressNextClick = false;
        } else {
            actions.startClickTimer = true;
        }
    }
    if (!control || m_zoom.left == -1) return actions;
    MoveSelectionCorner(facts);
    const RECT selection = OrderedRect(m_zoom);
    if (selection.right == selection.left || selection.bottom == selection.top) {
        // A Control-click without a drag: no selection, and a zoom in place is dropped.
        m_zoom = kNoSelection;
        actions.selectionChange = SelectionChange::kDrop;
        return actions;
    }
    actions.selectionChange = SelectionChange::kApply;
    actions.selection = selection;
    return actions;
}

MouseActions PictureMouse_CL::EndDrag() {
    MouseActions actions;
    if (!m_drag.Active()) return actions;
    // Cut short by a command: no click, and a selection being drawn stays as it stands.
    m_drag.End(POINT{-1, -1});
    actions.releaseCapture = true;
    return actions;
}

MouseActions PictureMouse_CL::OnMouseWheel(const MouseFacts& facts, int volumeStep) {
    MouseActions actions;
    if ((GET_KEYSTATE_WPARAM(facts.wParam) & MK_LBUTTON) == 0) return actions;
    const int delta = GET_WHEEL_DELTA_WPARAM(facts.wParam);
    if (delta != 0) actions.volumeStep = std::clamp(volumeStep + (delta > 0 ? 1 : -1), 0, kMaxVolumeStep);
    // The button's release ends the wheel gesture: it must not play or pause as well.
    actions.killClickTimer = true;
    m_suppressNextClick = true;
    return actions;
}

MouseActions PictureMouse_CL::OnDoubleClick() {
    MouseActions actions;
    actions.killClickTimer = true;
    return actions;
}

RECT PictureMouse_CL::ZoomSelection() const {
    return m_zoom.left == -1 ? kNoSelection : OrderedRect(m_zoom);
}

void PictureMouse_CL::MoveSelectionCorner(const MouseFacts& facts) {
    m_zoom.right = std::clamp(facts.videoPoint.x, LONG{0}, std::max(LONG{0}, facts.videoClientPx.cx));
    m_zoom.bottom = std::clamp(facts.videoPoint.y, LONG{0}, std::max(LONG{0}, facts.videoClientPx.cy));
}

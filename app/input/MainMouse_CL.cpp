#include "app/input/MainMouse_CL.h"

#include <utility>

#include "app/MainWindowIds.h"
#include "app/MoviePlayWindow_CL.h"
#include "app/WindowDisplay_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "media/CMyRenderer.h"

MainMouse_CL::MainMouse_CL(MoviePlayWindow_CL& videoWindow, WindowDisplay_CL& display, Callbacks callbacks)
    : m_videoWindow(videoWindow), m_display(display), m_callbacks(std::move(callbacks)) {}

void MainMouse_CL::Attach(HWND window, HWND video) {
    m_window = window;
    m_video = video;
}

POINT MainMouse_CL::CursorPosition() {
    POINT cursor{0, 0};
    ::GetCursorPos(&cursor);
    return cursor;
}

POINT MainMouse_CL::PointerInVideo() const {
    POINT point = CursorPosition();
    if (m_video) ::ScreenToClient(m_video, &point);
    return point;
}

MouseFacts MainMouse_CL::FactsOf(const MSG& message) const {
    MouseFacts facts;
    facts.screenPoint = message.pt;
    facts.wParam = message.wParam;
    facts.videoPoint = message.pt;
    if (m_video) ::ScreenToClient(m_video, &facts.videoPoint);
    RECT video{};
    if (m_video) ::GetClientRect(m_video, &video);
    facts.videoClientPx = SIZE{video.right, video.bottom};
    facts.mainPoint = message.pt;
    ::ScreenToClient(m_window, &facts.mainPoint);
    RECT client{};
    ::GetClientRect(m_window, &client);
    facts.mainClientPx = SIZE{client.right, client.bottom};
    ::GetWindowRect(m_window, &facts.windowRect);
    facts.frameWidthPx = ::GetSystemMetrics(SM_CXFRAME);
    facts.modalOpen = m_callbacks.modalOpen();
    facts.overBarItem = m_videoWindow.IsHovered();
    facts.fullScreen = m_display.FullScreen();
    facts.borderless = m_display.Borderless();
    return facts;
}

void MainMouse_CL::Apply(const MouseActions& actions) {
    if (actions.focusWindow) ::SetFocus(m_window);
    if (actions.captureMouse) ::SetCapture(m_window);
    if (actions.releaseCapture) ::ReleaseCapture();
    if (actions.windowChange != WindowChange::kNone) {
        const RECT& rect = actions.windowRect;
        if (ProcessLogSwitches().log_detail_resize) {
            LogPrintf(L"drag(trace) edge=%d to=(%d,%d,%d,%d)", static_cast<int>(m_mouse.Edge()),
                      static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
                      static_cast<int>(rect.bottom));
        }
        const UINT keep = actions.windowChange == WindowChange::kMove ? SWP_NOSIZE : SWP_NOMOVE;
        ::SetWindowPos(m_window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | keep);
    }
    if (actions.cursorShape) ::SetCursor(::LoadCursorW(nullptr, actions.cursorShape));
    CMyRenderer* renderer = m_callbacks.renderer();
    switch (actions.selectionChange) {
        case SelectionChange::kNone:
            break;
        case SelectionChange::kTrack:
            if (renderer) {
                renderer->Presenter()->SetSelection(false, actions.selection);
                renderer->Redraw();
            }
            break;
        case SelectionChange::kDrop:
            if (renderer) renderer->Presenter()->SetSelection(false, m_mouse.ZoomSelection());
            m_callbacks.redrawPlayer();
            break;
        case SelectionChange::kApply:
            if (renderer) renderer->Presenter()->SetSelection(true, actions.selection);
            m_callbacks.setStatusText(kZoomText);
            break;
    }
    if (actions.killClickTimer) ::KillTimer(m_window, ID_TIMER_CLICK);
    if (actions.startClickTimer) ::SetTimer(m_window, ID_TIMER_CLICK, PictureMouse_CL::kClickDelayMs, nullptr);
    if (actions.volumeStep >= 0) {
        ::SendMessageW(m_window, WM_COMMAND, MAKEWPARAM(CMD_VOLUME_STEP, 0), actions.volumeStep);
    }
}

void MainMouse_CL::OnLeftButtonDown(const MSG& message) {
    if (ProcessLogSwitches().log_detail_other) {
        LogPrintf(L"WM_LBUTTONDOWN(trace) pt=(%d,%d) edge=%d hovered=%d modal=%d", static_cast<int>(message.pt.x),
                  static_cast<int>(message.pt.y), static_cast<int>(m_mouse.Edge()), m_videoWindow.IsHovered() ? 1 : 0,
                  m_callbacks.modalOpen() ? 1 : 0);
    }
    if (!m_video) return;
    Apply(m_mouse.OnLeftButtonDown(FactsOf(message)));
}

void MainMouse_CL::OnMouseMove(const MSG& message) {
    if (!m_video) return;
    const MouseActions actions = m_mouse.OnMouseMove(FactsOf(message));
    Apply(actions);
    if (actions.userActivity) m_callbacks.noteUserActivity();
    // The control bar lights the item under the pointer; a held button over the slider
    // drags the volume unless the window itself is being dragged.
    if (message.hwnd == m_video) {
        const bool hovered = m_videoWindow.UpdateHover(message.wParam, m_mouse.Dragging());
        if ((hovered || hovered != m_lastHovered) && !m_callbacks.playing()) m_callbacks.redrawPlayer();
        m_lastHovered = hovered;
    }
}

void MainMouse_CL::OnLeftButtonUp(const MSG& message) { Apply(m_mouse.OnLeftButtonUp(FactsOf(message))); }

void MainMouse_CL::OnMouseWheel(const MSG& message) {
    // The wheel scrolls the strip: it takes the focus first.
    m_callbacks.focusStrip();
    const int volumeStep = m_callbacks.volumeStep();
    if (volumeStep < 0) return;
    Apply(m_mouse.OnMouseWheel(FactsOf(message), volumeStep));
}

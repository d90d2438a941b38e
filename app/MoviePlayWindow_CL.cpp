#include "app/MoviePlayWindow_CL.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/ControlBarSource_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "media/ControlBar_CL.h"
#include "store/AppSettings.h"

namespace {
// double_click (section ACTION): 1 makes a double click on the picture toggle full screen,
// anything else shows or hides the thumbnail strip.
constexpr int kDoubleClickFullScreen = 1;

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }
}  // namespace

MoviePlayWindow_CL::MoviePlayWindow_CL(ControlBarSource_CL* bar) : m_bar(bar) {}

MoviePlayWindow_CL::~MoviePlayWindow_CL() {
    HWND window = Window();
    if (m_ownsWindow && window && ::IsWindow(window)) ::DestroyWindow(window);
}

HRESULT MoviePlayWindow_CL::Create(HWND parent, HFONT font) {
    if (Window()) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    if (!parent || !::IsWindow(parent)) return E_INVALIDARG;
    HWND window = ::CreateWindowExW(0, L"Static", L"", kStyle, 0, 0, kInitialWidthPx, kInitialHeightPx, parent,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kControlId)),
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        const DWORD error = ::GetLastError();
        return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    ::SetWindowLongPtrW(window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_DISABLED)) | WS_THICKFRAME);
    LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_ACCEPTFILES);
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // Before the sub-classing: the static control keeps the font, our procedure does not.
    if (font) ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    HRESULT hr = SubClass(window);
    if (FAILED(hr)) {
        ::DestroyWindow(window);
        return hr;
    }
    m_ownsWindow = true;

    // The picture shows without tips; a missing tip window is only logged.
    hr = m_tips.Create(window);
    if (FAILED(hr)) {
        LogPrintf(L"MoviePlayWindow: no tool tips: 0x%08x", static_cast<unsigned>(hr));
    }
    // The window got its first WM_SIZE before it was ours.
    RebuildToolTips();
    return S_OK;
}

HWND MoviePlayWindow_CL::Parent() const { return Window() ? ::GetParent(Window()) : nullptr; }

bool MoviePlayWindow_CL::Snapshot(ControlBar_CL* bar) const {
    RECT client{};
    if (!m_bar || !Window() || !::GetClientRect(Window(), &client)) return false;
    return m_bar->ControlBarSnapshot(client, bar);
}

void MoviePlayWindow_CL::RebuildToolTips() {
    HWND tips = m_tips.Window();
    HWND window = Window();
    if (!tips || !window) return;
    for (UINT id : m_toolIds) {
        TTTOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;  // accepted by both versions of the common controls
        info.hwnd = window;
        info.uId = id;
        ::SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    m_toolIds.clear();
    ::SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, kTipWidthPx);

    ControlBar_CL bar;
    if (!Snapshot(&bar)) return;
    for (size_t index = 0; index < bar.Count(); ++index) {
        const ControlBarItem& item = bar.Item(index);
        if (item.hidden || item.tip.empty()) continue;
        const UINT id = kFirstToolId + static_cast<UINT>(index);
        if (m_tips.AddTool(window, id, bar.WindowRect(index), item.tip)) m_toolIds.push_back(id);
    }
}

bool MoviePlayWindow_CL::UpdateHover(WPARAM keyFlags, bool windowDragging) {
    POINT point{};
    if (!Window() || !::GetCursorPos(&point) || !::ScreenToClient(Window(), &point)) {
        m_hovered = false;
        return false;
    }
    return UpdateHoverAt(point, keyFlags, windowDragging);
}

bool MoviePlayWindow_CL::UpdateHoverAt(POINT clientPoint, WPARAM keyFlags, bool windowDragging) {
    m_hovered = false;
    if (!m_bar || !Window()) return false;
    const bool volumeDrag = (keyFlags & MK_LBUTTON) != 0 && !windowDragging;
    ControlBarVolumeHit hit;
    const int lit = m_bar->UpdateHover(clientPoint, volumeDrag, &hit);
    // Dragging along the slider sets the volume on every move, not only where it went down.
    if (volumeDrag && hit.setsVolume) SendVolume(hit.volumeStep);
    if (lit >= 0) {
        m_hovered = true;
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    }
    return m_hovered;
}

void MoviePlayWindow_CL::SendCommand(UINT command, LPARAM lParam) {
    HWND parent = Parent();
    if (parent) ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(command, 0), lParam);
}

void MoviePlayWindow_CL::SendVolume(int step) { SendCommand(CMD_VOLUME_STEP, step); }

void MoviePlayWindow_CL::OnLeftButtonDown(POINT point) {
    if (!m_bar) return;
    const ControlBarVolumeHit hit = m_bar->HitVolume(point);
    if (hit.setsVolume) SendVolume(hit.volumeStep);
    if (hit.index < 0) return;
    ControlBar_CL bar;
    if (!Snapshot(&bar) || static_cast<size_t>(hit.index) >= bar.Count()) return;
    const UINT command = bar.Item(static_cast<size_t>(hit.index)).command;
    // The slider has sent its step already; the logo only lights up.
    if (command == CMD_VOLUME_STEP || command == CMD_NO_ACTION) return;
    SendCommand(command, 0);
}

void MoviePlayWindow_CL::OnLeftButtonDoubleClick(WPARAM wParam, LPARAM lParam) {
    HWND parent = Parent();
    if (parent) ::SendMessageW(parent, WM_LBUTTONDBLCLK, wParam, lParam);
    // A double click on a bar item is two clicks on it, nothing more.
    if (m_hovered) return;
    const bool fullScreen = AppSettings::Process().double_click == kDoubleClickFullScreen;
    SendCommand(fullScreen ? CMD_FULL_SCREEN : CMD_THUMBNAIL_STRIP, 0);
}

void MoviePlayWindow_CL::OnRightButtonUp(POINT point) {
    if (ProcessLogSwitches().log_detail_other) LogPrintf(L"WM_RBUTTONUP(trace) pt=(%d,%d)", point.x, point.y);
    SendCommand(CMD_USER_ACTIVITY, 0);
    // The flag keeps the playback tick from going idle and hiding things under the open menu.
    if (m_callbacks.setModalDialogOpen) m_callbacks.setModalDialogOpen(true);
    if (m_callbacks.showPictureMenu) m_callbacks.showPictureMenu(Window(), point);
    if (m_callbacks.setModalDialogOpen) m_callbacks.setModalDialogOpen(false);
}

LRESULT MoviePlayWindow_CL::OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = Window();
    // The static control's own procedure must still see its destruction to free what it holds.
    if (message == WM_DESTROY) return 0;
    SetHandled();
    m_tips.RelayEvent(window, message, wParam, lParam);

    switch (message) {
    case WM_SIZE:
        RebuildToolTips();
        break;
    case WM_ERASEBKGND:
        return 0;  // the presenter paints the whole window; erasing would flash
    case WM_COMMAND:
        return Parent() ? ::SendMessageW(Parent(), WM_COMMAND, wParam, lParam) : 0;
    case WM_SETCURSOR:
        // Keep the hand the hover update showed; the class cursor would replace it on each move.
        if (m_hovered && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(PointOf(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        OnLeftButtonDoubleClick(wParam, lParam);
        break;
    case WM_RBUTTONUP:
        OnRightButtonUp(PointOf(lParam));
        break;
    default:
        break;
    }

    LRESULT result = 0;
    if (m_callbacks.menuMessage && m_callbacks.menuMessage(window, message, wParam, lParam, &result)) return result;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

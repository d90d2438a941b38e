#include "app/WindowDisplay_CL.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "base/LogFile_CL.h"
#include "store/AppSettings.h"

namespace {
constexpr LONG_PTR kFrameStyles = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
}  // namespace

void WindowDisplay_CL::ApplyFrameStyles(bool framed) {
    const LONG_PTR style = ::GetWindowLongPtrW(m_window, GWL_STYLE);
    ::SetWindowLongPtrW(m_window, GWL_STYLE, framed ? (style | kFrameStyles) : (style & ~kFrameStyles));
    ::SendMessageW(m_window, WM_SETICON, ICON_SMALL, framed ? reinterpret_cast<LPARAM>(m_icon) : 0);
    ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void WindowDisplay_CL::ToggleFullScreen() {
    if (!m_fullScreen) {
        LogPrintf(L"%ls", L"フルスクリーン");
        m_fullScreen = true;
        const LONG_PTR style = ::GetWindowLongPtrW(m_window, GWL_STYLE);
        ::SetWindowLongPtrW(m_window, GWL_STYLE, style & ~kFrameStyles);
        ::SendMessageW(m_window, WM_SETICON, ICON_SMALL, 0);
        ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(m_window, SW_HIDE);
        ::ShowWindow(m_window, SW_SHOWMAXIMIZED);
    } else {
        LogPrintf(L"%ls", L"ウインドウ");
        m_fullScreen = false;
        if (!m_borderless) ApplyFrameStyles(true);
        ::ShowWindow(m_window, SW_SHOWNORMAL);
    }
}

bool WindowDisplay_CL::SetBorderless(bool on) {
    if (m_borderless == on) return false;
    m_borderless = on;
    // Full screen has no frame either way; leaving it restores what this mode says.
    if (!m_fullScreen && !m_frameless) ApplyFrameStyles(!on);
    return true;
}

void WindowDisplay_CL::SetFrameless(bool frameless, bool changeStyles) {
    m_frameless = frameless;
    if (changeStyles) ApplyFrameStyles(!frameless);
}

void WindowDisplay_CL::SetTopmost(bool on) {
    if (PlaceTopmost(on)) m_topmost = on;
}

void WindowDisplay_CL::PreviewOpacity(int alpha) {
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_window, GWL_EXSTYLE);
    ::SetWindowLongPtrW(m_window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    if (!::SetLayeredWindowAttributes(m_window, 0, static_cast<BYTE>(std::clamp(alpha, 10, 255)), LWA_ALPHA)) {
        LogPrintf(L"SetLayeredWindowAttributes の失敗 (%u)", static_cast<unsigned>(::GetLastError()));
    }
    PlaceTopmost(true);
}

void WindowDisplay_CL::EndOpacityPreview() {
    ApplyTransparency();
    PlaceTopmost(m_topmost);
}

bool WindowDisplay_CL::PlaceTopmost(bool on) {
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    HWND after = on ? HWND_TOPMOST : HWND_NOTOPMOST;
    if (!::SetWindowPos(m_window, after, 0, 0, 0, 0, flags)) {
        LogPrintf(L"SetWindowPos(topmost=%d) の失敗 (%u)", on ? 1 : 0, static_cast<unsigned>(::GetLastError()));
        return false;
    }
    const bool marked = (::GetWindowLongPtrW(m_window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (on && !marked) {
        // Wine places a window that owns pop-ups (our tool tips) just after them and never
        // marks it topmost. With the tips unowned for a moment the window goes to the top itself.
        const std::vector<HWND> tips = OwnedToolTips();
        for (HWND tip : tips) ::SetWindowLongPtrW(tip, GWLP_HWNDPARENT, 0);
        const BOOL moved = ::SetWindowPos(m_window, after, 0, 0, 0, 0, flags);
        for (HWND tip : tips) ::SetWindowLongPtrW(tip, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(m_window));
        LogPrintf(L"最前面表示: 所有ツールチップ %u 個を外して再設定しました (%d)", static_cast<unsigned>(tips.size()),
                  moved ? 1 : 0);
    }
    return true;
}

std::vector<HWND> WindowDisplay_CL::OwnedToolTips() const {
    struct Search {
        HWND owner;
        std::vector<HWND> found;
    } search{m_window, {}};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            // Only the tool tips: the platform's own pop-ups (menus) are left alone.
            wchar_t className[32] = {};
            ::GetClassNameW(window, className, 32);
            if (::GetWindow(window, GW_OWNER) == s->owner && std::wcscmp(className, TOOLTIPS_CLASSW) == 0) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void WindowDisplay_CL::SetTransparent(bool on) {
    m_transparent = on && AppSettings::Process().layered_windows;
    if (on && !m_transparent) LogPrintf(L"%ls", L"透過表示はこの環境では使えません");
    ApplyTransparency();
}

void WindowDisplay_CL::ApplyTransparency() {
    const AppSettings& settings = AppSettings::Process();
    LONG_PTR exStyle = ::GetWindowLongPtrW(m_window, GWL_EXSTYLE);
    if (!m_transparent) {
        ::SetWindowLongPtrW(m_window, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED | WS_EX_TRANSPARENT));
        ::RedrawWindow(m_window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
        return;
    }
    exStyle |= WS_EX_LAYERED;
    if (settings.mouse_transparent == 1) {
        exStyle |= WS_EX_TRANSPARENT;
    } else {
        exStyle &= ~static_cast<LONG_PTR>(WS_EX_TRANSPARENT);
    }
    ::SetWindowLongPtrW(m_window, GWL_EXSTYLE, exStyle);
    const int alpha = std::clamp(settings.transparent, 10, 255);
    if (!::SetLayeredWindowAttributes(m_window, 0, static_cast<BYTE>(alpha), LWA_ALPHA)) {
        LogPrintf(L"SetLayeredWindowAttributes の失敗 (%u)", static_cast<unsigned>(::GetLastError()));
    }
}

#include "ui/WindowCentering.h"

#include <algorithm>

POINT CenteredTopLeft(const RECT& area, SIZE clientSize) {
    LONG areaWidth = area.right - area.left;
    LONG areaHeight = area.bottom - area.top;
    POINT topLeft{area.left + (areaWidth - clientSize.cx) / 2, area.top + (areaHeight - clientSize.cy) / 2};
    if (topLeft.y < 0) topLeft.y = 0;
    return topLeft;
}

void CenterDialogOnParent(HWND parent, HWND dialog) {
    if (!dialog) return;
    ::SetParent(dialog, nullptr);

    RECT area{0, 0, ::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN)};
    if (parent && ::IsWindow(parent) && !::IsIconic(parent)) ::GetWindowRect(parent, &area);

    RECT client{};
    ::GetClientRect(dialog, &client);
    POINT topLeft = CenteredTopLeft(area, SIZE{client.right - client.left, client.bottom - client.top});
    ::SetWindowPos(dialog, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceOverOwnerOnScreen(HWND owner, HWND window) {
    RECT area{0, 0, ::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN)};
    if (owner && !::IsIconic(owner)) ::GetWindowRect(owner, &area);
    RECT client{};
    ::GetClientRect(window, &client);
    POINT topLeft = CenteredTopLeft(area, SIZE{client.right, client.bottom});
    RECT frame{};
    ::GetWindowRect(window, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
        topLeft.x = std::max<LONG>(work.left, std::min<LONG>(topLeft.x, work.right - width));
        topLeft.y = std::max<LONG>(work.top, std::min<LONG>(topLeft.y, work.bottom - height));
    }
    // Above its owner as well: without a window manager nothing else keeps it there.
    ::SetWindowPos(window, HWND_TOP, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

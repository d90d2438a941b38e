#include "ui/WindowCentering.h"

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

#include "media/OverlayLayout.h"

RECT MessageArea(SIZE client) { return RECT{0, 0, client.cx, client.cy}; }

RECT TitleMeasureArea(SIZE client) { return RECT{0, 0, client.cx - 70, client.cy - 18}; }

RECT TitleTextArea(SIZE client) { return RECT{6, 6, client.cx - 64, client.cy - 12}; }

RECT TitleBoxRect(SIZE titleExtent, bool timeShown) {
    const LONG width = titleExtent.cx < kTitleBoxLeastWidth ? kTitleBoxLeastWidth : titleExtent.cx;
    return RECT{0, 0, width + 12, titleExtent.cy + (timeShown ? 32 : 12)};
}

RECT TimeArea(SIZE client, bool showTitle, LONG titleExtentHeight) {
    const LONG top = showTitle ? titleExtentHeight + 12 : 12;
    return RECT{4, top, client.cx, client.cy};
}

RECT StarArea(SIZE client, bool showTitle, LONG titleExtentHeight) {
    RECT area = TimeArea(client, showTitle, titleExtentHeight);
    area.left += kStarOffsetX;
    return area;
}

RECT ClockArea(SIZE client) { return RECT{48, 48, client.cx - 96, client.cy - 96}; }

UINT ClockFormat(int corner) {
    UINT format = DT_NOCLIP | DT_SINGLELINE;
    format |= (corner & 1) ? DT_RIGHT : DT_LEFT;
    format |= (corner & 2) ? DT_BOTTOM : DT_TOP;
    return format;
}

POINT TextOrigin(const RECT& area, SIZE extent, UINT format) {
    POINT origin{area.left, area.top};
    if (format & DT_CENTER) {
        origin.x = area.left + (area.right - area.left - extent.cx) / 2;
    } else if (format & DT_RIGHT) {
        origin.x = area.right - extent.cx;
    }
    // Vertical placement applies to single lines only; a wrapped text always starts at the top.
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) {
            origin.y = area.top + (area.bottom - area.top - extent.cy) / 2;
        } else if (format & DT_BOTTOM) {
            origin.y = area.bottom - extent.cy;
        }
    }
    return origin;
}

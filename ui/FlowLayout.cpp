#include "ui/FlowLayout.h"

#include <algorithm>

FlowResult FlowLeftToRight(const std::vector<SIZE>& sizes, int left, int top, int right, int gapX,
                           int gapY) {
    FlowResult result;
    result.topLefts.reserve(sizes.size());
    int x = left;
    int y = top;
    int rowHeight = 0;
    bool rowEmpty = true;
    for (const SIZE& size : sizes) {
        if (!rowEmpty && x + size.cx > right) {
            y += rowHeight + gapY;
            x = left;
            rowHeight = 0;
            rowEmpty = true;
        }
        result.topLefts.push_back(POINT{x, y});
        x += size.cx + gapX;
        rowHeight = std::max<int>(rowHeight, size.cy);
        rowEmpty = false;
    }
    result.bottom = rowEmpty ? y : y + rowHeight;
    return result;
}

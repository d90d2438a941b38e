#pragma once
// Places items of given sizes left to right in rows that wrap at a right edge, as the
// word buttons of the pick-and-close dialog are laid out. Pure: no windows.

#include <windows.h>

#include <vector>

struct FlowResult {
    std::vector<POINT> topLefts;  // one per item, in order
    int bottom = 0;               // below the last row (top when there are no items)
};

// Items start at left, top; an item that would reach past right starts a new row unless it
// is the first of its row (an item wider than the row gets a row of its own).
FlowResult FlowLeftToRight(const std::vector<SIZE>& sizes, int left, int top, int right, int gapX,
                           int gapY);

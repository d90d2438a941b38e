#pragma once
// The geometry and selection rules of a scrolling grid of equal cells (the thumbnail strip is
// one row or one column of them): columns and rows, cell rectangles, hit tests, the cells a
// view rectangle meets, scroll limits and the moves of the selection keys. Pure: no windows.
//
// Coordinates are content coordinates (the whole grid, before scrolling) in 64 bits: a strip
// holds up to 100,000 cells of up to 256 pixels, and products of indexes and sizes must never
// wrap. Indexes are ints; an index is a cell when 0 <= index < count.

#include <cstdint>

struct ContentRect {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;

    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
    bool operator==(const ContentRect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

struct ContentPoint {
    int64_t x = 0;
    int64_t y = 0;
    bool operator==(const ContentPoint& other) const { return x == other.x && y == other.y; }
};

// The grid positions (columns and rows) a rectangle meets; empty when first > last.
struct CellSpan {
    int firstColumn = 0;
    int lastColumn = -1;
    int64_t firstRow = 0;
    int64_t lastRow = -1;
    bool IsEmpty() const { return firstColumn > lastColumn || firstRow > lastRow; }
};

class CellGrid {
public:
    CellGrid() = default;
    // Sizes below 1 pixel count as 1, a negative count as 0, a negative extent as 0.
    CellGrid(int cellWidth, int cellHeight, int count, int64_t contentWidth, int64_t contentHeight);

    int CellWidth() const { return m_cellWidth; }
    int CellHeight() const { return m_cellHeight; }
    int Count() const { return m_count; }
    int64_t ContentWidth() const { return m_contentWidth; }
    int64_t ContentHeight() const { return m_contentHeight; }

    // Content width ÷ cell width, at least 1 (and never more than fits an int).
    int Columns() const;
    // Rows that hold cells: ⌈count ÷ columns⌉; 0 at count 0.
    int Rows() const;
    // A single row of several columns scrolls sideways (the horizontal strip); any other grid
    // scrolls up and down.
    bool ScrollsHorizontally() const;

    // index limited to 0 ... count - 1; 0 at count 0.
    int Clamp(int64_t index) const;
    bool IsCell(int64_t index) const { return index >= 0 && index < m_count; }

    // The rectangle of grid position index (column index mod columns, row index ÷ columns),
    // whether or not index is below the count.
    ContentRect CellRect(int64_t index) const;
    // The cell under a content point, or -1: left of or above the grid, right of its columns,
    // or at an index not below the count.
    int HitTest(int64_t x, int64_t y) const;
    // The grid positions a view rectangle meets (edges that only touch do not meet), limited to
    // the grid's columns and to rows from 0; rows past the last cell are included, so a
    // painter can fill the whole view.
    CellSpan CellsMeeting(const ContentRect& view) const;
    // Whether cell index and the view rectangle overlap or touch at an edge.
    bool CellTouchesView(int64_t index, const ContentRect& view) const;

    // The largest scroll position: the view never passes the content's end; 0 when the
    // content fits.
    int64_t MaxScrollX(int64_t viewWidth) const;
    int64_t MaxScrollY(int64_t viewHeight) const;
    ContentPoint ClampScroll(ContentPoint scroll, int64_t viewWidth, int64_t viewHeight) const;
    // The nearest scroll position that shows all of cell index (its top-left edge when the
    // cell is larger than the view).
    ContentPoint ScrollToShow(int64_t index, ContentPoint scroll, int64_t viewWidth,
                              int64_t viewHeight) const;
    // The scroll position that puts cell index at the top-left, clamped to the content's end.
    ContentPoint ScrollToTopLeft(int64_t index, int64_t viewWidth, int64_t viewHeight) const;
    // The grid position at the top-left of a view scrolled to scroll: its row × columns + its
    // column (row and column from the scroll position ÷ the cell size).
    int FirstVisibleIndex(ContentPoint scroll) const;

    // The cells one Page Up or Page Down moves by in a view of that size: the whole rows
    // visible × columns; a single-row grid pages by the whole columns visible. At least 1.
    int PageCells(int64_t viewWidth, int64_t viewHeight) const;

private:
    int m_cellWidth = 1;
    int m_cellHeight = 1;
    int m_count = 0;
    int64_t m_contentWidth = 0;
    int64_t m_contentHeight = 0;
};

// The content extent of a strip: one row of count cells (horizontal) or one column.
ContentPoint StripContentExtent(bool horizontal, int cellWidth, int cellHeight, int count);

// ---- The selection keys ----
enum class CellKey { kEnter, kLeft, kRight, kUp, kDown, kPageUp, kPageDown };

struct CellSelection {
    int anchor = 0;
    int caret = 0;
    bool operator==(const CellSelection& other) const {
        return anchor == other.anchor && caret == other.caret;
    }
};

struct CellKeyResult {
    CellSelection selection;  // the selection after the key
    int target = 0;           // the index the key moved to (Enter: the index it activates)
    bool activate = false;    // Enter: activate target
    bool scrollIntoView = false;  // the target differs from the base index: show its cell
};

// One key on a grid of count > 0 cells. The base index is the anchor, or the caret while
// Shift is held or while dragging. Enter activates the base; the arrows move it by a cell or
// by a row of columns cells, the page keys by pageCells; the result is clamped to the cells.
// The caret takes the result, and the anchor too unless Shift is held or dragging.
// At count 0 nothing changes.
CellKeyResult ApplyCellKey(const CellGrid& grid, CellSelection selection, CellKey key, bool shift,
                           bool dragging, int pageCells);

// Whether index lies between the anchor and the caret, both included, in either order.
bool IsInSelection(const CellSelection& selection, int index);

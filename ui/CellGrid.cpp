#include "ui/CellGrid.h"

#include <algorithm>
#include <climits>

namespace {
// Division rounding towards minus infinity, so points left of or above the grid fall in
// negative columns and rows rather than in column 0.
int64_t FloorDiv(int64_t value, int64_t divisor) {
    int64_t quotient = value / divisor;
    if ((value % divisor != 0) && (value < 0)) --quotient;
    return quotient;
}

int ToInt(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}
}  // namespace

CellGrid::CellGrid(int cellWidth, int cellHeight, int count, int64_t contentWidth, int64_t contentHeight)
    : m_cellWidth(std::max(cellWidth, 1)),
      m_cellHeight(std::max(cellHeight, 1)),
      m_count(std::max(count, 0)),
      m_contentWidth(std::max<int64_t>(contentWidth, 0)),
      m_contentHeight(std::max<int64_t>(contentHeight, 0)) {}

int CellGrid::Columns() const { return std::max(1, ToInt(m_contentWidth / m_cellWidth)); }

int CellGrid::Rows() const {
    int64_t columns = Columns();
    return ToInt((static_cast<int64_t>(m_count) + columns - 1) / columns);
}

bool CellGrid::ScrollsHorizontally() const { return Rows() <= 1 && Columns() > 1; }

int CellGrid::Clamp(int64_t index) const {
    if (m_count == 0) return 0;
    return static_cast<int>(std::clamp<int64_t>(index, 0, m_count - 1));
}

ContentRect CellGrid::CellRect(int64_t index) const {
    if (index < 0) index = 0;
    int64_t columns = Columns();
    int64_t left = (index % columns) * m_cellWidth;
    int64_t top = (index / columns) * m_cellHeight;
    return {left, top, left + m_cellWidth, top + m_cellHeight};
}

int CellGrid::HitTest(int64_t x, int64_t y) const {
    if (x < 0 || y < 0) return -1;
    int64_t column = x / m_cellWidth;
    if (column >= Columns()) return -1;
    int64_t index = (y / m_cellHeight) * Columns() + column;
    return index < m_count ? static_cast<int>(index) : -1;
}

CellSpan CellGrid::CellsMeeting(const ContentRect& view) const {
    CellSpan span;
    if (view.right <= view.left || view.bottom <= view.top) return span;
    int64_t firstColumn = std::max<int64_t>(0, FloorDiv(view.left, m_cellWidth));
    int64_t lastColumn = std::min<int64_t>(Columns() - 1, FloorDiv(view.right - 1, m_cellWidth));
    int64_t firstRow = std::max<int64_t>(0, FloorDiv(view.top, m_cellHeight));
    int64_t lastRow = FloorDiv(view.bottom - 1, m_cellHeight);
    if (lastColumn < firstColumn || lastRow < firstRow) return span;
    span.firstColumn = static_cast<int>(firstColumn);
    span.lastColumn = static_cast<int>(lastColumn);
    span.firstRow = firstRow;
    span.lastRow = lastRow;
    return span;
}

bool CellGrid::CellTouchesView(int64_t index, const ContentRect& view) const {
    if (index < 0) return false;
    ContentRect cell = CellRect(index);
    return cell.left <= view.right && cell.right >= view.left && cell.top <= view.bottom &&
           cell.bottom >= view.top;
}

int64_t CellGrid::MaxScrollX(int64_t viewWidth) const {
    return std::max<int64_t>(0, m_contentWidth - std::max<int64_t>(viewWidth, 0));
}

int64_t CellGrid::MaxScrollY(int64_t viewHeight) const {
    return std::max<int64_t>(0, m_contentHeight - std::max<int64_t>(viewHeight, 0));
}

ContentPoint CellGrid::ClampScroll(ContentPoint scroll, int64_t viewWidth, int64_t viewHeight) const {
    return {std::clamp<int64_t>(scroll.x, 0, MaxScrollX(viewWidth)),
            std::clamp<int64_t>(scroll.y, 0, MaxScrollY(viewHeight))};
}

namespace {
// The nearest start of a view of length view on one axis that holds [begin, end).
int64_t NearestToShow(int64_t position, int64_t begin, int64_t end, int64_t view) {
    if (end - begin >= view || begin < position) return begin;
    if (end > position + view) return end - view;
    return position;
}
}  // namespace

ContentPoint CellGrid::ScrollToShow(int64_t index, ContentPoint scroll, int64_t viewWidth,
                                    int64_t viewHeight) const {
    ContentRect cell = CellRect(index);
    ContentPoint wanted{NearestToShow(scroll.x, cell.left, cell.right, viewWidth),
                        NearestToShow(scroll.y, cell.top, cell.bottom, viewHeight)};
    return ClampScroll(wanted, viewWidth, viewHeight);
}

ContentPoint CellGrid::ScrollToTopLeft(int64_t index, int64_t viewWidth, int64_t viewHeight) const {
    ContentRect cell = CellRect(index);
    return ClampScroll({cell.left, cell.top}, viewWidth, viewHeight);
}

int CellGrid::FirstVisibleIndex(ContentPoint scroll) const {
    int64_t column = std::clamp<int64_t>(scroll.x / m_cellWidth, 0, Columns() - 1);
    int64_t row = std::max<int64_t>(0, scroll.y / m_cellHeight);
    return ToInt(row * Columns() + column);
}

int CellGrid::PageCells(int64_t viewWidth, int64_t viewHeight) const {
    // A single row scrolls sideways, so its page is what one view shows of the row; paging
    // by "rows visible × columns" there would jump straight to either end.
    if (ScrollsHorizontally()) return std::max(1, ToInt(viewWidth / m_cellWidth));
    int64_t rows = std::max<int64_t>(1, viewHeight / m_cellHeight);
    return std::max(1, ToInt(rows * Columns()));
}

ContentPoint StripContentExtent(bool horizontal, int cellWidth, int cellHeight, int count) {
    int64_t width = std::max(cellWidth, 1);
    int64_t height = std::max(cellHeight, 1);
    int64_t cells = std::max(count, 0);
    if (horizontal) return {width * cells, height};
    return {width, height * cells};
}

CellKeyResult ApplyCellKey(const CellGrid& grid, CellSelection selection, CellKey key, bool shift,
                           bool dragging, int pageCells) {
    CellKeyResult result;
    result.selection = selection;
    if (grid.Count() == 0) return result;

    int base = grid.Clamp((shift || dragging) ? selection.caret : selection.anchor);
    result.target = base;
    if (key == CellKey::kEnter) {
        result.activate = true;
        return result;
    }

    int64_t step = 0;
    switch (key) {
        case CellKey::kLeft: step = -1; break;
        case CellKey::kRight: step = 1; break;
        case CellKey::kUp: step = -static_cast<int64_t>(grid.Columns()); break;
        case CellKey::kDown: step = grid.Columns(); break;
        case CellKey::kPageUp: step = -static_cast<int64_t>(std::max(pageCells, 1)); break;
        case CellKey::kPageDown: step = std::max(pageCells, 1); break;
        case CellKey::kEnter: break;
    }
    int moved = grid.Clamp(static_cast<int64_t>(base) + step);
    result.target = moved;
    result.selection.caret = moved;
    if (!shift && !dragging) result.selection.anchor = moved;
    result.scrollIntoView = moved != base;
    return result;
}

bool IsInSelection(const CellSelection& selection, int index) {
    return index >= std::min(selection.anchor, selection.caret) &&
           index <= std::max(selection.anchor, selection.caret);
}

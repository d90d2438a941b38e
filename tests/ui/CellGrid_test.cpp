// The grid rules of the cell view: columns and rows, which cell a point or a view meets, how
// far scrolling may go, and where the selection keys move.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ui/CellGrid.h"

namespace {
// A horizontal strip of count cells (one row), a vertical strip (one column), a grid of columns.
CellGrid Row(int count, int cellWidth = 100, int cellHeight = 75) {
    ContentPoint extent = StripContentExtent(true, cellWidth, cellHeight, count);
    return CellGrid(cellWidth, cellHeight, count, extent.x, extent.y);
}
CellGrid Column(int count) {
    ContentPoint extent = StripContentExtent(false, 100, 75, count);
    return CellGrid(100, 75, count, extent.x, extent.y);
}
CellGrid Grid(int count, int columns) { return CellGrid(100, 75, count, 100 * columns, (count + columns - 1) / columns * 75); }
}  // namespace

TEST(CellGrid, ShapesAndSizesIn64Bits) {
    EXPECT_EQ(Row(40).Rows(), 1);
    EXPECT_EQ(Column(40).Columns(), 1);
    EXPECT_EQ(Grid(10, 3).Rows(), 4);
    EXPECT_EQ(Row(0).Columns(), 1);  // no content width still makes one column
    CellGrid tall(1 << 20, 1 << 20, 100000, int64_t{1} << 20, int64_t{100000} << 20);
    EXPECT_EQ(tall.CellRect(99999).bottom, int64_t{100000} << 20);
    EXPECT_EQ(tall.FirstVisibleIndex({0, (int64_t{50000} << 20) + 10}), 50000);
}

TEST(CellGrid, HitTestFindsTheCellUnderAPoint) {
    const struct {
        CellGrid grid;
        int64_t x, y;
        int expected;
    } cases[] = {
        {Row(5), 99, 74, 0},   {Row(5), 100, 0, 1},   // the left edge belongs to the cell
        {Row(5), 499, 10, 4},  {Row(5), 500, 10, -1}, // past the last cell
        {Row(5), -1, 10, -1},  {Row(5), 10, -1, -1},  // left of or above the grid
        {Row(5), 10, 75, -1},                          // below the row: position 5 is no cell
        {Grid(10, 3), 150, 80, 4}, {Grid(10, 3), 50, 250, 9},
        {Grid(10, 3), 250, 250, -1},                   // the last row's empty place
        {Grid(10, 3), 310, 10, -1},                    // right of the columns
        {CellGrid(100, 75, 10, 250, 375), 220, 10, -1},  // only whole columns count
    };
    for (const auto& c : cases) EXPECT_EQ(c.grid.HitTest(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(CellGrid, CellsMeetingAViewLeaveOutCellsThatOnlyTouch) {
    CellSpan exact = Row(50).CellsMeeting({200, 0, 500, 75});
    EXPECT_EQ(exact.firstColumn, 2);
    EXPECT_EQ(exact.lastColumn, 4);
    EXPECT_EQ(exact.lastRow, 0);
    CellSpan partial = Row(50).CellsMeeting({150, 0, 601, 80});
    EXPECT_EQ(partial.firstColumn, 1);
    EXPECT_EQ(partial.lastColumn, 6);
    EXPECT_EQ(partial.lastRow, 1);  // rows past the cells are included for the painter
    EXPECT_EQ(Column(4).CellsMeeting({0, 0, 400, 300}).lastColumn, 0);  // limited to the columns
    EXPECT_TRUE(Row(50).CellsMeeting({100, 0, 100, 75}).IsEmpty());
    EXPECT_TRUE(Row(50).CellsMeeting({5000, 0, 5100, 75}).IsEmpty());

    // A decoded cell redraws the strip when it meets the view; touching edges count.
    ContentRect view{200, 0, 500, 75};
    EXPECT_TRUE(Row(50).CellTouchesView(1, view));
    EXPECT_TRUE(Row(50).CellTouchesView(5, view));
    EXPECT_FALSE(Row(50).CellTouchesView(6, view));
    EXPECT_FALSE(Row(50).CellTouchesView(-1, view));
}

TEST(CellGrid, ScrollingStaysWithinTheContent) {
    CellGrid row = Row(50);  // 5000 × 75
    EXPECT_EQ(row.MaxScrollX(450), 4550);
    EXPECT_EQ(row.MaxScrollY(300), 0);
    EXPECT_EQ(row.ClampScroll({-10, 40}, 450, 75), (ContentPoint{0, 0}));
    EXPECT_EQ(row.ScrollToTopLeft(48, 450, 75), (ContentPoint{4550, 0}));
    EXPECT_EQ(Column(20).ScrollToTopLeft(18, 100, 300), (ContentPoint{0, 1500 - 300}));

    const struct {
        int index;
        int64_t fromX, expectedX;
    } shows[] = {{3, 200, 200}, {1, 200, 100}, {9, 200, 550}, {6, 200, 250}, {49, 0, 4550}};
    for (const auto& c : shows) EXPECT_EQ(row.ScrollToShow(c.index, {c.fromX, 0}, 450, 75).x, c.expectedX) << c.index;
    EXPECT_EQ(Row(10, 500, 300).ScrollToShow(3, {0, 0}, 450, 200), (ContentPoint{1500, 0}));  // larger than the view

    EXPECT_EQ(Grid(30, 3).FirstVisibleIndex({150, 160}), 7);
    EXPECT_EQ(Column(50).PageCells(100, 20), 1);  // less than a row in view still pages
}

struct KeyCase {
    const char* name;
    CellGrid grid;
    CellSelection before;
    CellKey key;
    bool shift, dragging;
    int page;
    CellSelection after;
    int target;
    bool activate, scroll;
};

class CellKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(CellKeys, MoveFromTheBaseIndexAndClamp) {
    const KeyCase& c = GetParam();
    CellKeyResult result = ApplyCellKey(c.grid, c.before, c.key, c.shift, c.dragging, c.page);
    EXPECT_EQ(result.selection, c.after);
    EXPECT_EQ(result.target, c.target);
    EXPECT_EQ(result.activate, c.activate);
    EXPECT_EQ(result.scrollIntoView, c.scroll);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CellKeys,
    ::testing::Values(
        KeyCase{"RightFromAnchor", Row(10), {3, 7}, CellKey::kRight, false, false, 4, {4, 4}, 4, false, true},
        KeyCase{"LeftFromAnchor", Row(10), {3, 7}, CellKey::kLeft, false, false, 4, {2, 2}, 2, false, true},
        KeyCase{"ShiftMovesCaretOnly", Row(10), {3, 7}, CellKey::kRight, true, false, 4, {3, 8}, 8, false, true},
        KeyCase{"DragMovesCaretOnly", Row(10), {3, 7}, CellKey::kLeft, false, true, 4, {3, 6}, 6, false, true},
        KeyCase{"LeftAtStartClamps", Row(10), {0, 5}, CellKey::kLeft, false, false, 4, {0, 0}, 0, false, false},
        KeyCase{"RightAtEndClamps", Row(10), {9, 9}, CellKey::kRight, false, false, 4, {9, 9}, 9, false, false},
        KeyCase{"DownIsARowOfColumns", Grid(10, 3), {1, 1}, CellKey::kDown, false, false, 6, {4, 4}, 4, false, true},
        KeyCase{"UpIsARowOfColumns", Grid(10, 3), {7, 7}, CellKey::kUp, false, false, 6, {4, 4}, 4, false, true},
        KeyCase{"DownPastLastClamps", Grid(10, 3), {8, 8}, CellKey::kDown, false, false, 6, {9, 9}, 9, false, true},
        KeyCase{"PageDown", Column(10), {2, 2}, CellKey::kPageDown, false, false, 3, {5, 5}, 5, false, true},
        KeyCase{"PageUpClamps", Column(10), {2, 2}, CellKey::kPageUp, false, false, 3, {0, 0}, 0, false, true},
        KeyCase{"ShiftPageDown", Column(10), {2, 4}, CellKey::kPageDown, true, false, 3, {2, 7}, 7, false, true},
        KeyCase{"EnterActivatesAnchor", Row(10), {3, 7}, CellKey::kEnter, false, false, 4, {3, 7}, 3, true, false},
        KeyCase{"ShiftEnterActivatesCaret", Row(10), {3, 7}, CellKey::kEnter, true, false, 4, {3, 7}, 7, true, false},
        KeyCase{"StaleIndexIsClampedFirst", Row(10), {25, 25}, CellKey::kLeft, false, false, 4, {8, 8}, 8, false, true},
        KeyCase{"NothingAtCountZero", Row(0), {0, 0}, CellKey::kRight, false, false, 4, {0, 0}, 0, false, false},
        KeyCase{"NoActivationAtCountZero", Row(0), {0, 0}, CellKey::kEnter, false, false, 4, {0, 0}, 0, false, false}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

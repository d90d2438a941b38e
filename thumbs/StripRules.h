#pragma once
// The thumbnail strip's rules as pure functions: the number of cells, where a time falls,
// which labels a cell carries and its time text (the cell size by setting and picture shape is
// the main window layout's StripCellSize). Everything 64-bit where times are multiplied;
// nothing here touches a window. The grid's own geometry (columns, first cell on view, scroll
// limits) is CellGrid's.
// Thread: any.

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ContentInfo;

constexpr int64_t kStripRefTimePerSecond = 10'000'000;
constexpr int64_t kStripDefaultInterval = 150'000'000;  // 15 s until the settings say otherwise
constexpr int kStripMaxCells = 100'000;
constexpr int kStripSkipRanges = 12;
constexpr int kStripFavorites = 10;

// What the strip labels its cells with: the loaded movie's skip ranges (0 opening, 1 ending,
// 2 ... 11 commercials) and favourite frames, -1 where unset. Filled by the strip's owner.
struct StripMarks {
    struct Range {
        int64_t begin = -1;
        int64_t end = -1;
    };
    std::array<Range, kStripSkipRanges> skips{};
    std::array<int64_t, kStripFavorites> favorites{};
    StripMarks() { favorites.fill(-1); }
};
// The marks of a content record.
StripMarks MarksFromContent(const ContentInfo& content);

// LIST direction: 0 above and 2 below run horizontally (one row), 1 right and 3 left vertically.
bool StripIsHorizontal(int direction);


// The interval the strip works with: below one second counts as one second.
int64_t EffectiveInterval(int64_t interval);
// ceil(length / interval) cells, at most kStripMaxCells; 0 for an unknown or empty length.
int ThumbCellCount(int64_t length, int64_t interval);
// The cell of a time, clamped to 0 ... count - 1; -1 when there are no cells.
int CellIndexForTime(int64_t time, int64_t interval, int count);
// index x interval, in 64 bits.
int64_t CellTime(int index, int64_t interval);

// The skip ranges (their numbers, in stored order) that label a cell. A range counts from the
// start of the cell its begin falls in to the end of the cell holding its last moment, so a
// range ending exactly on a cell boundary does not label the next cell.
std::vector<int> SkipLabelsForCell(const StripMarks& marks, int index, int64_t interval);
// The first favourite (0 ... 9) whose frame falls into the cell, or -1.
int FavoriteLabelForCell(const StripMarks& marks, int index, int64_t interval);
// "%02d:%02d:%02d" of the cell's time in whole seconds.
std::wstring CellTimeText(int index, int64_t interval);

// The strip's rules: the cell count, where a time falls, the labels of a cell and
// its time text.

#include <gtest/gtest.h>

#include "thumbs/StripRules.h"

namespace {
constexpr int64_t kSecond = kStripRefTimePerSecond;

TEST(StripOrientation, LowBitOfDirectionMakesItVertical) {
    EXPECT_TRUE(StripIsHorizontal(0));   // above
    EXPECT_FALSE(StripIsHorizontal(1));  // right
    EXPECT_TRUE(StripIsHorizontal(2));   // below
    EXPECT_FALSE(StripIsHorizontal(3));  // left
}

TEST(CellCount, OneMoreCellForAPartialIntervalAndNoneWithoutALength) {
    EXPECT_EQ(ThumbCellCount(100 * kSecond, 10 * kSecond), 10);
    EXPECT_EQ(ThumbCellCount(100 * kSecond + 1, 10 * kSecond), 11);
    EXPECT_EQ(ThumbCellCount(1, 10 * kSecond), 1);
    EXPECT_EQ(ThumbCellCount(0, 10 * kSecond), 0);
    EXPECT_EQ(ThumbCellCount(-1, 10 * kSecond), 0);
}

TEST(CellCount, IntervalsBelowOneSecondCountAsOneSecond) {
    EXPECT_EQ(ThumbCellCount(10 * kSecond, 0), 10);
    EXPECT_EQ(ThumbCellCount(10 * kSecond, -5), 10);
    EXPECT_EQ(ThumbCellCount(10 * kSecond, kSecond / 2), 10);
    EXPECT_EQ(EffectiveInterval(0), kSecond);
    EXPECT_EQ(EffectiveInterval(30 * kSecond), 30 * kSecond);
}

TEST(CellCount, CappedForABogusDuration) {
    EXPECT_EQ(ThumbCellCount(3 * 3600 * kSecond, kSecond), 10800);
    EXPECT_EQ(ThumbCellCount(200'000 * kSecond, kSecond), kStripMaxCells);
    // Near the top of the range the count neither overflows nor goes negative.
    EXPECT_EQ(ThumbCellCount(INT64_MAX, kSecond), kStripMaxCells);
    EXPECT_EQ(ThumbCellCount(INT64_MAX - 1, 60 * kSecond), kStripMaxCells);
}

TEST(CellIndex, TimeFallsIntoItsCellClampedToTheCells) {
    EXPECT_EQ(CellIndexForTime(0, 10 * kSecond, 5), 0);
    EXPECT_EQ(CellIndexForTime(29 * kSecond, 10 * kSecond, 5), 2);
    EXPECT_EQ(CellIndexForTime(30 * kSecond, 10 * kSecond, 5), 3);
    EXPECT_EQ(CellIndexForTime(999 * kSecond, 10 * kSecond, 5), 4);
    EXPECT_EQ(CellIndexForTime(-kSecond, 10 * kSecond, 5), 0);
    EXPECT_EQ(CellIndexForTime(5 * kSecond, 0, 10), 5);  // interval 0 counts as 1 s
    EXPECT_EQ(CellIndexForTime(5 * kSecond, 10 * kSecond, 0), -1);
}

TEST(CellIndex, IntervalChangeKeepsTheTimeOfTheFirstCell) {
    // Cell 7 at 10 s starts at 70 s; at 30 s that time is in cell 2, at 5 s in cell 14.
    const int64_t time = CellTime(7, 10 * kSecond);
    EXPECT_EQ(CellIndexForTime(time, 30 * kSecond, 100), 2);
    EXPECT_EQ(CellIndexForTime(time, 5 * kSecond, 100), 14);
}

StripMarks MarksWithRange(int range, int64_t begin, int64_t end) {
    StripMarks marks;
    marks.skips[range].begin = begin;
    marks.skips[range].end = end;
    return marks;
}

TEST(SkipLabels, RangeLabelsTheWholeCellsItTouchesButNotTheCellAfterItsEnd) {
    StripMarks marks = MarksWithRange(2, 30 * kSecond, 60 * kSecond);  // ends on a boundary
    for (int index : {3, 4, 5}) EXPECT_EQ(SkipLabelsForCell(marks, index, 10 * kSecond), std::vector<int>{2}) << index;
    EXPECT_TRUE(SkipLabelsForCell(marks, 2, 10 * kSecond).empty());
    EXPECT_TRUE(SkipLabelsForCell(marks, 6, 10 * kSecond).empty());
    marks = MarksWithRange(0, 35 * kSecond, 41 * kSecond);  // starts and ends inside cells
    EXPECT_TRUE(SkipLabelsForCell(marks, 2, 10 * kSecond).empty());
    EXPECT_EQ(SkipLabelsForCell(marks, 3, 10 * kSecond), std::vector<int>{0});
    EXPECT_EQ(SkipLabelsForCell(marks, 4, 10 * kSecond), std::vector<int>{0});
    EXPECT_TRUE(SkipLabelsForCell(marks, 5, 10 * kSecond).empty());
}

TEST(SkipLabels, SeveralRangesOnOneCellInStoredOrder) {
    StripMarks marks = MarksWithRange(1, 0, 20 * kSecond);
    marks.skips[0] = {5 * kSecond, 6 * kSecond};
    marks.skips[11] = {kSecond, 2 * kSecond};
    EXPECT_EQ(SkipLabelsForCell(marks, 0, 10 * kSecond), (std::vector<int>{0, 1, 11}));
    EXPECT_EQ(SkipLabelsForCell(marks, 1, 10 * kSecond), std::vector<int>{1});
}

TEST(SkipLabels, UnsetOrEndlessRangesLabelNothing) {
    EXPECT_TRUE(SkipLabelsForCell(StripMarks(), 0, 10 * kSecond).empty());
    EXPECT_TRUE(SkipLabelsForCell(MarksWithRange(3, 10 * kSecond, -1), 1, 10 * kSecond).empty());
    EXPECT_TRUE(SkipLabelsForCell(MarksWithRange(3, 10 * kSecond, 10 * kSecond), 1, 10 * kSecond).empty());
    EXPECT_TRUE(SkipLabelsForCell(MarksWithRange(3, -1, 30 * kSecond), 0, 10 * kSecond).empty());
}

TEST(FavoriteLabels, FirstFavouriteInsideTheCellOnly) {
    StripMarks marks;
    marks.favorites[4] = 25 * kSecond;
    marks.favorites[1] = 29 * kSecond;
    marks.favorites[7] = 30 * kSecond;
    EXPECT_EQ(FavoriteLabelForCell(marks, 2, 10 * kSecond), 1);  // both 2 and 5 fall in, the first wins
    EXPECT_EQ(FavoriteLabelForCell(marks, 3, 10 * kSecond), 7);  // a frame on the boundary starts the next cell
    EXPECT_EQ(FavoriteLabelForCell(marks, 1, 10 * kSecond), -1);
    EXPECT_EQ(FavoriteLabelForCell(StripMarks(), 0, 10 * kSecond), -1);
}

TEST(TimeText, HoursMinutesSecondsOfTheCell) {
    EXPECT_EQ(CellTimeText(0, 15 * kSecond), L"00:00:00");
    EXPECT_EQ(CellTimeText(5, 15 * kSecond), L"00:01:15");
    EXPECT_EQ(CellTimeText(245, 15 * kSecond), L"01:01:15");
    EXPECT_EQ(CellTimeText(99'999, 60 * kSecond), L"1666:39:00");
    EXPECT_EQ(CellTimeText(3, 0), L"00:00:03");  // interval 0 counts as 1 s
}
}  // namespace

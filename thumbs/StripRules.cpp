#include "thumbs/StripRules.h"

#include <algorithm>

#include "base/TextFormat.h"
#include "store/ContentInfo.h"

namespace {
int ClampIndex(int64_t index, int count) {
    if (count <= 0) return -1;
    return static_cast<int>(std::clamp<int64_t>(index, 0, count - 1));
}
}  // namespace

StripMarks MarksFromContent(const ContentInfo& content) {
    StripMarks marks;
    for (int i = 0; i < kStripSkipRanges && i < static_cast<int>(content.skip.size()); ++i) {
        marks.skips[i].begin = content.skip[i].beg;
        marks.skips[i].end = content.skip[i].end;
    }
    for (int i = 0; i < kStripFavorites && i < static_cast<int>(content.favorites.size()); ++i) {
        marks.favorites[i] = content.favorites[i].frame;
    }
    return marks;
}

bool StripIsHorizontal(int direction) { return (direction & 1) == 0; }

int64_t EffectiveInterval(int64_t interval) { return std::max(interval, kStripRefTimePerSecond); }

int ThumbCellCount(int64_t length, int64_t interval) {
    if (length <= 0) return 0;
    const int64_t step = EffectiveInterval(interval);
    // ceil without length + step - 1, which could overflow for a bogus length.
    const int64_t cells = length / step + (length % step != 0 ? 1 : 0);
    return static_cast<int>(std::min<int64_t>(cells, kStripMaxCells));
}

int CellIndexForTime(int64_t time, int64_t interval, int count) {
    return ClampIndex(std::max<int64_t>(time, 0) / EffectiveInterval(interval), count);
}

int64_t CellTime(int index, int64_t interval) { return static_cast<int64_t>(index) * interval; }

std::vector<int> SkipLabelsForCell(const StripMarks& marks, int index, int64_t interval) {
    std::vector<int> labels;
    const int64_t step = EffectiveInterval(interval);
    const int64_t cellStart = CellTime(index, step);
    for (int i = 0; i < kStripSkipRanges; ++i) {
        const StripMarks::Range& range = marks.skips[i];
        // A range without an end (or ending before it begins) is skipped by nothing: no label.
        if (range.begin < 0 || range.end <= range.begin) continue;
        const int64_t first = range.begin - range.begin % step;
        const int64_t lastMoment = range.end - 1;
        const int64_t end = lastMoment - lastMoment % step + step;
        if (first <= cellStart && cellStart < end) labels.push_back(i);
    }
    return labels;
}

int FavoriteLabelForCell(const StripMarks& marks, int index, int64_t interval) {
    const int64_t step = EffectiveInterval(interval);
    const int64_t cellStart = CellTime(index, step);
    for (int i = 0; i < kStripFavorites; ++i) {
        const int64_t frame = marks.favorites[i];
        if (frame >= 0 && cellStart <= frame && frame < cellStart + step) return i;
    }
    return -1;
}

std::wstring CellTimeText(int index, int64_t interval) {
    const int64_t seconds = static_cast<int64_t>(std::max(index, 0)) * (EffectiveInterval(interval) / kStripRefTimePerSecond);
    return FormatString(L"%02d:%02d:%02d", static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                        static_cast<int>(seconds % 60));
}

#pragma once
// A colour control's range (raw 16.16 values, as the video processor gives it) in slider
// positions: one position per step of the control, counted from its default. The slider then
// moves by the control's own step, stands at 0 for the default, and its numbers stay small: a
// raw range spans millions, more than the slider control places its thumb with. Pure.

#include <cstdint>

#include "media/ColourAdjust_CL.h"

class ColourSliderScale {
public:
    // At most this many positions, whatever step a processor reports.
    static constexpr int64_t kMostPositions = 4000;

    explicit ColourSliderScale(const ProcAmpRange& range);

    int MinimumPosition() const { return m_minimumPosition; }
    int MaximumPosition() const { return m_maximumPosition; }
    // A stored value's position; a value not set (0x7FFFFFFF) stands at the default (0).
    int PositionOf(int32_t stored) const;
    // The value stored for a position; the end positions store the range's ends exactly.
    int32_t StoredOf(int position) const;

private:
    ProcAmpRange m_range;
    int64_t m_step;
    int m_minimumPosition;
    int m_maximumPosition;
};

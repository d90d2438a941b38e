#pragma once
// The texts of the video overlay, formatted apart from the drawing so they can be tested.

#include <windows.h>

#include <cstdint>
#include <string>

// "(hh:mm:ss / hh:mm:ss)" for a position and a duration in reference time; a negative
// duration shows as zero.
std::wstring FormatPlayTime(int64_t position, int64_t duration);
// The large clock: "%2d:%02d" of the local time, the colon replaced by a space during the
// first half of every second so that it blinks.
std::wstring ClockText(const SYSTEMTIME& now);

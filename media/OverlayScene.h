#pragma once
// Everything one frame of the overlay shows, as a plain value the presenter fills under its
// frame lock and hands to OverlayPainter_CL::Draw: the status message, the title box with the
// title, play time and stars, the clock, the selection frame and the laid-out control bar.
// Thread: a plain value; the control bar it points to must stay unchanged during Draw.

#include <windows.h>

#include <cstdint>
#include <string>

class ControlBar_CL;

struct OverlayScene {
    std::wstring message;  // the status line in the middle of the picture; empty: none
    std::wstring title;    // the title box shows only with a title
    bool showTitle = false;
    bool showTime = false;  // the play time (and stars) in the title box
    int64_t position = -1;  // play position in reference time; negative: unknown, no time line
    int64_t duration = -1;  // the movie's length in reference time
    int starCount = 0;      // 0..5 stars after the time
    bool showClock = false;
    int clockCorner = 0;                        // bit 0: right-aligned, bit 1: bottom-aligned
    SYSTEMTIME now{};                           // the clock's time (the presenter reads the local time per frame)
    bool selectionZoom = false;                 // true: the selection cuts the picture and is not framed
    RECT selection{-1, -1, -1, -1};             // a left of -1 is no selection; corners in any order
    const ControlBar_CL* controlBar = nullptr;  // laid out for this client area; null: no bar
};

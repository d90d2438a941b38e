#pragma once
// What the overlay over the picture shows, as one value: the title and rating, which of the
// title, play time and clock are on, the picture's ratio mode, and the control bar's state
// (pause, mute, volume knob, full screen and strip pictures, the skip tips). The main window
// makes a new one on every change of the player and hands it to the presenter whole, so a
// frame never shows half of a change; the presenter reads its copy for each frame.
// The status text and the zoom selection change on their own and have their own setters.
// Thread: a plain value.

#include <string>

#include "media/ControlBar_CL.h"

struct OverlayModel {
    std::wstring title;
    int starCount = 0;
    bool showTitle = false;
    bool showTime = false;
    bool showClock = false;
    int clockCorner = 0;  // bit 0: right-aligned, bit 1: bottom-aligned
    int zoomMode = 0;     // output_rate_hv
    ControlBarState bar;  // contentLoaded and playbackStarted also decide whether a picture is drawn
    int skipBackSeconds = 10;
    int skipForwardSeconds = 10;
};

#pragma once
// Where a video frame lands in the video window: the source rectangle cut from the frame and
// the destination rectangle in the window's client area, for each zoom mode and for the
// selection zoom. Pure arithmetic, free of Direct3D, so every rule can be tested directly.

#include <windows.h>

enum ZoomMode : int {
    kZoomFit = 0,         // the whole picture, keeping its shape
    kZoomFitHeight = 1,   // full height, sides cut when wider than the window
    kZoomNative = 3,      // one frame pixel per window pixel, centred
    // any other value stretches the picture over the whole window
};

struct BlitInput {
    int frameWidth = 0, frameHeight = 0;  // the frame in pixels
    int aspectY = 0;                      // 9 marks 16:9 material whose pixels are not square
    int zoomMode = kZoomFit;
    SIZE client{0, 0};                    // the window's client size
    bool selectionZoom = false;           // cut the source to the selection
    RECT selection{-1, -1, -1, -1};       // in window coordinates; left -1 = none
};

struct BlitRects {
    RECT source{0, 0, 0, 0};       // in frame pixels
    RECT destination{0, 0, 0, 0};  // in client pixels
};

// The rectangles for one blit; both are normalised (left <= right, top <= bottom). A selection
// of zero width or height is ignored: mapping the window through it would divide by zero.
BlitRects ComputeBlitRects(const BlitInput& input);

// True when a blit with these rectangles would draw anything.
bool IsDrawable(const BlitRects& rects);

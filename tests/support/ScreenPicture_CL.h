#pragma once
// Reads back what a window shows on the screen, as the user sees it: the pixels of its client
// area taken from the screen, so the drawing of another process (the player's video window)
// is included. A window covered by another shows the other's pixels.
//
// Thread: any thread of the test process.

#include <windows.h>

#include "base/UniqueHandle_CL.h"
#include "tests/support/FrameNumberReader_CL.h"

class ScreenPicture_CL {
public:
    // The client area of the window; empty when the window is gone or has no client area.
    static BgrxPicture CaptureClient(HWND window);
    // A 32-bit top-down DIB section of the given size for copies from dc; *bits points at its
    // pixels (blue, green, red, unused). Invalid on failure.
    static GdiObject_CL TopDownBitmap(HDC dc, int width, int height, const uint8_t** bits);
};

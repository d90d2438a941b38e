#pragma once
// A real window with a video child, a Direct3D presenter drawing into it, frames of known
// colours, and read-back of what reached the screen.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "media/DXHelper_CL.h"

struct YCbCr {
    uint8_t y, cb, cr;
};

struct Rgb {
    int r, g, b;
};

// BT.601 video range to RGB, rounded and clamped.
Rgb ToRgb(YCbCr colour);

// A YUY2 frame split into four quadrants: top left, top right, bottom left, bottom right.
std::vector<uint8_t> QuadrantFrame(int width, int height, const YCbCr colours[4]);

// Pixels read back from a window or a surface, 32-bit B, G, R, x, rows top-down.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    Rgb At(int x, int y) const;
};

class PresenterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the windows (the video child fills the top-level window's client area) and a
    // presenter on the video window with the given frame format.
    void Open(int clientWidth, int clientHeight, DXHelper_CL::PresentPath path = DXHelper_CL::PresentPath::kCopy);
    // Only the windows, for a presenter made elsewhere (by a renderer in a graph).
    void OpenWindows(int clientWidth, int clientHeight, DXHelper_CL::PresentPath path);
    void SetFormat(int width, int height, int aspectX, int aspectY);
    void ResizeClient(int width, int height);
    // What the video window shows now (a GDI read of its client area).
    Picture CaptureWindow();
    // What the screen shows over the video window.
    Picture CaptureScreen();
    // Draws the frame until check accepts what the window shows (the X server maps windows
    // in its own time) or five seconds pass; returns the last picture.
    Picture DrawUntil(const uint8_t* frame, const std::function<bool(const Picture&)>& check, bool fromScreen = false);
    void Pump();

    HWND m_top = nullptr;
    HWND m_video = nullptr;
    std::unique_ptr<DXHelper_CL> m_presenter;
    int m_frameWidth = 0, m_frameHeight = 0;
};

// True when every channel is within tolerance.
bool Near(Rgb actual, Rgb expected, int tolerance);
::testing::AssertionResult ColourNear(Rgb actual, Rgb expected, int tolerance);

#pragma once
// What the video renderer draws through. The renderer owns one presenter and calls it only
// under its frame lock, from its streaming thread (new frames) and from the UI thread
// (resize, repaint), so a presenter needs no lock of its own.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class VideoPresenter_CL {
public:
    virtual ~VideoPresenter_CL() = default;

    // Prepares drawing into the window; false when that is impossible.
    virtual bool InitializeD3D9(HWND window) = 0;
    // The window's size changed; false when drawing cannot go on at the new size.
    virtual bool ResetDevice() = 0;
    // Draws a YUY2 frame of the current format, or the last picture again when frame is null.
    virtual void Draw(const uint8_t* frame) = 0;
    // Frees what drawing holds (devices, surfaces); InitializeD3D9 may follow.
    virtual void ReleaseDevice() = 0;

    virtual void SetFrameFormat(int width, int height, int aspectX, int aspectY) = 0;
    virtual void SetSourceSize(int width, int height) = 0;
    virtual void SetFrameBufferCapacity(uint32_t bytes) = 0;
    // The overlay's play position and the movie's duration, in reference time.
    virtual void SetPosition(int64_t position, int64_t duration) = 0;
    virtual void SetStillImagePath(const std::wstring& path) = 0;
};

// Makes the presenter a new renderer draws through. Thread: UI, before graphs are built.
using PresenterFactory = std::unique_ptr<VideoPresenter_CL> (*)();
void SetPresenterFactory(PresenterFactory factory);
std::unique_ptr<VideoPresenter_CL> CreatePresenter();

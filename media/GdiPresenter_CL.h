#pragma once
// A presenter that draws frames into the video window with GDI: converted to RGB32 and
// stretched to the largest rectangle of the frame's aspect that fits, black around it.
// Used where no Direct3D presenter is available. Thread: see VideoPresenter_CL.

#include <vector>

#include "media/VideoPresenter_CL.h"

class GdiPresenter_CL : public VideoPresenter_CL {
public:
    bool InitializeD3D9(HWND window) override;
    bool ResetDevice() override { return m_window != nullptr; }
    void Draw(const uint8_t* frame) override;
    void ReleaseDevice() override {}

    void SetFrameFormat(int width, int height, int aspectX, int aspectY) override;
    void SetSourceSize(int, int) override {}
    void SetFrameBufferCapacity(uint32_t) override {}
    void SetPosition(int64_t, int64_t) override {}
    void SetStillImagePath(const std::wstring&) override {}

    // Pure: the destination rectangle of a frame of the given aspect in a client area.
    static RECT FitRectangle(const RECT& client, int aspectX, int aspectY);

private:
    HWND m_window = nullptr;
    int m_width = 0, m_height = 0, m_aspectX = 16, m_aspectY = 9;
    std::vector<uint8_t> m_picture;  // the last frame as RGB32
};

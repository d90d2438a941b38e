#pragma once
// Shared pieces of the graph tests: COM on the test thread, a folder of test movies, a window
// for the renderer, and a presenter that records every frame it is asked to draw.

#include <gtest/gtest.h>

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "media/VideoPresenter_CL.h"
#include "tests/support/AviWriter_CL.h"
#include "tests/support/TempFolder_CL.h"

// Frames drawn by every recording presenter of the process, in order.
class FrameLog {
public:
    static FrameLog& Instance();
    void Add(std::vector<uint8_t> frame);
    std::vector<std::vector<uint8_t>> Take();
    size_t Count();

private:
    std::mutex m_lock;
    std::vector<std::vector<uint8_t>> m_frames;
};

class RecordingPresenter : public VideoPresenter_CL {
public:
    bool InitializeD3D9(HWND window) override { return ::IsWindow(window) != FALSE; }
    bool ResetDevice() override { return true; }
    void Draw(const uint8_t* frame) override;
    void ReleaseDevice() override {}
    void SetFrameFormat(int width, int height, int, int) override {
        m_width = width;
        m_height = height;
    }
    void SetSourceSize(int, int) override {}
    void SetFrameBufferCapacity(uint32_t) override {}
    void SetPosition(int64_t, int64_t) override {}
    void SetStillImagePath(const std::wstring&) override {}

private:
    int m_width = 0, m_height = 0;
};

class GraphTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes a movie into the test folder and returns its path.
    std::wstring WriteMovie(const std::wstring& name, const AviMovieSpec& movieSpec);
    // A compressed sample made by the test command (see scripts/test.sh); empty when the
    // test runs outside it.
    static std::wstring SampleMedia(const std::wstring& name);

    TempFolder_CL m_folder;
    HWND m_window = nullptr;
    LONG m_liveBefore = 0;
};

// The frame number drawn into a YUY2 frame, found by comparing with the writer's frames.
int MatchFrameNumber(const AviMovieSpec& movieSpec, const std::vector<uint8_t>& frame, int hint);

// The picture on the real player while its window is resized again and again during a 1080p
// movie: the Direct3D device stays with the user-interface thread, nothing deadlocks, handles
// do not pile up, and the movie is still shown at the end.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/MovieFixture.h"
#include "tests/support/TempFolder_CL.h"

namespace {

class PresenterE2eTest : public MovieFixture {
protected:
    // The player started by this test reports device calls off the owner thread to its own
    // file; the variable goes back to what the test command set once the player has started.
    void StartCheckedPlayer(PlayerProcess_CL* player, const std::vector<std::wstring>& args,
                            const FrameNumberReader_CL& reader) {
        m_report = m_movies.Join(L"device-thread-report.txt");
        wchar_t previous[MAX_PATH] = {};
        const bool hadPrevious = ::GetEnvironmentVariableW(L"LK_DEVICE_THREAD_CHECK", previous, MAX_PATH) > 0;
        ::SetEnvironmentVariableW(L"LK_DEVICE_THREAD_CHECK", m_report.c_str());
        m_window = StartPlayingUntil(player, args, reader);
        ::SetEnvironmentVariableW(L"LK_DEVICE_THREAD_CHECK", hadPrevious ? previous : nullptr);
    }

    std::wstring m_report;
    HWND m_window = nullptr;
};

TEST_F(PresenterE2eTest, TwoHundredResizesDuringA1080pMovieKeepTheDeviceOnItsThread) {
    WriteSettings(std::wstring(kPictureSettings) + L"log_detail_resize=1\r\n");
    AviMovieSpec movieSpec = MovieOf(60, 1920, 1080);
    movieSpec.frameRateNum = 1;  // 60 frames of 4 MB: long enough, small enough to write
    movieSpec.frameCount = 60;
    const std::wstring movie = WriteMovie(L"full-hd.avi", movieSpec);
    FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    StartCheckedPlayer(&player, {movie}, reader);
    ASSERT_NE(m_window, nullptr);

    RECT initial{};
    ::GetWindowRect(m_window, &initial);
    auto resize = [&](int round) {
        const int width = 420 + (round * 97) % 700, height = 320 + (round * 61) % 420;
        ::SetWindowPos(m_window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        // The window still answers: no wait between the drawing and the window's threads.
        DWORD_PTR answer = 0;
        return ::SendMessageTimeoutW(m_window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0;
    };
    for (int round = 0; round < 20; ++round) ASSERT_TRUE(resize(round)) << round;
    DWORD handlesWarm = 0;
    ASSERT_TRUE(::GetProcessHandleCount(player.ProcessHandle(), &handlesWarm));
    const DWORD start = ::GetTickCount();
    for (int round = 20; round < 200; ++round) {
        ASSERT_TRUE(resize(round)) << round;
    }
    std::printf("180 resizes took %lu ms\n", static_cast<unsigned long>(::GetTickCount() - start));
    DWORD handlesAfter = 0;
    ASSERT_TRUE(::GetProcessHandleCount(player.ProcessHandle(), &handlesAfter));
    // Flat: a handle or two may come and go with the playback's own threads.
    EXPECT_LE(handlesAfter, handlesWarm + 8) << "handles after 20 resizes " << handlesWarm << ", after 200 "
                                             << handlesAfter;

    // Back at the size it started with, where the frame numbers read cleanly.
    ::SetWindowPos(m_window, nullptr, 0, 0, initial.right - initial.left, initial.bottom - initial.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    int frame = -1;
    EXPECT_TRUE(WaitForFrame(reader, VideoWindowOf(m_window), AnyFrame, 10000, &frame))
        << "the movie is not shown after the resizes";
    ClosePlayer(&player);
    const std::string report = ReadFileBytes(m_report);
    EXPECT_TRUE(report.empty()) << report;
    // Resizes made new targets; the device itself was never reset for them.
    EXPECT_EQ(LogCount(L"DXHelper::RestoreDevice"), 0u);
}

}  // namespace

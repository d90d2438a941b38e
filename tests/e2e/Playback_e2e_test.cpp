// The real player on a real movie: it plays, counts the play in the movie's record, keeps the
// resume position while playing and at close, and a second start resumes there.

#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "store/ContentRecordKeys.h"
#include "store/Inifile_CL.h"
#include "tests/e2e/PlayerFixture.h"
#include "tests/support/AviWriter_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

constexpr int64_t kSecond = 10000000;

class PlaybackE2eTest : public PlayerFixture {
protected:
    std::wstring WriteMovie() { return WriteMovieNamed(L"映画 テスト.avi"); }

    std::wstring WriteMovieNamed(const std::wstring& name) {
        AviMovieSpec movieSpec;
        movieSpec.width = 320;
        movieSpec.height = 240;
        movieSpec.frameRateNum = 10;
        movieSpec.frameCount = 300;  // 30 s
        movieSpec.withAudio = true;
        std::wstring path = m_movies.Join(name);
        std::string error;
        EXPECT_TRUE(AviWriter_CL::Write(path, movieSpec, &error)) << error;
        return path;
    }

    // The play counts of every content record in the local store.
    std::vector<int> PlayCounts() const {
        std::vector<int> counts;
        for (const std::wstring& path : ContentRecordPaths()) {
            Inifile_CL file;
            file.Bind(path);
            counts.push_back(file.GetInt(kSectionMovieInfo, kKeyPlayCount, -1));
        }
        return counts;
    }

    // The one content record in the local store, or empty.
    std::wstring FindRecord() const {
        std::vector<std::wstring> paths = ContentRecordPaths();
        return paths.empty() ? std::wstring() : paths.front();
    }

    int PlayCount() const {
        Inifile_CL record;
        std::wstring path = FindRecord();
        if (path.empty()) return -1;
        record.Bind(path);
        return record.GetInt(kSectionMovieInfo, kKeyPlayCount, -1);
    }

    int64_t LastPlayFrame() const {
        Inifile_CL record;
        std::wstring path = FindRecord();
        if (path.empty()) return -2;
        record.Bind(path);
        return record.GetHex64(kSectionMovieInfo, kKeyLastPlayFrame, -2);
    }

    TempFolder_CL m_movies;
};

TEST_F(PlaybackE2eTest, PlaysCountsThePlayAndResumesWhereItStopped) {
    const std::wstring movie = WriteMovie();
    int64_t stoppedAt = -1;
    {
        PlayerProcess_CL player;
        ASSERT_TRUE(player.Start({movie}));
        ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return PlayCount() == 1; }, 20000)) << "play_count " << PlayCount();
        // The resume position follows playback every second.
        ASSERT_TRUE(WaitUntil([&] { return LastPlayFrame() >= 3 * kSecond; }, 20000)) << LastPlayFrame();
        ASSERT_TRUE(player.PostClose());
        DWORD exitCode = 1;
        ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        stoppedAt = LastPlayFrame();
        EXPECT_GE(stoppedAt, 3 * kSecond);
        EXPECT_LT(stoppedAt, 20 * kSecond);
    }
    {
        PlayerProcess_CL player;
        ASSERT_TRUE(player.Start({movie}));
        ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return PlayCount() == 2; }, 20000)) << "play_count " << PlayCount();
        // Playing on from where it stopped: the next positions saved are beyond it, never a
        // fresh start.
        ASSERT_TRUE(WaitUntil([&] { return LastPlayFrame() >= stoppedAt + kSecond; }, 20000))
            << LastPlayFrame() << " after stopping at " << stoppedAt;
        EXPECT_LT(LastPlayFrame(), stoppedAt + 8 * kSecond);
        ASSERT_TRUE(player.PostClose());
        DWORD exitCode = 1;
        ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
}

TEST_F(PlaybackE2eTest, NoResumeStartsFromTheBeginning) {
    const std::wstring movie = WriteMovie();
    int64_t stoppedAt = -1;
    {
        PlayerProcess_CL player;
        ASSERT_TRUE(player.Start({movie}));
        ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return LastPlayFrame() >= 4 * kSecond; }, 25000)) << LastPlayFrame();
        ASSERT_TRUE(player.PostClose());
        DWORD exitCode = 1;
        ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
        stoppedAt = LastPlayFrame();
    }
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({movie, L"/NoResume"}));
    ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayCount() == 2; }, 20000));
    // Saved positions now come from a fresh start, below where the first run stopped.
    ASSERT_TRUE(WaitUntil([&] { int64_t p = LastPlayFrame(); return p >= 0 && p < stoppedAt - kSecond; }, 20000))
        << LastPlayFrame() << " after stopping at " << stoppedAt;
    ASSERT_TRUE(player.PostClose());
    DWORD exitCode = 1;
    EXPECT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
}

TEST_F(PlaybackE2eTest, ASecondLaunchSwitchesTheRunningPlayerToItsMovie) {
    const std::wstring first = WriteMovieNamed(L"first.avi");
    const std::wstring second = WriteMovieNamed(L"second, with comma.avi");
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({first}));
    ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayCounts() == std::vector<int>{1}; }, 20000));
    PlayerProcess_CL launcher;
    ASSERT_TRUE(launcher.Start({second}));
    DWORD launcherExit = 1;
    ASSERT_TRUE(launcher.WaitForExit(kExitTimeoutMs, &launcherExit));
    EXPECT_EQ(launcherExit, 0u);
    // The new record exists a moment before its play is counted in it.
    std::vector<int> counts;
    EXPECT_TRUE(WaitUntil([&] { return (counts = PlayCounts()) == std::vector<int>{1, 1}; }, 20000))
        << ::testing::PrintToString(counts);
    EXPECT_TRUE(player.IsRunning());
    ASSERT_TRUE(player.PostClose());
    DWORD exitCode = 1;
    EXPECT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
}

TEST_F(PlaybackE2eTest, IdleTakesTheFrameAwayAndActivityBringsItBack) {
    WriteSettings(L"[NOP]\r\nno_frame=1\r\ncountup_time=0\r\n");  // 3 s idle delay
    const std::wstring movie = WriteMovie();
    ::SetCursorPos(1, 1);  // out of the player's way
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({movie}));
    HWND window = player.WaitForMainWindow(kStartTimeoutMs);
    ASSERT_NE(window, nullptr);
    auto framed = [&] { return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) != 0; };
    ASSERT_TRUE(WaitUntil([&] { return PlayCount() == 1; }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return !framed(); }, 15000)) << "the frame stayed while idle";
    // The pointer moves over the picture: the frame comes back.
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SetCursorPos((rect.left + rect.right) / 2 + 20, (rect.top + rect.bottom) / 2 + 10);
    EXPECT_TRUE(WaitUntil(framed, 5000)) << "activity did not bring the frame back";
    ::SetCursorPos(1, 1);
    ASSERT_TRUE(player.PostClose());
    DWORD exitCode = 1;
    EXPECT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
}

// The dialog windows of a process with their captions.
std::vector<std::pair<HWND, std::wstring>> DialogsOf(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<std::pair<HWND, std::wstring>> found;
    } search{processId, {}};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            wchar_t className[16] = {}, caption[128] = {};
            ::GetClassNameW(window, className, 16);
            // The play list dialog is made with the window and stays hidden until it is shown.
            if (owner != s->processId || std::wcscmp(className, L"#32770") != 0 || !::IsWindowVisible(window)) {
                return TRUE;
            }
            ::GetWindowTextW(window, caption, 128);
            s->found.emplace_back(window, caption);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(PlaybackE2eTest, AFileThatCannotPlayShowsThePlayErrorDialogAndThePlayerGoesOn) {
    const std::wstring broken = m_movies.Join(L"壊れた.avi");
    ASSERT_TRUE(WriteFileBytes(broken, std::string("this is no movie at all")));
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({broken}));
    ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
    std::vector<std::pair<HWND, std::wstring>> dialogs;
    // The dialog window exists a moment before its caption is set.
    ASSERT_TRUE(WaitUntil(
        [&] {
            dialogs = DialogsOf(player.ProcessId());
            return !dialogs.empty() && !dialogs[0].second.empty();
        },
        20000));
    EXPECT_EQ(dialogs[0].second, L"再生できませんでした。(8001)");
    ::PostMessageW(dialogs[0].first, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return DialogsOf(player.ProcessId()).empty(); }, 10000));
    // Still usable: a real movie handed to it plays.
    const std::wstring movie = WriteMovie();
    PlayerProcess_CL launcher;
    ASSERT_TRUE(launcher.Start({movie}));
    DWORD exitCode = 1;
    ASSERT_TRUE(launcher.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_TRUE(WaitUntil([&] { return PlayCount() == 1; }, 20000));
    ASSERT_TRUE(player.PostClose());
    EXPECT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
}

TEST_F(PlaybackE2eTest, AFolderPlaysAsAListAndEndCloseClosesAfterItsLastEntry) {
    // Two 3 s movies in a folder: the folder becomes the play list, the second entry follows
    // the first, and "/EndClose" closes the player when nothing more is due.
    AviMovieSpec movieSpec;
    movieSpec.width = 160;
    movieSpec.height = 120;
    movieSpec.frameRateNum = 10;
    movieSpec.frameCount = 30;
    movieSpec.withAudio = true;
    std::string error;
    ASSERT_TRUE(AviWriter_CL::Write(m_movies.Join(L"ep1.avi"), movieSpec, &error)) << error;
    ASSERT_TRUE(AviWriter_CL::Write(m_movies.Join(L"ep2.avi"), movieSpec, &error)) << error;
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({m_movies.Path(), L"/EndClose"}));
    ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
    DWORD exitCode = 1;
    ASSERT_TRUE(player.WaitForExit(40000, &exitCode)) << "the player stayed open after its list";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(PlayCounts(), (std::vector<int>{1, 1}));
}

TEST_F(PlaybackE2eTest, FullScreenFillsTheScreen) {
    const std::wstring movie = WriteMovie();
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({movie, L"/FullScreen"}));
    HWND window = player.WaitForMainWindow(kStartTimeoutMs);
    ASSERT_NE(window, nullptr);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info));
    RECT rect{};
    EXPECT_TRUE(WaitUntil([&] {
        ::GetWindowRect(window, &rect);
        return rect.left <= info.rcWork.left && rect.top <= info.rcWork.top && rect.right >= info.rcWork.right &&
               rect.bottom >= info.rcWork.bottom;
    }, 10000)) << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
    EXPECT_EQ(::GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, 0);
    ASSERT_TRUE(player.PostClose());
    DWORD exitCode = 1;
    EXPECT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
}

}  // namespace

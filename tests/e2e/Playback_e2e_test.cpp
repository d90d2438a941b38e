// The real player on a real movie: it plays, counts the play in the movie's record, keeps the
// resume position while playing and at close, and a second start resumes there.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "store/ContentRecordKeys.h"
#include "store/Inifile_CL.h"
#include "tests/e2e/PlayerFixture.h"
#include "tests/support/AviWriter_CL.h"

namespace {

constexpr int64_t kSecond = 10000000;

class PlaybackE2eTest : public PlayerFixture {
protected:
    std::wstring WriteMovie() {
        AviMovieSpec spec;
        spec.width = 320;
        spec.height = 240;
        spec.frameRateNum = 10;
        spec.frameCount = 300;  // 30 s
        spec.withAudio = true;
        std::wstring path = m_movies.Join(L"映画 テスト.avi");
        std::string error;
        EXPECT_TRUE(AviWriter_CL::Write(path, spec, &error)) << error;
        return path;
    }

    // The one content record in the local store, or empty.
    std::wstring FindRecord() const {
        std::wstring contents = DataPath(L"contents");
        WIN32_FIND_DATAW bucket;
        HANDLE buckets = ::FindFirstFileW((contents + L"\\*").c_str(), &bucket);
        if (buckets == INVALID_HANDLE_VALUE) return std::wstring();
        std::wstring found;
        do {
            if (!(bucket.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || bucket.cFileName[0] == L'.') continue;
            std::wstring folder = contents + L"\\" + bucket.cFileName;
            WIN32_FIND_DATAW record;
            HANDLE records = ::FindFirstFileW((folder + L"\\*.ini").c_str(), &record);
            if (records == INVALID_HANDLE_VALUE) continue;
            found = folder + L"\\" + record.cFileName;
            ::FindClose(records);
        } while (found.empty() && ::FindNextFileW(buckets, &bucket));
        ::FindClose(buckets);
        return found;
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

}  // namespace

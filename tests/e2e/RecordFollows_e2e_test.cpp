// A movie's record follows it on the real player: renamed and moved to another folder, the
// movie resumes where it stopped, counts on and keeps its favourite, and the store holds one
// record; a copy of a played movie gets a record of its own and the original keeps its.

#include <windows.h>

#include <string>

#include "store/ContentInfo.h"
#include "tests/e2e/MovieFixture.h"
#include "tests/support/IniMap.h"

namespace {

class RecordFollowsE2eTest : public MovieFixture {
protected:
    // Plays the movie until its resume position passes the seconds given, then closes.
    void PlayUntil(const std::wstring& movie, const FrameNumberReader_CL& reader, int seconds) {
        PlayerProcess_CL player;
        ASSERT_NE(StartPlayingUntil(&player, {movie}, reader), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return LastPlayFrameOf(movie) >= seconds * kSecond; }, 30000))
            << LastPlayFrameOf(movie);
        ClosePlayer(&player);
    }
};

TEST_F(RecordFollowsE2eTest, ARenamedAndMovedMovieResumesCountsOnAndKeepsItsFavourite) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec movieSpec = MovieOf(60, 320, 240);
    const std::wstring movie = WriteMovie(L"第1話.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayUntil(movie, reader, 3);
    const int64_t stoppedAt = LastPlayFrameOf(movie);
    // A favourite, as the strip's menu sets it.
    const std::wstring oldRecord = RecordOf(movie);
    ASSERT_FALSE(oldRecord.empty());
    {
        ContentInfo record;
        record.Bind(oldRecord);
        record.Read(false, 0);
        record.SetFavorite(0, L"名場面", 42 * kSecond);
    }

    // Renamed and moved into another folder.
    const std::wstring season = m_movies.Join(L"シーズン1");
    ASSERT_TRUE(::CreateDirectoryW(season.c_str(), nullptr));
    const std::wstring moved = season + L"\\episode 01.avi";
    ASSERT_TRUE(::MoveFileW(movie.c_str(), moved.c_str()));

    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {moved});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(moved) == 2; }, 20000)) << "the play count did not go on: "
                                                                         << PlayCountOf(moved);
    // Resumed near where it stopped, not from the start.
    int frame = -1;
    EXPECT_TRUE(WaitForFrame(reader, VideoWindowOf(window),
                             [&](int f) { return f >= stoppedAt / kSecond * kFramesPerSecond - 10; }, 10000, &frame))
        << "shows frame " << frame << " after stopping at " << stoppedAt / kSecond << " s";
    ClosePlayer(&player);
    const std::wstring record = RecordOf(moved);
    ASSERT_FALSE(record.empty());
    ContentInfo info;
    info.Bind(record);
    info.Read(false, 0);
    EXPECT_EQ(info.favorites[0].name, L"名場面");
    EXPECT_EQ(ContentRecordPaths().size(), 1u) << "the old record stayed behind";
    // The history names the new path only.
    IniMap history = ReadIniMap(DataPath(L"LumikinoHistory.ini"));
    const std::wstring first = history[std::make_pair(std::wstring(L"item0"), std::wstring(L"PATH"))];
    const std::wstring second = history[std::make_pair(std::wstring(L"item1"), std::wstring(L"PATH"))];
    EXPECT_EQ(first, L"|00|" + moved);
    EXPECT_EQ(second, L"");
    EXPECT_FALSE(FileExists(oldRecord) && oldRecord != record);
}

TEST_F(RecordFollowsE2eTest, ACopyGetsARecordOfItsOwnAndTheOriginalKeepsIts) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec movieSpec = MovieOf(30, 320, 240);
    const std::wstring movie = WriteMovie(L"original.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayUntil(movie, reader, 2);
    const std::wstring copy = m_movies.Join(L"copy of original.avi");
    ASSERT_TRUE(::CopyFileW(movie.c_str(), copy.c_str(), TRUE));
    PlayerProcess_CL player;
    ASSERT_NE(StartPlayingUntil(&player, {copy}, reader, [](int f) { return f < 10; }), nullptr)
        << "the copy did not start from the beginning";
    ClosePlayer(&player);
    EXPECT_EQ(PlayCountOf(copy), 1);
    EXPECT_EQ(PlayCountOf(movie), 1);
    EXPECT_EQ(ContentRecordPaths().size(), 2u);
}

}  // namespace

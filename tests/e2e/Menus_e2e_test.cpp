// The picture menu and the on-screen control bar of the real player: a right click on the
// picture opens the menu and the items chosen with the keyboard act; the bar's pictures
// follow pause, mute and volume on the screen; and the window keeps answering while loads
// fail.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "app/LaunchRequest.h"
#include "app/MainWindowIds.h"
#include "base/CommandIds.h"
#include "media/ControlBar_CL.h"
#include "tests/e2e/MovieFixture.h"
#include "tests/support/UserInput.h"

namespace {

class MenusE2eTest : public MovieFixture {
protected:
    static LONG_PTR ExStyle(HWND window) { return ::GetWindowLongPtrW(window, GWL_EXSTYLE); }
};

TEST_F(MenusE2eTest, RightClickMenuSetsTheRatioTopmostAndTransparentDisplay) {
    WriteSettings(std::wstring(kPictureSettings) + L"transparent=150\r\n");
    const std::wstring movie = WriteMovie(L"menu.avi", MovieOf(60, 320, 240));
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {movie});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForLog(L"Play: bNotFirst"));
    ASSERT_EQ(SettingInt(L"MOVIE", L"output_rate_hv"), -100);  // never written yet

    // Full screen, then the display sub-menu; in it the fifth item opens the ratios, whose
    // third ignores the movie's shape. Separators are passed over.
    ASSERT_TRUE(ChooseFromPictureMenu(player, window, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT,
                                        VK_DOWN, VK_DOWN},
                               CMD_RATIO_STRETCH));
    EXPECT_TRUE(WaitUntil([&] { return SettingInt(L"MOVIE", L"output_rate_hv") == 2; }, 5000))
        << SettingInt(L"MOVIE", L"output_rate_hv");

    EXPECT_EQ(ExStyle(window) & WS_EX_TOPMOST, 0);
    ASSERT_TRUE(ChooseFromPictureMenu(player, window, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN}, CMD_TOPMOST_ON));
    EXPECT_NE(ExStyle(window) & WS_EX_TOPMOST, 0);

    // Now the same place offers to take topmost away again.
    ASSERT_TRUE(ChooseFromPictureMenu(player, window, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN}, CMD_TOPMOST_OFF));
    EXPECT_EQ(ExStyle(window) & WS_EX_TOPMOST, 0);

    ASSERT_TRUE(ChooseFromPictureMenu(player, window, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN}, CMD_TRANSPARENT_ON));
    EXPECT_NE(ExStyle(window) & WS_EX_LAYERED, 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 150);

    ClosePlayer(&player);
}

TEST_F(MenusE2eTest, PlayingFromAFavoriteSeeksThere) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec movieSpec = MovieOf(40, 320, 240);
    const std::wstring movie = WriteMovie(L"favorite.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    {
        PlayerProcess_CL first;
        ASSERT_NE(StartPlayingUntil(&first, {movie}, reader), nullptr);
        ClosePlayer(&first);
    }
    // The third favourite, unnamed, at 25 s: the menu offers "お気に入り３から再生" only.
    const std::wstring record = RecordOf(movie);
    ASSERT_FALSE(record.empty());
    Inifile_CL file;
    file.Bind(record);
    file.WriteHex64(kSectionFavoritesFrame, L"fav02", 25 * kSecond);

    PlayerProcess_CL player;
    HWND window = StartPlayingUntil(&player, {movie, L"/NoResume"}, reader, [](int f) { return f < 100; });
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ChooseFromPictureMenu(player, window, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}, CMD_PLAY_FAVORITE_FIRST + 2));
    int frame = -1;
    EXPECT_TRUE(WaitForFrame(reader, VideoWindowOf(window), [](int f) { return f >= 240 && f <= 300; }, 10000, &frame))
        << "last frame read " << frame;
    ClosePlayer(&player);
}

// ---- The control bar on the screen ---------------------------------------------------------

// Pixels within the rectangle whose colour differs clearly between two pictures; -1 when a
// picture does not cover the rectangle.
int ChangedPixels(const BgrxPicture& a, const BgrxPicture& b, const RECT& r) {
    if (r.left < 0 || r.top < 0 || r.right > std::min(a.width, b.width) || r.bottom > std::min(a.height, b.height) ||
        r.right <= r.left || r.bottom <= r.top) {
        return -1;
    }
    int changed = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            int most = 0;
            for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(static_cast<int>(a.At(x, y)[c]) - b.At(x, y)[c]));
            changed += most > 48;
        }
    }
    return changed;
}

constexpr int kPictureChanged = 40;  // pixels: a different picture in the item's place
constexpr int kPictureKept = 4;

// Where an item of the bar stands on a video window of this client size, for a state.
RECT ItemRect(const RECT& client, UINT command, const ControlBarState& state) {
    ControlBar_CL bar;
    bar.Layout(client, state);
    return bar.WindowRect(static_cast<size_t>(bar.IndexOf(command)));
}

TEST_F(MenusE2eTest, ControlBarPicturesFollowPauseMuteAndVolume) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec movieSpec = MovieOf(60, 320, 240);
    const std::wstring movie = WriteMovie(L"bar.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = StartPlayingUntil(&player, {movie}, reader, [](int f) { return f >= 10; });
    ASSERT_NE(window, nullptr);
    HWND video = VideoWindowOf(window);

    RECT client{};
    ::GetClientRect(video, &client);
    ControlBarState state;
    state.contentLoaded = state.playbackStarted = true;
    state.volumeStep = 16;
    const RECT playPause = ItemRect(client, CMD_PLAY_PAUSE, state);
    const RECT stop = ItemRect(client, CMD_STOP, state);
    const RECT mute = ItemRect(client, CMD_MUTE, state);
    const RECT knobAt16 = ItemRect(client, CMD_VOLUME_KNOB, state);
    state.volumeStep = 4;
    const RECT knobAt4 = ItemRect(client, CMD_VOLUME_KNOB, state);
    ASSERT_NE(knobAt16.left, knobAt4.left);

    // Paused, the picture behind the bar stands still: every change is the bar's own.
    const BgrxPicture playing = ScreenPicture_CL::CaptureClient(video);
    ASSERT_TRUE(PostKey(&player, 'P'));
    ASSERT_TRUE(WaitForLog(L"Pause: leave bPlay=1 bPause=1"));
    BgrxPicture paused;
    EXPECT_TRUE(WaitUntil(
        [&] {
            paused = ScreenPicture_CL::CaptureClient(video);
            return ChangedPixels(playing, paused, playPause) > kPictureChanged;
        },
        5000))
        << "the play picture did not come back: " << ChangedPixels(playing, paused, playPause);

    ASSERT_TRUE(PostKey(&player, 'M'));
    BgrxPicture muted;
    EXPECT_TRUE(WaitUntil(
        [&] {
            muted = ScreenPicture_CL::CaptureClient(video);
            return ChangedPixels(paused, muted, mute) > kPictureChanged;
        },
        5000))
        << "the mute picture did not change: " << ChangedPixels(paused, muted, mute);
    EXPECT_LE(ChangedPixels(paused, muted, playPause), kPictureKept);
    EXPECT_LE(ChangedPixels(paused, muted, stop), kPictureKept);

    // The volume command moves the knob from step 16 to step 4 (and ends the mute).
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_VOLUME_STEP, 0), 4));
    BgrxPicture quiet;
    EXPECT_TRUE(WaitUntil(
        [&] {
            quiet = ScreenPicture_CL::CaptureClient(video);
            return ChangedPixels(muted, quiet, knobAt4) > kPictureChanged &&
                   ChangedPixels(muted, quiet, knobAt16) > kPictureChanged;
        },
        5000))
        << "knob at 4: " << ChangedPixels(muted, quiet, knobAt4) << ", at 16: "
        << ChangedPixels(muted, quiet, knobAt16);
    EXPECT_LE(ChangedPixels(paused, quiet, mute), kPictureKept) << "the sound picture did not come back";
    EXPECT_EQ(SettingInt(L"MOVIE", L"volume"), 4);
    ClosePlayer(&player);
}

// ---- Commands and loads without a movie, and many loads at once ------------------------------

TEST_F(MenusE2eTest, CommandsThatWriteTheRecordWriteNothingWithoutAMovie) {
    WriteSettings(kPictureSettings);
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {});
    ASSERT_NE(window, nullptr);
    // A rating by menu command and by key, clearing a favourite and a skip range, moving to
    // them: none has a movie to act on.
    for (WORD command : {static_cast<WORD>(CMD_STARS_FIRST + 3), CMD_CLEAR_FAVORITE_FIRST, CMD_CLEAR_SKIP_FIRST,
                         CMD_PLAY_FAVORITE_FIRST, CMD_MOVE_TO_SKIP_FIRST}) {
        ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(command, 0), 0));
    }
    ASSERT_TRUE(PostKey(&player, '4'));
    ASSERT_TRUE(WaitForLog(L"KeyHandler(0x34)"));
    // The tool bar answers from the same place: the history and opening a file always work.
    HWND bar = ::FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(::SendMessageW(bar, TB_ISBUTTONENABLED, CMD_SHOW_HISTORY, 0), 0);
    EXPECT_NE(::SendMessageW(bar, TB_ISBUTTONENABLED, CMD_OPEN_FILE, 0), 0);
    ClosePlayer(&player);
    EXPECT_TRUE(ContentRecordPaths().empty());
}

TEST_F(MenusE2eTest, ARatingByKeyOrMenuReachesTheAlbumCopy) {
    WriteSettings(kPictureSettings);
    const std::wstring movie = WriteMovie(L"album.avi", MovieOf(30, 160, 120));
    {
        PlayerProcess_CL first;
        ASSERT_NE(StartPlayer(&first, {movie}), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(movie) == 1; }, 20000));
        ClosePlayer(&first);
    }
    // The album application keeps a copy of the record, with a picture beside it, in the
    // bucket of the same number under its own folder.
    const std::wstring record = RecordOf(movie);
    ASSERT_FALSE(record.empty());
    const size_t fileStart = record.find_last_of(L'\\');
    const size_t bucketStart = record.find_last_of(L'\\', fileStart - 1) + 1;
    const std::wstring bucket = record.substr(bucketStart, fileStart - bucketStart);  // "NNN"
    const std::wstring albumFolder = m_documents.Join(L"Kinoshelf\\ALBUM_0001\\contents\\" + bucket);
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, albumFolder.c_str(), nullptr), ERROR_SUCCESS);
    const std::wstring albumRecord = albumFolder + L"\\copy.ini";
    ASSERT_TRUE(::CopyFileW(record.c_str(), albumRecord.c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(albumFolder + L"\\copy.jpg", ""));
    Inifile_CL album;
    album.Bind(albumRecord);
    auto albumInt = [&](const wchar_t* key) { return album.GetInt(kSectionMovieInfo, key, -100); };

    PlayerProcess_CL player;
    ASSERT_NE(StartPlayer(&player, {movie, L"/Kinoshelf"}), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(movie) == 2; }, 20000));
    ASSERT_TRUE(PostKey(&player, '4'));
    EXPECT_TRUE(WaitUntil([&] { return albumInt(kKeyStarCount) == 4; }, 10000)) << albumInt(kKeyStarCount);
    EXPECT_EQ(albumInt(kKeyPlayCount), 2);
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_STARS_FIRST + 2, 0), 0));
    EXPECT_TRUE(WaitUntil([&] { return albumInt(kKeyStarCount) == 2; }, 10000)) << albumInt(kKeyStarCount);
    EXPECT_EQ(RecordInt(movie, kKeyStarCount), 2);
    ClosePlayer(&player);
}

TEST_F(MenusE2eTest, TenSwitchesInARowEndOnTheLastMovie) {
    const AviMovieSpec movieSpec = MovieOf(20, 160, 120);
    std::vector<std::wstring> movies;
    for (int i = 0; i < 10; ++i) movies.push_back(WriteMovie(L"switch" + std::to_wstring(i) + L".avi", movieSpec));
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {movies.front()});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(movies.front()) == 1; }, 20000));
    // Nine more hand-offs as fast as second starts can make them, loads running meanwhile.
    for (size_t i = 1; i < movies.size(); ++i) {
        LaunchRequest request;
        std::wmemcpy(request.path, movies[i].c_str(), movies[i].size() + 1);
        LRESULT accepted = 0;
        ASSERT_TRUE(player.SendCopyData(kCopyDataLaunchRequest, &request, sizeof(request), &accepted));
        EXPECT_EQ(accepted, TRUE);
    }
    EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(movies.back()) == 1; }, 30000)) << PlayCountOf(movies.back());
    // The last one stays: no older one loads after it (each load logs its path alone on a line).
    auto loadLine = [](const std::wstring& path) { return L" : \"" + path + L"\"\r\n"; };
    const std::wstring log = Log();
    const size_t lastLoad = log.rfind(loadLine(movies.back()));
    ASSERT_NE(lastLoad, std::wstring::npos);
    for (size_t i = 0; i + 1 < movies.size(); ++i) {
        EXPECT_EQ(log.find(loadLine(movies[i]), lastLoad + 1), std::wstring::npos) << "movie " << i << " loaded last";
    }
    ClosePlayer(&player);
}

// ---- A load never stops the window from answering --------------------------------------------

// Sends WM_NULL to the window every 100 ms from its own thread and keeps the slowest answer.
class AnswerWatch_CL {
public:
    explicit AnswerWatch_CL(HWND window) : m_window(window), m_thread([this] { Run(); }) {}
    ~AnswerWatch_CL() { Stop(); }
    // Ends the watch; the slowest answer in milliseconds (a send that timed out counts 5000).
    DWORD Stop() {
        ::SetEvent(m_stop.Get());
        if (m_thread.joinable()) m_thread.join();
        return m_slowestMs;
    }
    int Answers() const { return m_answers; }

private:
    void Run() {
        // One send every 100 ms until Stop.
        do {
            const ULONGLONG start = ::GetTickCount64();
            DWORD_PTR result = 0;
            const bool answered =
                ::SendMessageTimeoutW(m_window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
            const DWORD elapsed = answered ? static_cast<DWORD>(::GetTickCount64() - start) : 5000;
            if (elapsed > m_slowestMs) m_slowestMs = elapsed;
            ++m_answers;
        } while (::WaitForSingleObject(m_stop.Get(), 100) == WAIT_TIMEOUT);
    }

    HWND m_window;
    KernelHandle_CL m_stop{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};  // set: the watch ends
    std::atomic<DWORD> m_slowestMs{0};
    std::atomic<int> m_answers{0};
    std::thread m_thread;
};

TEST_F(MenusE2eTest, TheWindowKeepsAnsweringWhileLoadsFail) {
    WriteSettings(L"[SETTING]\r\nlog_detail_graph=1\r\n");
    const std::wstring broken = m_movies.Join(L"broken.avi");
    // Bytes no splitter takes: every build fails, and the failures are retried.
    std::string junk(64 * 1024, '\0');
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 7919u) >> 3);
    ASSERT_TRUE(WriteFileBytes(broken, junk));
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {});
    ASSERT_NE(window, nullptr);
    const std::wstring errorCaption = L"再生できませんでした。(8001)";

    struct Case {
        const char* name;
        std::wstring path;
        bool terminated;
        bool retried;
    };
    const Case cases[] = {
        {"a file that does not exist", m_movies.Join(L"missing.avi"), true, false},
        {"an unterminated relative hand-off path", std::wstring(kLaunchPathUnits, L'a'), false, false},
        {"a movie whose build fails", broken, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t retriesBefore = LogCount(L"フィルタグラフの作成のリトライ(");
        LaunchRequest request;
        const size_t units = std::min(c.path.size(), static_cast<size_t>(kLaunchPathUnits));
        std::wmemcpy(request.path, c.path.c_str(), units);
        if (c.terminated) request.path[units < kLaunchPathUnits ? units : kLaunchPathUnits - 1] = L'\0';
        AnswerWatch_CL watch(window);
        LRESULT accepted = 0;
        ASSERT_TRUE(player.SendCopyData(kCopyDataLaunchRequest, &request, sizeof(request), &accepted));
        // The load ends with the play-error dialog; the window answers all the while.
        EXPECT_TRUE(WaitUntil([&] { return FindDialog(player.ProcessId(), errorCaption) != nullptr; }, 20000));
        // And while the dialog is up.
        const int answers = watch.Answers();
        EXPECT_TRUE(WaitUntil([&] { return watch.Answers() >= answers + 5; }, 5000));
        const DWORD slowest = watch.Stop();
        // A build that fails is tried six times a second apart: a window waiting on it would
        // miss the five-second answer. Seconds of a busy machine (tests run side by side) are not that.
        EXPECT_LT(slowest, 4000u) << "the window did not answer for " << slowest << " ms";
        EXPECT_EQ(LogCount(L"フィルタグラフの作成のリトライ(") > retriesBefore, c.retried);
        player.CloseDialogs();
        ASSERT_TRUE(WaitUntil([&] { return FindDialog(player.ProcessId(), errorCaption) == nullptr; }, 10000))
            << Log().substr(Log().size() > 3000 ? Log().size() - 3000 : 0).c_str();
    }
    ClosePlayer(&player);
}

}  // namespace

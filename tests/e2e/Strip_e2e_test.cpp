// The thumbnail strip on the real player: cells that show the frames of their times, a click
// that seeks there and plays, the strip following the playback, an interval change that
// rebuilds the cells without reloading the movie, F3 and F5, and the strip menu's commands
// acting on the selection.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "app/LaunchRequest.h"
#include "app/MainWindowIds.h"
#include "base/CommandIds.h"
#include "tests/e2e/MovieFixture.h"
#include "tests/support/ProcessFigures.h"
#include "tests/support/UserInput.h"

namespace {

// The settings of these tests: the picture as the other movie tests have it, the strip below
// the picture with large cells every 10 s, and never hidden for idleness.
constexpr wchar_t kStripSettings[] =
    L"[SETTING]\r\nenable_title=0\r\nenable_playtime=0\r\nlog_detail_other=1\r\nlog_detail_graph=1\r\n"
    L"[NOP]\r\nno_thumbnail=0\r\n[LIST]\r\ndirection=2\r\nsmall_image_size=2\r\n[MOVIE]\r\nframe_time_index=2\r\n";


// The strip: the child with the strip's id that is not the video window.
// The part of a picture inside a rectangle.
BgrxPicture Crop(const BgrxPicture& picture, const RECT& r) {
    BgrxPicture part;
    const int left = std::max<int>(0, r.left), top = std::max<int>(0, r.top);
    const int right = std::min<int>(picture.width, r.right), bottom = std::min<int>(picture.height, r.bottom);
    if (right <= left || bottom <= top) return part;
    part.width = right - left;
    part.height = bottom - top;
    part.bgrx.resize(size_t(part.width) * size_t(part.height) * 4);
    for (int y = 0; y < part.height; ++y) {
        std::copy_n(picture.At(left, top + y), size_t(part.width) * 4, &part.bgrx[size_t(y) * size_t(part.width) * 4]);
    }
    return part;
}

void KeyDown(WORD key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    ::SendInput(1, &input, sizeof(input));
}

void KeyUp(WORD key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(input));
}

SIZE ClientSize(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

class StripE2eTest : public MovieFixture {
protected:
    static int FrameOnView(const FrameNumberReader_CL& reader, HWND video) { return ShownFrame(reader, video, true); }
    static bool WaitForFrameOnView(const FrameNumberReader_CL& reader, HWND video, const std::function<bool(int)>& accept,
                                   DWORD timeoutMs, int* frame = nullptr) {
        return WaitForFrame(reader, video, accept, timeoutMs, frame, true);
    }

    // Starts the player on the movie and waits for one of its frames on the screen.
    HWND StartStripPlayer(PlayerProcess_CL* player, const std::wstring& movie, const FrameNumberReader_CL& reader) {
        HWND window = StartPlayer(player, {movie});
        if (!window) return nullptr;
        HWND video = VideoWindowOf(window);
        return WaitUntil([&] { return FrameOnView(reader, video) >= 0; }, 20000) ? window : nullptr;
    }

    // F6 shows the strip.
    void ShowStrip(PlayerProcess_CL* player, HWND strip) {
        ASSERT_TRUE(PostKey(player, VK_F6));
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(strip) != FALSE; }, 5000)) << "F6 did not show the strip";
    }

    // Starts the player on the movie as StartStripPlayer and shows the strip: the strip's window,
    // or null when any step failed; *window gets the main window.
    HWND StartWithStripShown(PlayerProcess_CL* player, const std::wstring& movie, const FrameNumberReader_CL& reader,
                             HWND* window) {
        *window = StartStripPlayer(player, movie, reader);
        HWND strip = *window ? StripWindowOf(*window) : nullptr;
        if (!strip || !PostKey(player, VK_F6)) return nullptr;
        return WaitUntil([&] { return ::IsWindowVisible(strip) != FALSE; }, 5000) ? strip : nullptr;
    }

    // The strip's settings with one text in them replaced.
    static std::wstring StripSettingsWith(const std::wstring& text, const std::wstring& replacement) {
        std::wstring settings = kStripSettings;
        settings.replace(settings.find(text), text.size(), replacement);
        return settings;
    }

    // The strip's settings, and a window of 900 x 700 so the picture stays large beside it.
    void WriteStripSettings(const std::wstring& settings) {
        WriteSettings(settings);
        RECT rect{100, 100, 1000, 800};
        ASSERT_TRUE(::WritePrivateProfileStructW(L"WINDOW", L"rect", &rect, sizeof(rect), DataPath(L"Lumikino.ini").c_str()));
    }

    // The frame a cell of a horizontal strip shows (cells cellWidth wide from the left of the
    // strip's client area as it is scrolled now, position scrolled), or -1.
    static int CellFrame(const FrameNumberReader_CL& reader, HWND strip, int cellOnView, SIZE cell) {
        const BgrxPicture shot = ScreenPicture_CL::CaptureClient(strip);
        const RECT r{cellOnView * cell.cx, 0, (cellOnView + 1) * cell.cx, cell.cy};
        const BgrxPicture part = Crop(shot, r);
        if (part.IsEmpty()) return -1;
        // The time label over the top-left corner is not the movie.
        return reader.Read(part, {RECT{0, 0, 90, 26}});
    }
};

}  // namespace

TEST_F(StripE2eTest, CellsShowTheirFramesAndAClickSeeksThereAndPlays) {
    WriteStripSettings(kStripSettings);
    const AviMovieSpec movieSpec = MovieOf(60, 320, 180);
    const std::wstring movie = WriteMovie(L"strip.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = StartStripPlayer(&player, movie, reader);
    ASSERT_NE(window, nullptr);
    HWND strip = StripWindowOf(window);
    ASSERT_NE(strip, nullptr) << "no strip window";
    EXPECT_FALSE(::IsWindowVisible(strip)) << "the strip is hidden until F6";
    ShowStrip(&player, strip);
    // A 16:9 movie with large cells: 256 x 144, one row below the picture.
    const SIZE cell{256, 144};
    const SIZE stripSize = ClientSize(strip);
    EXPECT_GE(stripSize.cy, cell.cy);
    EXPECT_LT(stripSize.cy, cell.cy * 2) << "a horizontal strip has one row";
    ASSERT_TRUE(WaitForLog(L"SetContentThumbnail(graph-ready) serial=1"));

    // The first two cells on view show the frames of 0 s and 10 s.
    ::InvalidateRect(strip, nullptr, FALSE);
    int first = -1, second = -1;
    EXPECT_TRUE(WaitUntil(
        [&] {
            first = CellFrame(reader, strip, 0, cell);
            second = CellFrame(reader, strip, 1, cell);
            return first == 0 && second == 10 * kFramesPerSecond;
        },
        20000))
        << "cells showed frames " << first << " and " << second;

    // A click on the second cell: the movie goes to 10 s and plays on from there.
    ASSERT_TRUE(PostKey(&player, 'P'));
    ASSERT_TRUE(WaitForLog(L"Pause: leave bPlay=1 bPause=1"));
    const LPARAM at = MAKELPARAM(cell.cx + cell.cx / 2, cell.cy / 2);
    ASSERT_TRUE(::PostMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, at));
    ASSERT_TRUE(::PostMessageW(strip, WM_LBUTTONUP, 0, at));
    HWND video = VideoWindowOf(window);
    int frame = -1;
    EXPECT_TRUE(WaitForFrameOnView(reader, video, [](int f) { return f >= 10 * kFramesPerSecond; }, 10000, &frame))
        << "after the click the picture showed " << frame;
    EXPECT_TRUE(WaitForFrameOnView(reader, video, [&](int f) { return f > frame + 5; }, 10000)) << "it does not play on";
    ClosePlayer(&player);
}

TEST_F(StripE2eTest, CellsOfAnMp4ShowTheColourOfTheirTime) {
    // Made by the test command with ffmpeg: H.264 and AAC, red for 10 s, then green, then blue.
    wchar_t folder[MAX_PATH] = {};
    const DWORD units = ::GetEnvironmentVariableW(L"LK_TEST_MEDIA", folder, MAX_PATH);
    if (units == 0 || units >= MAX_PATH) GTEST_SKIP() << "LK_TEST_MEDIA names no folder of sample movies";
    const std::wstring movie = std::wstring(folder) + L"\\colours.mp4";
    ASSERT_NE(::GetFileAttributesW(movie.c_str()), INVALID_FILE_ATTRIBUTES) << "no colours.mp4 among the samples";
    WriteStripSettings(kStripSettings);
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {movie, L"/NoResume"});
    ASSERT_NE(window, nullptr);
    HWND strip = StripWindowOf(window);
    ASSERT_NE(strip, nullptr);
    ASSERT_TRUE(WaitForLog(L"SetContent2(完了)", 20000));
    ASSERT_TRUE(PostKey(&player, 'P'));
    ShowStrip(&player, strip);
    ASSERT_TRUE(WaitForLog(L"SetContentThumbnail(graph-ready) serial=1"));
    const SIZE cell{256, 144};
    // The colour in the middle of a cell, clear of its labels: 'r', 'g', 'b' or '?'.
    auto cellColour = [&](int index) {
        const BgrxPicture shot = ScreenPicture_CL::CaptureClient(strip);
        const int x = index * cell.cx + cell.cx / 2, y = cell.cy / 2;
        if (x >= shot.width || y >= shot.height) return '?';
        const uint8_t* p = shot.At(x, y);
        if (p[2] > 180 && p[1] < 80 && p[0] < 80) return 'r';
        if (p[1] > 180 && p[2] < 80 && p[0] < 80) return 'g';
        if (p[0] > 180 && p[2] < 80 && p[1] < 80) return 'b';
        return '?';
    };
    std::string colours;
    EXPECT_TRUE(WaitUntil(
        [&] {
            ::InvalidateRect(strip, nullptr, FALSE);
            colours = {cellColour(0), cellColour(1), cellColour(2)};
            return colours == "rgb";
        },
        20000))
        << "the cells showed " << colours;
    ClosePlayer(&player);
}

TEST_F(StripE2eTest, TheStripFollowsThePlayback) {
    // A cell every second: the play position's cell comes to the strip's left end as it plays.
    WriteStripSettings(StripSettingsWith(L"frame_time_index=2", L"frame_time_index=0"));
    const AviMovieSpec movieSpec = MovieOf(60, 320, 180);
    const std::wstring movie = WriteMovie(L"follow.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = nullptr;
    HWND strip = StartWithStripShown(&player, movie, reader, &window);
    ASSERT_NE(strip, nullptr);
    const SIZE cell{256, 144};
    // The tick tells the window each time the play position enters a new cell.
    const size_t follows = LogCount(L"WM_LIST_UPDATE");
    ASSERT_TRUE(WaitForLogCount(L"WM_LIST_UPDATE", follows + 2)) << "the strip was not told to follow";
    int first = -1, shown = -1;
    EXPECT_TRUE(WaitUntil(
        [&] {
            ::InvalidateRect(strip, nullptr, FALSE);
            shown = FrameOnView(reader, VideoWindowOf(window));
            first = CellFrame(reader, strip, 0, cell);
            // The first cell on view is the second of the play position, or the one before
            // when the position moved on since the last tick.
            return shown >= 3 * kFramesPerSecond && first % kFramesPerSecond == 0 &&
                   first / kFramesPerSecond >= shown / kFramesPerSecond - 1 && first <= shown;
        },
        20000))
        << "the picture showed " << shown << ", the strip's first cell " << first;
    ClosePlayer(&player);
}

TEST_F(StripE2eTest, AnIntervalChangeRebuildsTheStripWithoutCountingAPlayAndF3F5ChangeItsShape) {
    WriteStripSettings(kStripSettings);
    const AviMovieSpec movieSpec = MovieOf(60, 320, 180);
    const std::wstring movie = WriteMovie(L"interval.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = nullptr;
    HWND strip = StartWithStripShown(&player, movie, reader, &window);
    ASSERT_NE(strip, nullptr);
    ASSERT_TRUE(WaitForLog(L"SetContentThumbnail(graph-ready) serial=1"));
    ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(movie) == 1; }, 10000));
    const SIZE cell{256, 144};

    // Every second instead of every 10 s: the worker stops with code 1 and the cells come again.
    ASSERT_TRUE(PostKey(&player, 'P'));
    ASSERT_TRUE(WaitForLog(L"Pause: leave bPlay=1 bPause=1"));
    const size_t loads = LogCount(L"SetContent2(完了)");
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_THUMB_INTERVAL_FIRST, 0), 0));
    EXPECT_TRUE(WaitUntil([&] { return SettingInt(L"MOVIE", L"frame_time_index") == 0; }, 5000));
    // The strip shows the play position's cell first; the cell after it is one second on.
    int first = -1, second = -1;
    EXPECT_TRUE(WaitUntil(
        [&] {
            ::InvalidateRect(strip, nullptr, FALSE);
            first = CellFrame(reader, strip, 0, cell);
            second = CellFrame(reader, strip, 1, cell);
            return first >= 0 && first % kFramesPerSecond == 0 && second == first + kFramesPerSecond;
        },
        20000))
        << "cells showed frames " << first << " and " << second;
    EXPECT_EQ(LogCount(L"SetContent2(完了)"), loads) << "the movie was loaded again";
    EXPECT_EQ(PlayCountOf(movie), 1);

    // F3: the next cell size (small: 128 x 72), F5: the strip moves to the right, one column.
    ASSERT_TRUE(PostKey(&player, VK_F3));
    EXPECT_TRUE(WaitUntil([&] { return SettingInt(L"LIST", L"small_image_size") == 0; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return ClientSize(strip).cy < 72 * 2 && ClientSize(strip).cy >= 72; }, 5000))
        << "strip height " << ClientSize(strip).cy;
    ASSERT_TRUE(PostKey(&player, VK_F5));
    EXPECT_TRUE(WaitUntil([&] { return SettingInt(L"LIST", L"direction") == 3; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return ClientSize(strip).cx >= 128 && ClientSize(strip).cx < 128 * 2; }, 5000))
        << "strip width " << ClientSize(strip).cx;
    EXPECT_GT(ClientSize(strip).cy, ClientSize(strip).cx) << "a vertical strip";
    ClosePlayer(&player);
}

TEST_F(StripE2eTest, ASkipRangeAndAFavouriteSetFromTheSelectionAreStoredAndUsed) {
    // Small cells (128 x 72): cells 3 ... 5 fit on view together.
    WriteStripSettings(StripSettingsWith(L"small_image_size=2", L"small_image_size=0"));
    const AviMovieSpec movieSpec = MovieOf(90, 320, 180);
    const std::wstring movie = WriteMovie(L"skip.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = nullptr;
    HWND strip = StartWithStripShown(&player, movie, reader, &window);
    ASSERT_NE(strip, nullptr);
    HWND video = VideoWindowOf(window);
    ASSERT_TRUE(WaitForLog(L"SetContentThumbnail(graph-ready) serial=1"));
    const SIZE cell{128, 72};

    // As a user would: a click on the first cell (the strip takes the focus and the movie plays
    // from 0 s), pause, Right three times to cell 3, then Shift+Right twice: cells 3 ... 5.
    POINT firstCell{cell.cx / 2, cell.cy / 2};
    ::ClientToScreen(strip, &firstCell);
    MouseTo(firstCell);
    LeftButton(true);
    LeftButton(false);
    ASSERT_TRUE(WaitForLog(L"Play: "));
    ASSERT_TRUE(PostKey(&player, 'P'));
    ASSERT_TRUE(WaitForLog(L"Pause: leave bPlay=1 bPause=1"));
    const size_t rights = LogCount(L"WM_KEYDOWN = 00000027");
    for (int i = 0; i < 3; ++i) PressKey(VK_RIGHT);
    KeyDown(VK_SHIFT);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    KeyUp(VK_SHIFT);
    ASSERT_TRUE(WaitForLogCount(L"WM_KEYDOWN = 00000027", rights + 5)) << "the arrows did not arrive";
    // The strip menu, right-clicked on cell 4, with the mouse: "スキップフレームに設定する" (the
    // seventh of its eight items), of its twelve entries the third, "ＣＭフレーム１に設定".
    const POINT cell4{4 * cell.cx + cell.cx / 2, cell.cy / 2};
    ASSERT_TRUE(OpenMenu(player, window, strip, cell4, L""));
    ASSERT_TRUE(ChooseWithMouse(player, 6, 8, 2, 12, L"StripMenu", CMD_SET_SKIP_FIRST + 2));
    const std::wstring record = RecordOf(movie);
    ASSERT_FALSE(record.empty());
    auto skipBound = [&](const wchar_t* key) {
        Inifile_CL file;
        file.Bind(RecordOf(movie));
        return file.GetHex64(kSectionSkipFrame, key, -100);
    };
    EXPECT_TRUE(WaitUntil([&] { return skipBound(L"beg02") == 30 * kSecond && skipBound(L"end02") == 60 * kSecond; }, 5000))
        << "stored [" << skipBound(L"beg02") << ", " << skipBound(L"end02") << ")";

    // Playing into the range: from its start the picture goes on at 60 s.
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_MOVE_TO_SKIP_FIRST + 2, 0), 0));
    ASSERT_TRUE(PostKey(&player, 'P'));
    int frame = -1;
    EXPECT_TRUE(WaitForFrameOnView(reader, video, [](int f) { return f >= 60 * kFramesPerSecond; }, 15000, &frame))
        << "the picture showed " << frame;

    // A favourite at the selection's first cell, from the strip menu ("お気に入りに設定する",
    // the sixth item, its second entry ★２) and named in the prompt: stored with its name, its
    // label drawn on the cell, and offered by the picture menu. The selection goes back to
    // cell 2 first (20 s), before the skip range.
    ASSERT_TRUE(PostKey(&player, 'P'));
    // Left as far as it goes, then Right twice: the strip kept the keyboard through the menu.
    const size_t lefts = LogCount(L"WM_KEYDOWN = 00000025"), rightsNow = LogCount(L"WM_KEYDOWN = 00000027");
    for (int i = 0; i < 10; ++i) PressKey(VK_LEFT);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    ASSERT_TRUE(WaitForLogCount(L"WM_KEYDOWN = 00000025", lefts + 10));
    ASSERT_TRUE(WaitForLogCount(L"WM_KEYDOWN = 00000027", rightsNow + 2));
    ASSERT_TRUE(OpenMenu(player, window, strip, cell4, L""));
    HWND favourites = OpenSubMenuWithMouse(player, 5, 8);
    ASSERT_NE(favourites, nullptr);
    ClickMenuItem(favourites, 1, 10);
    HWND prompt = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (prompt = FindProcessWindow(player.ProcessId(), L"#32770", nullptr, true)) != nullptr; }, 10000))
        << "no name prompt";
    HWND edit = ::FindWindowExW(prompt, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"山場"));
    HWND ok = ::FindWindowExW(prompt, nullptr, L"Button", nullptr);
    ASSERT_NE(ok, nullptr);
    ::PostMessageW(ok, BM_CLICK, 0, 0);
    auto favorite = [&]() {
        Inifile_CL file;
        file.Bind(RecordOf(movie));
        return file.GetHex64(kSectionFavoritesFrame, L"fav01", -100);
    };
    EXPECT_TRUE(WaitUntil([&] { return favorite() == 20 * kSecond; }, 5000)) << favorite();
    {
        Inifile_CL file;
        file.Bind(RecordOf(movie));
        EXPECT_EQ(file.GetString(kSectionFavoritesFrame, L"fav_name01", L""), L"山場");
    }
    // "★２" in yellow on cell 2, once the strip is scrolled back to its start (it followed the
    // playback to 60 s).
    ::SendMessageW(strip, WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), 0);
    auto yellowOnCell = [&](int index) {
        ::InvalidateRect(strip, nullptr, FALSE);
        const BgrxPicture shot = ScreenPicture_CL::CaptureClient(strip);
        const int left = index * cell.cx - ::GetScrollPos(strip, SB_HORZ);
        int yellow = 0;
        for (int y = 0; y < std::min<int>(cell.cy, shot.height); ++y) {
            for (int x = std::max(left, 0); x < std::min<int>(left + cell.cx, shot.width); ++x) {
                const uint8_t* p = shot.At(x, y);
                yellow += p[2] >= 200 && p[1] >= 200 && p[0] <= 60;
            }
        }
        return yellow;
    };
    EXPECT_TRUE(WaitUntil([&] { return yellowOnCell(2) > 30; }, 5000)) << yellowOnCell(2) << " yellow pixels";
    EXPECT_LT(yellowOnCell(3), 5) << "the label is on the next cell too";
    // The picture menu's favourites (its third item) hold the one favourite set, by its number.
    ASSERT_TRUE(ChooseFromPictureMenu(player, window, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}, CMD_PLAY_FAVORITE_FIRST + 1));
    EXPECT_TRUE(WaitForFrameOnView(reader, video, [](int f) { return f >= 20 * kFramesPerSecond && f < 30 * kFramesPerSecond; }, 10000, &frame))
        << "the picture showed " << frame;
    ClosePlayer(&player);
}

TEST_F(StripE2eTest, FiftyMovieSwitchesWhileTheWorkerDecodesLeakNothing) {
    // Every cell of each movie is asked for (hidden_decode), so the worker is busy at every switch.
    WriteStripSettings(StripSettingsWith(L"[NOP]", L"hidden_decode=1\r\n[NOP]"));
    const AviMovieSpec movieSpec = MovieOf(120, 320, 180);
    const std::wstring movies[2] = {WriteMovie(L"one.avi", movieSpec), WriteMovie(L"two.avi", movieSpec)};
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = nullptr;
    HWND strip = StartWithStripShown(&player, movies[0], reader, &window);
    ASSERT_NE(strip, nullptr);
    const wchar_t kLoaded[] = L"SetContent2(完了)";
    ASSERT_TRUE(WaitForLogCount(kLoaded, 1));

    auto switchTo = [&](const std::wstring& movie, size_t loads) {
        LaunchRequest request;
        std::wmemcpy(request.path, movie.c_str(), std::min(movie.size() + 1, static_cast<size_t>(kLaunchPathUnits)));
        LRESULT accepted = 0;
        if (!player.SendCopyData(kCopyDataLaunchRequest, &request, sizeof(request), &accepted)) return false;
        return WaitForLogCount(kLoaded, loads, 20000);
    };
    ASSERT_TRUE(switchTo(movies[1], 2)) << "the first switch did not load";
    ProcessFigures afterFirst, afterLast;
    ASSERT_TRUE(ReadProcessFigures(player.ProcessHandle(), L"one.avi", &afterFirst));
    for (int i = 1; i < 50; ++i) {
        ASSERT_TRUE(switchTo(movies[(i + 1) % 2], static_cast<size_t>(i) + 2)) << "switch " << i << " did not load";
        ASSERT_TRUE(player.IsRunning());
    }
    // The player answers, and no stop left a picture behind.
    EXPECT_TRUE(WaitForFrameOnView(reader, VideoWindowOf(window), AnyFrame, 10000));
    size_t stops = 0;
    for (const std::wstring& line : SplitLines(Log())) {
        if (line.find(L"ThumbnailThread::LiveBitmaps(stop) count=") == std::wstring::npos) continue;
        ++stops;
        EXPECT_NE(line.find(L"count=0"), std::wstring::npos) << "a stop left pictures: " << std::string(line.begin(), line.end());
    }
    EXPECT_GE(stops, 50u);
    ASSERT_TRUE(ReadProcessFigures(player.ProcessHandle(), L"one.avi", &afterLast));
    std::printf("after 50 switches (%s): handles %.0f -> %.0f, private bytes %.1f MB -> %.1f MB, %zu stops\n",
                afterFirst.fromLinux ? "the Linux process's descriptors + threads, anonymous memory" : "Windows",
                afterFirst.handles, afterLast.handles, afterFirst.privateBytes / 1048576.0,
                afterLast.privateBytes / 1048576.0, stops);
    if (afterFirst.fromLinux) {
        // Wine's own filter graphs leave descriptors, threads and memory behind once they ran
        // (the graph tests measure it), the playback's and the worker's alike: a bound per
        // switch, which a graph, a strip of pictures or a frame buffer kept per switch exceeds.
        EXPECT_LE(afterLast.handles, afterFirst.handles + 49 * 8.0);
        EXPECT_LE(afterLast.privateBytes, afterFirst.privateBytes + 49 * 2.0 * 1048576);
    } else {
        EXPECT_LE(afterLast.handles, afterFirst.handles * 1.05);
        EXPECT_LE(afterLast.privateBytes, afterFirst.privateBytes * 1.05);
    }
    ClosePlayer(&player);
}

// The real player driven as a user drives it: start positions and loop play from the command
// line, a file dropped on the window, the keys, the screen capture and the open-file command.
// What the player shows is read back from the screen: every frame of the test movies shows
// its own number.

#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>  // before GDI+, which needs its property types
#include <gdiplus.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/MoviePlayWindow_CL.h"
#include "base/CommandIds.h"
#include "store/ContentRecordKeys.h"
#include "store/Inifile_CL.h"
#include "tests/e2e/PlayerFixture.h"
#include "tests/support/AviWriter_CL.h"
#include "tests/support/FrameNumberReader_CL.h"
#include "tests/support/ScreenPicture_CL.h"
#include "tests/support/TempFolder_CL.h"

#include "tests/e2e/MovieFixture.h"

namespace {

class CommandsE2eTest : public MovieFixture {};

// ---- Command line -------------------------------------------------------------------------

TEST_F(CommandsE2eTest, ExplicitStartPositionsWinOverTheSavedOneAndNoResume) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec movieSpec = MovieOf(30, 320, 240);
    const std::wstring movie = WriteMovie(L"start.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);

    struct Case {
        const char* name;
        std::vector<std::wstring> args;
        int startFrame;
    };
    // 20 s = 200,000,000 = 0x0BEBC200 in 100 ns units, high word first.
    const std::vector<Case> cases = {
        {"/StartFrame: 20 s", {movie, L"/StartFrame:00000000:0bebc200"}, 200},
        {"/start 15000 over the position saved by the first run", {movie, L"/start", L"15000"}, 150},
        {"/NoResume before /start", {movie, L"/NoResume", L"/start", L"15000"}, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerProcess_CL player;
        HWND window = StartPlayer(&player, c.args);
        ASSERT_NE(window, nullptr);
        // Frames before the start position may show while the player seeks there; the first
        // frame past them must be the start.
        int first = -1;
        ASSERT_TRUE(WaitForFrame(reader, VideoWindowOf(window), [](int f) { return f >= 20; }, 20000, &first))
            << "last frame read " << first;
        EXPECT_GE(first, c.startFrame - kFramesPerSecond);
        EXPECT_LE(first, c.startFrame + kFramesPerSecond);
        ClosePlayer(&player);
        // The later cases need a saved position that differs from their start.
        EXPECT_GE(LastPlayFrameOf(movie), 16 * kSecond);
    }
}

TEST_F(CommandsE2eTest, LoopPlaysAFolderListAgainInsteadOfClosing) {
    // "/EndClose" would close the player after the list's last entry; with "/Loop" the list
    // starts again instead.
    const AviMovieSpec movieSpec = MovieOf(3, 160, 120);
    const std::wstring first = WriteMovie(L"ep1.avi", movieSpec);
    const std::wstring second = WriteMovie(L"ep2.avi", movieSpec);
    PlayerProcess_CL player;
    ASSERT_NE(StartPlayer(&player, {m_movies.Path(), L"/Loop", L"/EndClose"}), nullptr);
    auto counts = [&] { return std::make_pair(PlayCountOf(first), PlayCountOf(second)); };
    // Both played once and one of them again.
    EXPECT_TRUE(WaitUntil(
        [&] {
            auto c = counts();
            return !player.IsRunning() || (std::min(c.first, c.second) >= 1 && std::max(c.first, c.second) >= 2);
        },
        40000))
        << "play counts " << counts().first << ", " << counts().second;
    EXPECT_TRUE(player.IsRunning()) << "the player closed at the end of the list";
    if (player.IsRunning()) ClosePlayer(&player);
}

// ---- Drop ---------------------------------------------------------------------------------

TEST_F(CommandsE2eTest, ADroppedMovieReplacesThePlayingOne) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec playingSpec = MovieOf(30, 320, 240);
    const AviMovieSpec droppedSpec = MovieOf(10, 320, 180);  // wide, so its picture is told apart
    const std::wstring playing = WriteMovie(L"playing.avi", playingSpec);
    const std::wstring dropped = WriteMovie(L"落とした 動画.avi", droppedSpec);
    PlayerProcess_CL player;
    HWND window = StartPlayingUntil(&player, {playing}, FrameNumberReader_CL(playingSpec));
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(PlayCountOf(playing), 1);

    ASSERT_TRUE(PostDrop(player, window, {dropped}));
    EXPECT_TRUE(WaitForLog(L"WM_DROPFILES"));
    EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(dropped) == 1; }, 20000)) << PlayCountOf(dropped);
    // The dropped movie's frames, from its beginning on, in its wide shape.
    const FrameNumberReader_CL droppedReader(droppedSpec);
    int frame = -1;
    double aspect = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
            const BgrxPicture picture = ScreenPicture_CL::CaptureClient(VideoWindowOf(window));
            RECT shown{};
            if (!FrameNumberReader_CL::FindPictureRect(picture, &shown)) return false;
            aspect = double(shown.right - shown.left) / double(shown.bottom - shown.top);
            frame = droppedReader.Read(picture);
            return frame >= 0 && std::abs(aspect - 16.0 / 9.0) < 0.1;
        },
        10000))
        << "frame " << frame << " shown at the aspect " << aspect;
    EXPECT_LT(frame, 6 * kFramesPerSecond);
    EXPECT_EQ(PlayCountOf(playing), 1);
    EXPECT_TRUE(player.IsRunning());
    ClosePlayer(&player);
}

// ---- Keys ---------------------------------------------------------------------------------

TEST_F(CommandsE2eTest, PlayPauseArrowAndRateKeys) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec movieSpec = MovieOf(60, 160, 120);
    const std::wstring movie = WriteMovie(L"keys.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = StartPlayingUntil(&player, {movie}, reader, [](int f) { return f >= 5; });
    ASSERT_NE(window, nullptr);
    HWND video = VideoWindowOf(window);
    int frame = -1;

    {
        SCOPED_TRACE("P pauses");
        const size_t pauses = LogCount(L"Pause: leave bPlay=1 bPause=1");
        ASSERT_TRUE(PostKey(&player, 'P'));
        ASSERT_TRUE(WaitForLogCount(L"Pause: leave bPlay=1 bPause=1", pauses + 1));
        int paused = -1;
        ASSERT_TRUE(WaitForFrame(reader, video, AnyFrame, 5000, &paused));
        // One frame may still have been on its way when the pause came.
        EXPECT_FALSE(WaitForFrame(reader, video, [&](int f) { return f > paused + 1; }, 1500, &frame))
            << "paused at " << paused << ", then showed " << frame;
    }
    {
        SCOPED_TRACE("P plays again");
        const int before = frame;
        ASSERT_TRUE(PostKey(&player, 'P'));
        EXPECT_TRUE(WaitForFrame(reader, video, [&](int f) { return f >= before + 5; }, 5000, &frame))
            << "still at " << frame << " after " << before;
    }
    {
        SCOPED_TRACE("right arrow skips 10 s forward");
        ASSERT_TRUE(WaitForFrame(reader, video, AnyFrame, 5000, &frame));
        const int before = frame;
        ASSERT_TRUE(PostKey(&player, VK_RIGHT));
        EXPECT_TRUE(WaitForFrame(reader, video, [&](int f) { return f >= before + 9 * kFramesPerSecond; }, 5000,
                                 &frame))
            << "from " << before << " to " << frame;
        EXPECT_LT(frame, before + 14 * kFramesPerSecond);
    }
    {
        SCOPED_TRACE("left arrow skips 10 s back");
        ASSERT_TRUE(WaitForFrame(reader, video, AnyFrame, 5000, &frame));
        const int before = frame;
        ASSERT_TRUE(PostKey(&player, VK_LEFT));
        EXPECT_TRUE(WaitForFrame(reader, video, [&](int f) { return f <= before - 8 * kFramesPerSecond; }, 5000,
                                 &frame))
            << "from " << before << " to " << frame;
        EXPECT_GE(frame, before - 12 * kFramesPerSecond);
    }
    {
        SCOPED_TRACE("F8 climbs the fast ladder, P goes back to normal speed and keeps playing");
        ASSERT_TRUE(PostKey(&player, VK_F8));
        EXPECT_TRUE(WaitUntil([&] { return FastRateChanges(L"1.200") == 1; }, 10000)) << "no step to 1.2";
        ASSERT_TRUE(PostKey(&player, VK_F8));
        EXPECT_TRUE(WaitUntil([&] { return FastRateChanges(L"1.400") == 1; }, 10000)) << "no step to 1.4";
        const size_t pauses = LogCount(L"Pause: leave");
        ASSERT_TRUE(PostKey(&player, 'P'));
        EXPECT_TRUE(WaitUntil([&] { return FastRateChanges(L"1.000") == 1; }, 10000)) << "P did not return to 1.0";
        ASSERT_TRUE(WaitForFrame(reader, video, AnyFrame, 5000, &frame));
        const int before = frame;
        EXPECT_TRUE(WaitForFrame(reader, video, [&](int f) { return f >= before + 5; }, 5000, &frame))
            << "not playing after P at a raised rate";
        EXPECT_EQ(LogCount(L"Pause: leave"), pauses) << "P at a raised rate paused instead";
    }
    ClosePlayer(&player);
}

TEST_F(CommandsE2eTest, VolumeMuteFullScreenAndRatingKeys) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec movieSpec = MovieOf(60, 160, 120);
    const std::wstring movie = WriteMovie(L"keys.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = StartPlayingUntil(&player, {movie}, reader);
    ASSERT_NE(window, nullptr);
    HWND video = VideoWindowOf(window);
    ASSERT_EQ(PlayCountOf(movie), 1);

    int volumeTextPx = 0;
    {
        SCOPED_TRACE("numpad + and - move the stored volume step");
        const int start = SettingInt(L"MOVIE", L"volume");
        const int expectedStart = start == -100 ? 16 : start;  // a fresh settings file holds the default
        ASSERT_TRUE(PostKey(&player, VK_ADD));
        EXPECT_TRUE(WaitUntil([&] { return SettingInt(L"MOVIE", L"volume") == expectedStart + 1; }, 5000))
            << SettingInt(L"MOVIE", L"volume");
        EXPECT_TRUE(WaitUntil([&] { return (volumeTextPx = MessageWidthPx(video)) > 0; }, 3000))
            << "no volume text";
        ASSERT_TRUE(PostKey(&player, VK_SUBTRACT));
        ASSERT_TRUE(PostKey(&player, VK_SUBTRACT));
        EXPECT_TRUE(WaitUntil([&] { return SettingInt(L"MOVIE", L"volume") == expectedStart - 1; }, 5000))
            << SettingInt(L"MOVIE", L"volume");
    }
    {
        SCOPED_TRACE("M mutes with its text and M again unmutes, taking the text away");
        ASSERT_TRUE(WaitUntil([&] { return MessageWidthPx(video) == 0; }, 6000)) << "the volume text stayed";
        ASSERT_TRUE(PostKey(&player, 'M'));
        int muteTextPx = 0;
        EXPECT_TRUE(WaitUntil([&] { return (muteTextPx = MessageWidthPx(video)) > 0; }, 3000)) << "no mute text";
        // "ＭＵＴＥ" is four full-width letters, the volume text eight.
        if (volumeTextPx > 0 && muteTextPx > 0) {
            EXPECT_NEAR(double(muteTextPx) / volumeTextPx, 0.5, 0.15) << muteTextPx << " vs " << volumeTextPx;
        }
        ASSERT_TRUE(PostKey(&player, 'M'));
        // Cleared by the unmute itself, well before its display time of about 3 s runs out.
        EXPECT_TRUE(WaitUntil([&] { return MessageWidthPx(video) == 0; }, 1500)) << "the mute text stayed";
    }
    {
        SCOPED_TRACE("F4 fills the screen and F4 again gives the window back");
        RECT windowed{};
        ::GetWindowRect(window, &windowed);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor));
        RECT rect{};
        ASSERT_TRUE(PostKey(&player, VK_F4));
        EXPECT_TRUE(WaitUntil(
            [&] {
                ::GetWindowRect(window, &rect);
                return rect.left <= monitor.rcWork.left && rect.top <= monitor.rcWork.top &&
                       rect.right >= monitor.rcWork.right && rect.bottom >= monitor.rcWork.bottom;
            },
            10000))
            << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
        EXPECT_EQ(::GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, 0);
        ASSERT_TRUE(PostKey(&player, VK_F4));
        EXPECT_TRUE(WaitUntil(
            [&] {
                ::GetWindowRect(window, &rect);
                return ::EqualRect(&rect, &windowed) != FALSE;
            },
            10000))
            << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
        EXPECT_EQ(::GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    }
    {
        SCOPED_TRACE("digits 0-5 set the star rating of the record");
        struct Key {
            WPARAM key;
            int stars;
        };
        for (const Key& k : {Key{'3', 3}, Key{VK_NUMPAD5, 5}, Key{'0', 0}, Key{VK_NUMPAD1, 1}}) {
            ASSERT_TRUE(PostKey(&player, k.key));
            EXPECT_TRUE(WaitUntil([&] { return RecordInt(movie, kKeyStarCount) == k.stars; }, 5000))
                << "key 0x" << std::hex << k.key << ": star_count " << std::dec << RecordInt(movie, kKeyStarCount);
        }
        // 6 is no rating: after it and an unused key behind it, the rating is unchanged.
        ASSERT_TRUE(PostKey(&player, '6'));
        ASSERT_TRUE(PostKey(&player, 'X'));
        ASSERT_TRUE(WaitForLog(L"KeyHandler(0x58)"));
        EXPECT_EQ(RecordInt(movie, kKeyStarCount), 1);
    }
    ClosePlayer(&player);
    EXPECT_EQ(RecordInt(movie, kKeyStarCount), 1);
}

// ---- Screen capture -------------------------------------------------------------------------

// GDI+ for the whole test program, started on first use.
void StartGdiplus() {
    static ULONG_PTR token = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR started = 0;
        Gdiplus::GdiplusStartup(&started, &input, nullptr);
        return started;
    }();
    (void)token;
}

// Decodes an image file into top-down BGRX rows; empty when it does not decode.
BgrxPicture DecodeImage(const std::wstring& path) {
    StartGdiplus();
    BgrxPicture picture;
    Gdiplus::Bitmap bitmap(path.c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return picture;
    const int width = static_cast<int>(bitmap.GetWidth());
    const int height = static_cast<int>(bitmap.GetHeight());
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB, &data) != Gdiplus::Ok) return picture;
    picture.width = width;
    picture.height = height;
    picture.bgrx.resize(size_t(width) * size_t(height) * 4);
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const uint8_t*>(data.Scan0) + ptrdiff_t(y) * data.Stride;
        std::copy(row, row + size_t(width) * 4, picture.bgrx.begin() + ptrdiff_t(y) * width * 4);
    }
    bitmap.UnlockBits(&data);
    return picture;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

// "capture-YYYY-MM-DD-hh-mm-ss" of a capture's name, checked digit by digit; empty when the
// name has another form. *sequence gets the "-N" behind the time (1 without one).
std::wstring CaptureStamp(const std::wstring& name, int* sequence) {
    const std::wstring prefix = L"capture-";
    const std::wstring pattern = L"dddd-dd-dd-dd-dd-dd";
    if (name.compare(0, prefix.size(), prefix) != 0 || name.size() < prefix.size() + pattern.size() + 4) return {};
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = name[prefix.size() + i];
        if (pattern[i] == L'd' ? !iswdigit(c) : c != L'-') return {};
    }
    std::wstring rest = name.substr(prefix.size() + pattern.size());
    if (rest.size() < 4 || rest.compare(rest.size() - 4, 4, L".png") != 0) return {};
    rest.resize(rest.size() - 4);
    *sequence = 1;
    if (!rest.empty()) {
        if (rest[0] != L'-' || rest.size() < 2 || !std::all_of(rest.begin() + 1, rest.end(), iswdigit)) return {};
        *sequence = std::stoi(rest.substr(1));
    }
    return name.substr(0, prefix.size() + pattern.size());
}

std::wstring StampOf(const SYSTEMTIME& t) {
    wchar_t text[64];
    std::swprintf(text, 64, L"capture-%04d-%02d-%02d-%02d-%02d-%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

TEST_F(CommandsE2eTest, ScreenCaptureSavesTheShownPictureAsPng) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec movieSpec = MovieOf(30, 320, 240);
    const std::wstring movie = WriteMovie(L"capture.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {movie});
    ASSERT_NE(window, nullptr);
    HWND video = VideoWindowOf(window);
    ASSERT_TRUE(WaitForFrame(reader, video, [](int f) { return f >= 5; }, 20000));
    // Paused, so the capture and the screen show the same frame.
    ASSERT_TRUE(PostKey(&player, 'P'));
    ASSERT_TRUE(WaitForLog(L"Pause: leave bPlay=1 bPause=1"));
    int shown = -1;
    ASSERT_TRUE(WaitForFrame(reader, video, AnyFrame, 5000, &shown));
    int later = shown;
    if (WaitForFrame(reader, video, [&](int f) { return f != shown; }, 1000, &later)) {
        shown = later;  // the frame that was on its way when the pause came
    }
    RECT client{};
    ASSERT_TRUE(::GetClientRect(video, &client));

    const std::wstring folder = DataPath(L"capture");
    ASSERT_TRUE(FilesIn(folder).empty());
    // Both captures within one second: start right after a second begins.
    SYSTEMTIME now{};
    ASSERT_TRUE(WaitUntil(
        [&] {
            ::GetLocalTime(&now);
            return now.wMilliseconds < 200;
        },
        3000));
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_CAPTURE, 0), 0));
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_CAPTURE, 0), 0));
    std::vector<std::wstring> names;
    ASSERT_TRUE(WaitUntil([&] { return (names = FilesIn(folder)).size() >= 2; }, 10000))
        << "captures: " << names.size();
    ASSERT_EQ(names.size(), 2u);

    int firstSequence = 0, secondSequence = 0;
    std::wstring firstStamp = CaptureStamp(names[0], &firstSequence);
    std::wstring secondStamp = CaptureStamp(names[1], &secondSequence);
    ASSERT_FALSE(firstStamp.empty()) << ::testing::PrintToString(names);
    ASSERT_FALSE(secondStamp.empty()) << ::testing::PrintToString(names);
    // By name "-2.png" sorts before ".png": order by time, then sequence.
    if (std::make_pair(secondStamp, secondSequence) < std::make_pair(firstStamp, firstSequence)) {
        std::swap(firstStamp, secondStamp);
        std::swap(firstSequence, secondSequence);
    }
    EXPECT_EQ(firstStamp, StampOf(now)) << "named after another time";
    if (firstStamp == secondStamp) {
        EXPECT_EQ(firstSequence, 1);
        EXPECT_EQ(secondSequence, 2);
    } else {
        ADD_FAILURE() << "the two captures were not made within one second: " << ::testing::PrintToString(names);
    }

    const BgrxPicture onScreen = ScreenPicture_CL::CaptureClient(video);
    for (const std::wstring& name : names) {
        SCOPED_TRACE(::testing::PrintToString(name));
        const BgrxPicture saved = DecodeImage(folder + L"\\" + name);
        ASSERT_FALSE(saved.IsEmpty()) << "does not decode";
        // The picture at the size it is shown at: the window's picture without its bars.
        RECT savedRect{}, screenRect{};
        ASSERT_TRUE(FrameNumberReader_CL::FindPictureRect(saved, &savedRect));
        ASSERT_TRUE(FrameNumberReader_CL::FindPictureRect(onScreen, &screenRect));
        EXPECT_NEAR(saved.width, screenRect.right - screenRect.left, 2);
        EXPECT_NEAR(saved.height, screenRect.bottom - screenRect.top, 2);
        EXPECT_LE(saved.width, client.right - client.left);
        EXPECT_LE(saved.height, client.bottom - client.top);
        EXPECT_EQ(reader.Read(saved), shown);
        // The background colour matches the screen's, above the digits and away from the
        // corner mark and the player's bands and texts.
        const uint8_t* a = saved.At(savedRect.left + (savedRect.right - savedRect.left) * 3 / 4,
                                    savedRect.top + (savedRect.bottom - savedRect.top) / 8);
        const uint8_t* b = onScreen.At(screenRect.left + (screenRect.right - screenRect.left) * 3 / 4,
                                       screenRect.top + (screenRect.bottom - screenRect.top) / 8);
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(a[channel], b[channel], 12) << "channel " << channel;
        }
    }
    ClosePlayer(&player);
}

// ---- Open-file command ----------------------------------------------------------------------

// The player's dialog window with this caption, or null.
// The file name box of a common open-file dialog: the edit control of its file name combo
// box (cmb13) in the newer layout, or its own edit control (edt1) in the older one.
HWND FileNameBox(HWND dialog) {
    constexpr int kFileNameCombo = 0x47C;
    constexpr int kFileNameEdit = 0x480;
    if (HWND combo = ::GetDlgItem(dialog, kFileNameCombo)) {
        struct Search {
            HWND found;
        } search{nullptr};
        ::EnumChildWindows(
            combo,
            [](HWND child, LPARAM parameter) -> BOOL {
                wchar_t className[16] = {};
                ::GetClassNameW(child, className, 16);
                if (std::wcscmp(className, L"Edit") != 0) return TRUE;
                reinterpret_cast<Search*>(parameter)->found = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
    }
    return ::GetDlgItem(dialog, kFileNameEdit);
}

// Opens the dialog with the command, types the name into it and presses OK.
void ChooseInOpenDialog(PlayerProcess_CL* player, const std::wstring& typed) {
    ASSERT_TRUE(player->PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_OPEN_FILE, 0), 0));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            dialog = FindDialog(player->ProcessId(), L"再生したい動画ファイルを選択してください");
            return dialog != nullptr;
        },
        10000))
        << "no open-file dialog with the expected title";
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FileNameBox(dialog)) != nullptr; }, 5000)) << "no file name box";
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()), SMTO_ABORTIFHUNG,
                                      5000, &answer));
    ASSERT_TRUE(::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK))));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 10000)) << "the dialog stayed open";
}

TEST_F(CommandsE2eTest, OpenCommandPlaysTheChosenFileAndRemembersItsFolder) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec movieSpec = MovieOf(10, 320, 240);
    const std::wstring first = WriteMovie(L"opened movie.avi", movieSpec);
    const std::wstring second = WriteMovie(L"second.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {});
    ASSERT_NE(window, nullptr);
    {
        SCOPED_TRACE("a full path");
        ChooseInOpenDialog(&player, first);
        EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(first) == 1; }, 20000)) << PlayCountOf(first);
        EXPECT_TRUE(WaitForFrame(reader, VideoWindowOf(window), AnyFrame, 10000)) << "no picture of the movie";
        Inifile_CL settings;
        settings.Bind(DataPath(L"Lumikino.ini"));
        EXPECT_EQ(settings.GetString(L"RESUME", L"last_open_file_folder", L""), m_movies.Path());
    }
    {
        SCOPED_TRACE("a bare name, found in the remembered folder the dialog starts in");
        ChooseInOpenDialog(&player, L"second.avi");
        EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(second) == 1; }, 20000)) << PlayCountOf(second);
        EXPECT_EQ(PlayCountOf(first), 1);
    }
    ClosePlayer(&player);
}

}  // namespace

// The picture on the real player while its window is resized again and again during a 1080p
// movie: the Direct3D device stays with the user-interface thread, nothing deadlocks, handles
// do not pile up, and the movie is still shown at the end.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "media/ControlBar_CL.h"
#include "tests/e2e/MovieFixture.h"
#include "tests/support/ProcessFigures.h"
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
    ProcessFigures warm, after;
    ASSERT_TRUE(ReadProcessFigures(player.ProcessHandle(), L"full-hd.avi", &warm));
    const DWORD start = ::GetTickCount();
    for (int round = 20; round < 200; ++round) {
        ASSERT_TRUE(resize(round)) << round;
    }
    std::printf("180 resizes took %lu ms\n", static_cast<unsigned long>(::GetTickCount() - start));
    ASSERT_TRUE(ReadProcessFigures(player.ProcessHandle(), L"full-hd.avi", &after));
    // Flat: a handle or two may come and go with the playback's own threads.
    EXPECT_LE(after.handles, warm.handles + 8) << "handles after 20 resizes " << warm.handles << ", after 200 "
                                               << after.handles;

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

// ---- The overlay without the DirectX runtime ---------------------------------------------

bool NearWhite(const uint8_t* bgrx) { return bgrx[0] > 225 && bgrx[1] > 225 && bgrx[2] > 225; }
// White text, antialiased: lighter than anything of the picture shows through the grey box.
bool TextWhite(const uint8_t* bgrx) { return bgrx[0] > 190 && bgrx[1] > 190 && bgrx[2] > 190; }

// What the title box shows in a picture: its outer size (its white frame runs along the top
// and the left edge from the corner) and the bounds of the white text inside it.
struct TitleBoxSeen {
    int width = 0, height = 0;
    RECT text{0, 0, 0, 0};
    int textPixels = 0;
};

TitleBoxSeen SeeTitleBox(const BgrxPicture& picture) {
    TitleBoxSeen seen;
    while (seen.width < picture.width && NearWhite(picture.At(seen.width, 0))) ++seen.width;
    while (seen.height < picture.height && NearWhite(picture.At(0, seen.height))) ++seen.height;
    RECT& text = seen.text;
    text = RECT{seen.width, seen.height, 0, 0};
    for (int y = 3; y < seen.height - 3; ++y) {
        for (int x = 3; x < seen.width - 3; ++x) {
            if (!TextWhite(picture.At(x, y))) continue;
            ++seen.textPixels;
            text.left = std::min<LONG>(text.left, x);
            text.top = std::min<LONG>(text.top, y);
            text.right = std::max<LONG>(text.right, x + 1);
            text.bottom = std::max<LONG>(text.bottom, y + 1);
        }
    }
    return seen;
}

int ChangedPixels(const BgrxPicture& a, const BgrxPicture& b, const RECT& r) {
    int changed = 0;
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, std::min(a.height, b.height)); ++y) {
        for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, std::min(a.width, b.width)); ++x) {
            int most = 0;
            for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(int(a.At(x, y)[c]) - int(b.At(x, y)[c])));
            changed += most > 48;
        }
    }
    return changed;
}

class OverlayE2eTest : public MovieFixture {
protected:
    // Plays the movie with the title and time shown, pauses it, and returns what the paused
    // picture shows; the mute item's place must change with M (the control bar is drawn).
    // environment: variables set for this player only.
    BgrxPicture PausedOverlay(const std::vector<std::pair<const wchar_t*, std::wstring>>& environment,
                              bool* barDrawn, BgrxPicture* muted) {
        std::vector<std::pair<std::wstring, std::wstring>> previous;
        for (const auto& [name, value] : environment) {
            wchar_t old[512] = {};
            const DWORD length = ::GetEnvironmentVariableW(name, old, 512);
            previous.emplace_back(name, length > 0 && length < 512 ? old : L"\x1");
            ::SetEnvironmentVariableW(name, value.c_str());
        }
        PlayerProcess_CL player;
        HWND window = StartPlayer(&player, {m_movie, L"/NoResume"});
        for (const auto& [name, value] : previous) {
            ::SetEnvironmentVariableW(name.c_str(), value == L"\x1" ? nullptr : value.c_str());
        }
        if (!window) {
            ADD_FAILURE() << "no player window";
            return BgrxPicture();
        }
        EXPECT_TRUE(WaitForLog(L"Play: IMediaControl::Run"));
        HWND video = VideoWindowOf(window);
        // The box grows a line for the time once frames tell the play position.
        EXPECT_TRUE(WaitUntil(
            [&] {
                const TitleBoxSeen box = SeeTitleBox(ScreenPicture_CL::CaptureClient(video));
                return box.height > 32 && box.textPixels > 40;
            },
            10000));
        EXPECT_TRUE(PostKey(&player, 'P'));
        EXPECT_TRUE(WaitForLog(L"Pause: leave bPlay=1 bPause=1"));
        BgrxPicture paused = ScreenPicture_CL::CaptureClient(video);
        RECT client{};
        ::GetClientRect(video, &client);
        ControlBarState state;
        state.contentLoaded = state.playbackStarted = true;
        state.volumeStep = 16;
        ControlBar_CL bar;
        bar.Layout(client, state);
        const RECT mute = bar.WindowRect(static_cast<size_t>(bar.IndexOf(CMD_MUTE)));
        EXPECT_TRUE(PostKey(&player, 'M'));
        *barDrawn = WaitUntil(
            [&] {
                *muted = ScreenPicture_CL::CaptureClient(video);
                return ChangedPixels(paused, *muted, mute) > 40;
            },
            5000);
        ClosePlayer(&player);
        return paused;
    }

    std::wstring m_movie;
};

TEST_F(OverlayE2eTest, WithoutD3dxTheTitleTimeAndControlBarShowAsWithIt) {
    WriteSettings(L"[SETTING]\r\nenable_title=1\r\nenable_playtime=1\r\nlog_detail_other=1\r\n");
    // One picture for 30 seconds: both players stand on the same frame behind their overlay.
    AviMovieSpec movieSpec = MovieOf(30, 320, 240);
    movieSpec.frameRateNum = 1;
    movieSpec.frameRateDen = 30;
    movieSpec.frameCount = 1;
    m_movie = WriteMovie(L"overlay.avi", movieSpec);
    wchar_t overrides[256] = {};
    ::GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 256);
    const std::wstring withoutD3dx = std::wstring(overrides) + (overrides[0] ? L";" : L"") + L"d3dx9_43=d";

    bool barWithout = false, barWith = false;
    BgrxPicture barPictureWithout, barPictureWith;
    const BgrxPicture without = PausedOverlay({{L"WINEDLLOVERRIDES", withoutD3dx}}, &barWithout, &barPictureWithout);
    ASSERT_FALSE(HasFailure());
    const TitleBoxSeen boxWithout = SeeTitleBox(without);
    EXPECT_GE(boxWithout.width, 260) << "no title box";
    EXPECT_GT(boxWithout.height, 32) << "the box has no room for the time";
    EXPECT_GT(boxWithout.textPixels, 40) << "no title or time text";
    EXPECT_TRUE(barWithout) << "the control bar's mute picture did not change";

    // The same overlay drawn through D3DX, where it is installed, stands in the same places.
    const BgrxPicture with = PausedOverlay({{L"LK_OVERLAY", L"d3dx"}}, &barWith, &barPictureWith);
    const TitleBoxSeen boxWith = SeeTitleBox(with);
    EXPECT_TRUE(barWith);
    EXPECT_NEAR(boxWithout.height, boxWith.height, 2);
    EXPECT_NEAR(boxWithout.width, boxWith.width, 2);
    EXPECT_NEAR(boxWithout.text.left, boxWith.text.left, 2);
    EXPECT_NEAR(boxWithout.text.top, boxWith.text.top, 2);
    EXPECT_NEAR(boxWithout.text.right, boxWith.text.right, 2);
    EXPECT_NEAR(boxWithout.text.bottom, boxWith.text.bottom, 2);
    // The control bar's band along the bottom: within 8 levels on 99% of its pixels.
    ASSERT_EQ(barPictureWithout.width, barPictureWith.width);
    ASSERT_EQ(barPictureWithout.height, barPictureWith.height);
    int distant = 0, total = 0;
    for (int y = barPictureWith.height - 54; y < barPictureWith.height; ++y) {
        for (int x = 0; x < barPictureWith.width; ++x, ++total) {
            for (int c = 0; c < 3; ++c) {
                if (std::abs(int(barPictureWithout.At(x, y)[c]) - int(barPictureWith.At(x, y)[c])) > 8) {
                    ++distant;
                    break;
                }
            }
        }
    }
    EXPECT_LE(distant * 100, total) << distant << " of " << total << " bar pixels differ by more than 8 levels";
}

}  // namespace

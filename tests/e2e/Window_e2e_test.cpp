// The player's window under the real mouse: dragging it by its picture, resizing the
// borderless display by its edges, the single click that plays or pauses and the double click
// that does not, the maximise button, and the transparent display.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "base/CommandIds.h"
#include "tests/e2e/PlayerFixture.h"
#include "tests/support/AviWriter_CL.h"
#include "tests/support/TempFolder_CL.h"
#include "tests/support/UserInput.h"

namespace {

constexpr wchar_t kPlayPauseKeyLine[] = L"KeyHandler(0x50)";

RECT WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// A point on the bare picture: clear of the logo in the middle (shown until the movie runs) and
// of the control bar's rows along the top and bottom edges.
POINT BarePicturePoint(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    POINT point{client.right / 5, client.bottom * 2 / 5};
    ::ClientToScreen(window, &point);
    return point;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

int CountOf(const std::wstring& text, const std::wstring& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

class WindowE2eTest : public PlayerFixture {
protected:
    void SetUp() override {
        // The key trace shows which commands the clicks turned into; the graph trace when the
        // movie is loaded.
        WriteSettings(L"[SETTING]\r\nlog_detail_other=1\r\nlog_detail_graph=1\r\nlog_detail_resize=1\r\ntransparent=150\r\n");
        AviMovieSpec movieSpec;
        movieSpec.width = 320;
        movieSpec.height = 240;
        movieSpec.frameRateNum = 10;
        movieSpec.frameCount = 300;
        m_movie = m_movies.Join(L"window.avi");
        std::string error;
        ASSERT_TRUE(AviWriter_CL::Write(m_movie, movieSpec, &error)) << error;
    }

    // Starts the player on the movie and waits until it plays.
    HWND StartPlaying() {
        if (!m_player.Start({m_movie})) return nullptr;
        HWND window = m_player.WaitForMainWindow(kStartTimeoutMs);
        if (!window) return nullptr;
        if (!WaitForLog(L"SetContent2(完了)", 20000)) return nullptr;
        return window;
    }

    void Close() {
        DWORD exitCode = 1;
        ASSERT_TRUE(m_player.PostClose());
        EXPECT_TRUE(m_player.WaitForExit(kExitTimeoutMs, &exitCode));
    }

    TempFolder_CL m_movies;
    std::wstring m_movie;
    PlayerProcess_CL m_player;
};

TEST_F(WindowE2eTest, DraggingThePictureMovesTheWindowAndIsNoClick) {
    HWND window = StartPlaying();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 10000));
    const RECT before = WindowRect(window);
    const POINT grab = BarePicturePoint(window);
    MouseTo(grab);
    LeftButton(true);
    for (int step = 1; step <= 5; ++step) MouseTo(POINT{grab.x + step * 8, grab.y + step * 6});
    ASSERT_TRUE(WaitUntil(
        [&] {
            RECT now = WindowRect(window);
            return now.left == before.left + 40 && now.top == before.top + 30;
        },
        5000))
        << "window at " << WindowRect(window).left << "," << WindowRect(window).top << "\n" << Narrow(Log());
    LeftButton(false);
    const RECT after = WindowRect(window);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    // The button came up away from where it went down: no play/pause follows.
    MouseTo(POINT{after.left + 5, after.top + 5});
    EXPECT_FALSE(WaitForLog(kPlayPauseKeyLine, 1000));
    Close();
}

TEST_F(WindowE2eTest, ASingleClickPlaysOrPausesAndADoubleClickDoesNot) {
    HWND window = StartPlaying();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 10000));
    const POINT centre = BarePicturePoint(window);
    MouseTo(centre);
    // A double click first: neither press may toggle playback.
    LeftButton(true);
    LeftButton(false);
    LeftButton(true);
    LeftButton(false);
    EXPECT_FALSE(WaitForLog(kPlayPauseKeyLine, 1500)) << "the double click acted as a click";
    // Then one click, well apart from the double click.
    LeftButton(true);
    LeftButton(false);
    EXPECT_TRUE(WaitForLog(kPlayPauseKeyLine, 5000));
    EXPECT_EQ(CountOf(Log(), kPlayPauseKeyLine), 1);
    Close();
}

TEST_F(WindowE2eTest, TheBorderlessDisplayResizesByItsRightEdgeAndStopsAtTheSmallestSize) {
    HWND window = StartPlaying();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 10000));
    ASSERT_TRUE(m_player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_BORDERLESS_ON, 0)));
    ASSERT_TRUE(WaitUntil([&] { return (::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == 0; }, 5000));

    // Grow by the right edge, half way down (the control bar's items lie along the bottom;
    // a press on one of them is a press on the item, not on the edge).
    const RECT before = WindowRect(window);
    const LONG middle = (before.top + before.bottom) / 2;
    MouseTo(POINT{before.right - 40, middle});
    MouseTo(POINT{before.right - 2, middle});  // the pointer now lies on the edge band
    LeftButton(true);
    // In steps the window follows before the next one: the test display has no window manager
    // and delivers no pointer moves beyond the player's windows, even to a captured one.
    for (LONG step = 1; step <= 24; ++step) {
        MouseTo(POINT{before.right - 2 + step, middle + step});
        ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).right == before.right + step; }, 5000))
            << "right edge at " << WindowRect(window).right << ", was " << before.right << " step " << step;
    }
    LeftButton(false);
    const RECT grown = WindowRect(window);
    EXPECT_EQ(grown.left, before.left);
    EXPECT_EQ(grown.top, before.top);
    EXPECT_EQ(grown.bottom, before.bottom);  // a right-edge drag leaves the height alone

    // Shrink far below the smallest width by the same edge (the pointer stays over the window):
    // it stops at 480.
    MouseTo(POINT{grown.right - 40, middle});
    MouseTo(POINT{grown.right - 2, middle});
    LeftButton(true);
    // In steps, as the growth above: each step waits until the window followed it. Past the
    // smallest width the right edge stays where 480 puts it.
    for (LONG x = grown.right - 10; x >= grown.left + 20; x -= 8) {
        MouseTo(POINT{x, middle});
        const LONG expected = std::max<LONG>(480, x + 2 - grown.left);
        ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).right - WindowRect(window).left == expected; }, 5000))
            << "width " << WindowRect(window).right - WindowRect(window).left << ", expected " << expected;
    }
    ASSERT_EQ(WindowRect(window).right - WindowRect(window).left, 480)
        << "width now " << WindowRect(window).right - WindowRect(window).left;
    LeftButton(false);
    Close();
}

TEST_F(WindowE2eTest, TheMaximiseButtonMeansFullScreenAndTransparencyFollowsItsCommands) {
    HWND window = StartPlaying();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 10000));

    ASSERT_TRUE(m_player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_TRANSPARENT_ON, 0)));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0 &&
                   ::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) != 0;
        },
        5000));
    EXPECT_EQ(alpha, 150);  // the "transparent" setting
    // Clicks still reach the window unless mouse_transparent says otherwise.
    EXPECT_EQ(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
    ASSERT_TRUE(m_player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_TRANSPARENT_OFF, 0)));
    EXPECT_TRUE(WaitUntil([&] { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) == 0; }, 5000));

    ASSERT_TRUE(m_player.PostToWindow(WM_SYSCOMMAND, SC_MAXIMIZE));
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    ASSERT_TRUE(WaitUntil(
        [&] {
            RECT now = WindowRect(window);
            return now.right - now.left >= screenWidth && (::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == 0;
        },
        5000));
    EXPECT_TRUE(WaitForLog(L"フルスクリーン", 1000));
    Close();
}

TEST_F(WindowE2eTest, IdleHidesTheCursorOverThePictureAndAMoveBringsItBack) {
    WriteSettings(L"[SETTING]\r\nlog_detail_graph=1\r\n[NOP]\r\nmouse_hide=1\r\ncountup_time=0\r\n");  // 3 s
    HWND window = StartPlaying();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 10000));
    const POINT rest = BarePicturePoint(window);
    MouseTo(rest);
    // The cursor state read here is the one of the window in front: the player's.
    auto cursorShown = [] {
        CURSORINFO info{};
        info.cbSize = sizeof(info);
        return ::GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) != 0;
    };
    // The player has the cursor shown before it goes idle (the state may still be settling from
    // the start, when the pointer first lands on the window).
    ASSERT_TRUE(WaitUntil(cursorShown, 3000)) << "the cursor was hidden before the player went idle";
    EXPECT_TRUE(WaitUntil([&] { return !cursorShown(); }, 15000)) << "the cursor stayed while idle";
    MouseTo(POINT{rest.x + 15, rest.y + 10});
    EXPECT_TRUE(WaitUntil(cursorShown, 5000)) << "a move did not bring the cursor back";
    Close();
}

TEST_F(WindowE2eTest, ASecondStartWithFullScreenTakesTheRunningPlayerToFullScreen) {
    HWND window = StartPlaying();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 10000));
    ASSERT_NE(::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION, 0);
    PlayerProcess_CL second;
    ASSERT_TRUE(second.Start({m_movie, L"/FullScreen"}));
    DWORD exitCode = 1;
    ASSERT_TRUE(second.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    EXPECT_TRUE(WaitUntil(
        [&] {
            RECT now = WindowRect(window);
            return now.right - now.left >= screenWidth && (::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == 0;
        },
        10000))
        << "the running player stayed in its window";
    Close();
}

}  // namespace

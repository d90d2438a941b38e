#include "app/input/PictureMouse_CL.h"

#include <gtest/gtest.h>

namespace {

// A 640 x 480 window; its client area starts at (108, 130), the video window's at (108, 160).
constexpr RECT kWindow{100, 100, 740, 580};
constexpr POINT kCorner{731, 569};  // the main client's last pixel, below the video window

MouseFacts At(POINT screen, WPARAM wParam = 0, bool borderless = false, bool fullScreen = false) {
    MouseFacts f;
    f.screenPoint = screen;
    f.wParam = wParam;
    f.videoPoint = POINT{screen.x - 108, screen.y - 160};
    f.videoClientPx = SIZE{624, 380};
    f.mainPoint = POINT{screen.x - 108, screen.y - 130};
    f.mainClientPx = SIZE{624, 440};
    f.windowRect = kWindow;
    f.frameWidthPx = 4;
    f.borderless = borderless;
    f.fullScreen = fullScreen;
    return f;
}

enum Flags { kEdge = 1, kModal = 2, kBarItem = 4, kWheel = 8, kFullScreen = 16 };
constexpr WindowChange kNoChange = WindowChange::kNone, kMove = WindowChange::kMove, kResize = WindowChange::kResize;

// Press at `press` (after resting on a borderless edge there with kEdge), move to `to`, release.
TEST(PictureMouseTest, PressMoveAndReleaseDragClickOrDoNothing) {
    struct Case {
        const char* what;
        POINT press;
        int flags;
        POINT to, release;
        bool drags;
        WindowChange change;
        RECT rect;
        bool click;
    } cases[] = {
        {"click", {300, 300}, 0, {300, 300}, {300, 300}, true, kMove, kWindow, true},
        {"drag", {300, 300}, 0, {250, 420}, {250, 420}, true, kMove, {50, 220, 690, 700}, false},
        {"modal", {300, 300}, kModal, {250, 420}, {300, 300}, false, kNoChange, {}, false},
        {"bar item", {300, 300}, kBarItem, {250, 420}, {300, 300}, false, kNoChange, {}, false},
        {"above the video", {300, 150}, 0, {250, 420}, {300, 150}, false, kNoChange, {}, false},
        {"wheel while held", {300, 300}, kWheel, {300, 300}, {300, 300}, true, kMove, kWindow, false},
        {"full screen", {300, 300}, kFullScreen, {250, 420}, {300, 300}, true, kNoChange, {}, true},
        {"right edge", {731, 300}, kEdge, {831, 900}, {0, 0}, true, kResize, {100, 100, 840, 580}, false},
        {"bottom edge", {300, 569}, kEdge, {900, 619}, {0, 0}, true, kResize, {100, 100, 740, 630}, false},
        {"corner to 480x360", kCorner, kEdge, {0, 0}, {0, 0}, true, kResize, {100, 100, 580, 460}, false},
        {"corner, full screen", kCorner, kEdge | kFullScreen, {0, 0}, {0, 0}, true, kNoChange, {}, false},
        {"corner, modal", kCorner, kEdge | kModal, {0, 0}, {0, 0}, false, kNoChange, {}, false},
    };
    for (const Case& c : cases) {
        PictureMouse_CL mouse;
        if (c.flags & kEdge) mouse.OnMouseMove(At(c.press, 0, true));
        MouseFacts press = At(c.press, MK_LBUTTON);
        press.modalOpen = (c.flags & kModal) != 0;
        press.overBarItem = (c.flags & kBarItem) != 0;
        const MouseActions down = mouse.OnLeftButtonDown(press);
        EXPECT_EQ(down.captureMouse && down.focusWindow, c.drags) << c.what;
        if (c.flags & kWheel) mouse.OnMouseWheel(At(c.press, MAKEWPARAM(MK_LBUTTON, WHEEL_DELTA)), 5);
        const MouseActions move = mouse.OnMouseMove(At(c.to, MK_LBUTTON, false, (c.flags & kFullScreen) != 0));
        EXPECT_EQ(move.windowChange, c.change) << c.what;
        EXPECT_TRUE(EqualRect(&move.windowRect, &c.rect)) << c.what;
        const MouseActions up = mouse.OnLeftButtonUp(At(c.release));
        EXPECT_EQ(up.releaseCapture, c.drags) << c.what;
        EXPECT_EQ(up.startClickTimer, c.click) << c.what;
        EXPECT_FALSE(mouse.SuppressNextClick()) << c.what;  // the release used it up
    }
}

TEST(PictureMouseTest, AControlDragSelectsAndAControlClickDropsTheZoom) {
    PictureMouse_CL mouse;
    mouse.OnLeftButtonDown(At(POINT{300, 300}, MK_LBUTTON | MK_CONTROL));  // video (192, 140)
    MouseActions a = mouse.OnMouseMove(At(POINT{0, 600}));  // beyond the video window's corner
    EXPECT_EQ(a.selectionChange, SelectionChange::kTrack);
    const RECT tracked{0, 140, 192, 380};
    EXPECT_TRUE(EqualRect(&a.selection, &tracked));
    EXPECT_FALSE(mouse.ZoomApplied());

    a = mouse.OnLeftButtonUp(At(POINT{200, 250}));  // video (92, 90): dragged up and left
    const RECT applied{92, 90, 192, 140};
    EXPECT_EQ(a.selectionChange, SelectionChange::kApply);
    EXPECT_TRUE(EqualRect(&a.selection, &applied));
    EXPECT_TRUE(mouse.ZoomApplied());

    // Only one coordinate moved: an empty selection, and the applied zoom goes with it.
    mouse.OnLeftButtonDown(At(POINT{300, 300}, MK_LBUTTON | MK_CONTROL));
    EXPECT_EQ(mouse.OnLeftButtonUp(At(POINT{300, 350})).selectionChange, SelectionChange::kDrop);
    EXPECT_FALSE(mouse.ZoomApplied());
    EXPECT_EQ(mouse.ZoomSelection().left, -1);
}

TEST(PictureMouseTest, BorderlessEdgesShowSizeCursorsAndFramedWindowsForgetThem) {
    struct Case { POINT point; bool borderless, fullScreen; const wchar_t* cursor; WindowEdge edge; } cases[] = {
        {{731, 300}, true, false, IDC_SIZEWE, WindowEdge::kRight},
        {{300, 569}, true, false, IDC_SIZENS, WindowEdge::kBottom},
        {kCorner, true, false, IDC_SIZENWSE, WindowEdge::kCorner},
        {{300, 300}, true, false, nullptr, WindowEdge::kNone},
        {kCorner, false, false, nullptr, WindowEdge::kNone},  // framed
        {kCorner, true, true, nullptr, WindowEdge::kNone},    // full screen
    };
    for (const Case& c : cases) {
        PictureMouse_CL mouse;
        mouse.OnMouseMove(At(kCorner, 0, true));  // an edge from before must not linger
        EXPECT_EQ(mouse.OnMouseMove(At(c.point, 0, c.borderless, c.fullScreen)).cursorShape, c.cursor) << c.point.x;
        EXPECT_EQ(mouse.Edge(), c.edge) << c.point.x << "," << c.point.y;
    }
}

TEST(PictureMouseTest, OnlyANewPointerPositionIsActivity) {
    const POINT moves[] = {{10, 10}, {10, 10}, {11, 10}, {11, 10}, {10, 10}};
    const bool activity[] = {true, false, true, false, true};
    PictureMouse_CL mouse;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(mouse.OnMouseMove(At(moves[i])).userActivity, activity[i]) << i;
}

TEST(PictureMouseTest, TheWheelWithTheButtonHeldStepsTheVolumeWithinItsRange) {
    const struct { WORD keys; short delta; int step, volume; } cases[] = {
        {MK_LBUTTON, WHEEL_DELTA, 5, 6}, {MK_LBUTTON, -WHEEL_DELTA, 5, 4}, {MK_LBUTTON, 2 * WHEEL_DELTA, 20, 20},
        {MK_LBUTTON, -WHEEL_DELTA, 0, 0}, {0, WHEEL_DELTA, 5, -1}};
    for (const auto& c : cases) {
        PictureMouse_CL mouse;
        const MouseActions a = mouse.OnMouseWheel(At(POINT{0, 0}, MAKEWPARAM(c.keys, c.delta)), c.step);
        EXPECT_EQ(a.volumeStep, c.volume) << c.step << " " << c.delta;
        EXPECT_EQ(a.killClickTimer && mouse.SuppressNextClick(), c.keys != 0) << c.step << " " << c.delta;
    }
}

}  // namespace

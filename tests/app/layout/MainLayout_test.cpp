#include "app/layout/MainLayout.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// Playing, untouched for the idle delay, the pointer resting on the picture: every idle
// action is due. The cases change one fact each.
LayoutInput IdleInput() {
    LayoutInput in;
    in.clientPx = SIZE{800, 600};
    in.toolBarExists = true;
    in.toolBarHeightPx = 30;
    in.idleTimedOut = in.contentLoaded = in.playing = true;
    in.stripVisible = true;
    in.noThumbnail = in.mouseHide = in.noFrame = 1;
    in.pointerOverVideo = true;
    in.verticalStripExtraPx = in.horizontalStripExtraPx = 17;
    return in;
}

TEST(MainLayoutTest, IdleStripCursorAndFrameDecisions) {
    using L = LayoutInput&;
    constexpr FrameAction kNone = FrameAction::kNone, kRemove = FrameAction::kRemove, kRestore = FrameAction::kRestore;
    struct Case {
        const char* what;
        void (*change)(LayoutInput&);
        bool idle, strip, hideCursor;
        FrameAction frame;
        bool frameless;
    } cases[] = {
        {"all idle actions", [](L) {}, true, false, true, kRemove, true},
        {"paused", [](L in) { in.paused = true; }, false, true, false, kNone, false},
        {"countdown running", [](L in) { in.idleTimedOut = false; }, false, true, false, kNone, false},
        {"modal", [](L in) { in.modalOpen = true; }, false, true, false, kNone, false},
        {"over bar item", [](L in) { in.overBarItem = true; }, false, true, false, kNone, false},
        {"over strip", [](L in) { in.overStrip = true; }, false, true, false, kNone, false},
        {"nothing loaded", [](L in) { in.contentLoaded = false; }, false, true, false, kNone, false},
        {"no_thumbnail 0", [](L in) { in.noThumbnail = 0; }, true, true, true, kRemove, true},
        {"resize retry, paused", [](L in) { in.layoutRetryTicks = 3; in.paused = true; },
         false, false, true, kNone, false},
        {"F6 off, paused", [](L in) { in.stripVisible = false; in.paused = true; }, false, false, true, kNone, false},
        {"history shown", [](L in) { in.historyVisible = true; }, true, false, false, kRemove, true},
        {"play list shown", [](L in) { in.playListVisible = true; }, true, false, false, kRemove, true},
        {"mouse_hide 0", [](L in) { in.mouseHide = 0; }, true, false, false, kRemove, true},
        {"cursor hidden", [](L in) { in.cursorShown = false; }, true, false, false, kRemove, true},
        {"pointer elsewhere", [](L in) { in.pointerOverVideo = false; }, true, false, false, kRemove, true},
        {"no_frame 0", [](L in) { in.noFrame = 0; }, true, false, true, kNone, false},
        {"borderless", [](L in) { in.borderless = true; }, true, false, true, kNone, true},
        {"full screen", [](L in) { in.fullScreen = true; }, true, false, true, kNone, false},
        {"frameless, idle", [](L in) { in.frameless = true; }, true, false, true, kNone, true},
        {"frameless, paused", [](L in) { in.frameless = true; in.paused = true; }, false, true, false, kRestore, false},
        {"frameless, paused, borderless", [](L in) { in.frameless = in.borderless = in.paused = true; },
         false, true, false, kNone, false},
    };
    for (const Case& c : cases) {
        LayoutInput in = IdleInput();
        c.change(in);
        const LayoutResult r = ComputeMainLayout(in);
        EXPECT_EQ(r.idle, c.idle) << c.what;
        EXPECT_EQ(r.stripShown, c.strip) << c.what;
        EXPECT_EQ(r.hideCursor, c.hideCursor) << c.what;
        EXPECT_EQ(r.frame.action, c.frame) << c.what;
        EXPECT_EQ(r.frame.frameless, c.frameless) << c.what;
    }
}

TEST(MainLayoutTest, CellsFollowTheNearerShape) {
    struct Case { int size, width, height, aspectMode; SIZE cell; } cases[] = {
        {2, 0, 0, 0, {256, 144}},       // no renderer: 640 x 380 is nearer 16:9
        {2, 0, 480, 9, {256, 144}},     // a zero width is no renderer either
        {0, 640, 480, 0, {128, 96}},    {1, 1920, 1080, 0, {192, 108}},
        {2, 640, 480, 9, {256, 144}},   // mode 9 takes the width as 480 x 16 / 9
        {2, 720, 480, 0, {256, 192}},   // 3:2 lies nearer 4:3
        {7, 640, 480, 0, {256, 192}},   // an unknown size setting counts as the largest
    };
    for (const Case& c : cases) {
        const SIZE cell = StripCellSize(c.size, c.width, c.height, c.aspectMode);
        EXPECT_TRUE(cell.cx == c.cell.cx && cell.cy == c.cell.cy) << c.width << "x" << c.height << " " << cell.cy;
    }
}

TEST(MainLayoutTest, ToolBarVideoAndStripShareTheClientArea) {
    // No renderer: 256 x 144 cells, so a horizontal strip is 161 px and a vertical one 273 px.
    enum Window { kFramed, kBorderless, kFrameless };
    struct Case { int direction; Window window; SIZE client; RECT video, strip; } cases[] = {
        {0, kFramed, {800, 600}, {0, 191, 800, 600}, {0, 30, 800, 191}},
        {2, kFramed, {800, 600}, {0, 30, 800, 439}, {0, 439, 800, 600}},
        {1, kFramed, {800, 600}, {0, 30, 527, 600}, {527, 30, 800, 600}},
        {3, kFramed, {800, 600}, {273, 30, 800, 600}, {0, 30, 273, 600}},
        {0, kBorderless, {800, 600}, {0, 161, 800, 600}, {0, 0, 800, 161}},
        {1, kBorderless, {800, 600}, {0, 0, 525, 600}, {525, 0, 798, 600}},
        {2, kFrameless, {800, 600}, {0, 0, 800, 437}, {0, 437, 800, 598}},
        {3, kFrameless, {800, 600}, {273, 0, 800, 600}, {0, 0, 273, 600}},
        {1, kFramed, {100, 100}, {0, 30, 0, 100}, {0, 30, 273, 100}},
        {0, kFramed, {100, 100}, {0, 100, 100, 100}, {0, 30, 100, 191}},
        {2, kFramed, {800, 20}, {0, 20, 800, 20}, {0, 20, 800, 181}},  // bar taller than the client
    };
    for (const Case& c : cases) {
        LayoutInput in = IdleInput();
        in.noThumbnail = 0;
        in.idleTimedOut = c.window == kFrameless;  // idleness keeps the frame off
        in.frameless = c.window == kFrameless;
        in.borderless = c.window == kBorderless;
        in.direction = c.direction;
        in.clientPx = c.client;
        const LayoutResult r = ComputeMainLayout(in);
        EXPECT_EQ(r.toolBarShown, c.window == kFramed) << c.direction << "/" << c.window;
        const LONG barBottom = c.window == kFramed ? std::min(30L, c.client.cy) : 0;
        EXPECT_EQ(r.toolBarRect.bottom, barBottom) << c.direction << "/" << c.window;
        EXPECT_TRUE(EqualRect(&r.videoRect, &c.video)) << c.direction << "/" << c.window << " video";
        EXPECT_TRUE(EqualRect(&r.stripRect, &c.strip)) << c.direction << "/" << c.window << " strip";
        EXPECT_EQ(r.stripHorizontal, c.direction % 2 == 0);
        EXPECT_EQ(r.cellPx.cx, 256);

        in.stripVisible = false;  // without the strip the picture takes all below the bar
        const RECT whole{0, barBottom, c.client.cx, c.client.cy};
        const LayoutResult hidden = ComputeMainLayout(in);
        EXPECT_TRUE(!hidden.stripShown && EqualRect(&hidden.videoRect, &whole)) << c.direction << "/" << c.window;

        in.stripVisible = true;  // switched on, but no strip window: the picture keeps it all
        in.stripExists = false;
        const LayoutResult windowless = ComputeMainLayout(in);
        EXPECT_TRUE(windowless.stripShown && EqualRect(&windowless.videoRect, &whole)) << c.direction << "/" << c.window;
    }
}

}  // namespace

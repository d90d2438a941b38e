#include "app/input/WindowDrag_CL.h"

#include <gtest/gtest.h>

namespace {

constexpr SIZE kClient{800, 600};
constexpr int kFrame = 4;

TEST(WindowDragTest, EdgesAreTheRightAndBottomBandsAndTheirCorner) {
    struct Case {
        POINT point;
        WindowEdge edge;
    } cases[] = {
        {{400, 300}, WindowEdge::kNone},    {{795, 300}, WindowEdge::kNone},   {{796, 300}, WindowEdge::kRight},
        {{799, 10}, WindowEdge::kRight},    {{400, 596}, WindowEdge::kBottom}, {{0, 599}, WindowEdge::kBottom},
        {{796, 596}, WindowEdge::kCorner},  {{799, 599}, WindowEdge::kCorner}, {{0, 0}, WindowEdge::kNone},
        // Outside the client area is no edge at all (the pointer left the window).
        {{800, 300}, WindowEdge::kNone},    {{400, 600}, WindowEdge::kNone},   {{-1, 599}, WindowEdge::kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowDrag_CL::HitEdge(c.point, kClient, kFrame), c.edge) << c.point.x << "," << c.point.y;
    }
}

TEST(WindowDragTest, AMoveKeepsTheGrabOffsetAndTheSize) {
    WindowDrag_CL drag;
    drag.Begin(POINT{150, 120}, RECT{100, 100, 740, 580}, WindowEdge::kNone, false);
    EXPECT_TRUE(drag.Active());
    RECT moved = drag.Follow(POINT{-50, 400});
    EXPECT_EQ(moved.left, -100);
    EXPECT_EQ(moved.top, 380);
    EXPECT_EQ(moved.right - moved.left, 640);
    EXPECT_EQ(moved.bottom - moved.top, 480);
}

TEST(WindowDragTest, EdgeDragsChangeOnlyTheirOwnSideAndStopAtTheMinimumSize) {
    const RECT window{100, 100, 740, 580};
    WindowDrag_CL drag;

    drag.Begin(POINT{738, 300}, window, WindowEdge::kRight, false);
    RECT r = drag.Follow(POINT{838, 900});
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right, 840);
    EXPECT_EQ(r.bottom, 580);  // the height ignores the cursor
    r = drag.Follow(POINT{0, 300});
    EXPECT_EQ(r.right - r.left, WindowDrag_CL::kMinWidthPx);

    drag.Begin(POINT{400, 578}, window, WindowEdge::kBottom, false);
    r = drag.Follow(POINT{900, 628});
    EXPECT_EQ(r.right, 740);
    EXPECT_EQ(r.bottom, 630);
    r = drag.Follow(POINT{400, -1000});
    EXPECT_EQ(r.bottom - r.top, WindowDrag_CL::kMinHeightPx);

    drag.Begin(POINT{738, 578}, window, WindowEdge::kCorner, false);
    r = drag.Follow(POINT{748, 548});
    EXPECT_EQ(r.right, 750);
    EXPECT_EQ(r.bottom, 550);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
}

TEST(WindowDragTest, OnlyAReleaseWhereThePressWasIsAClick) {
    WindowDrag_CL drag;
    drag.Begin(POINT{10, 10}, RECT{0, 0, 640, 480}, WindowEdge::kNone, true);
    EXPECT_TRUE(drag.ControlHeld());
    EXPECT_TRUE(drag.End(POINT{10, 10}));
    EXPECT_FALSE(drag.Active());
    EXPECT_FALSE(drag.ControlHeld());

    drag.Begin(POINT{10, 10}, RECT{0, 0, 640, 480}, WindowEdge::kNone, false);
    EXPECT_FALSE(drag.End(POINT{11, 10}));
    // No drag running: a release is never a click.
    EXPECT_FALSE(drag.End(POINT{11, 10}));
}

TEST(WindowDragTest, SizingStopsAtTheMinimumWithTheOppositeSideInPlace) {
    struct Case {
        WPARAM edge;
        RECT in;
        RECT out;
    } cases[] = {
        {WMSZ_RIGHT, {100, 100, 300, 700}, {100, 100, 580, 700}},
        {WMSZ_LEFT, {500, 100, 700, 700}, {220, 100, 700, 700}},
        {WMSZ_BOTTOM, {100, 100, 900, 200}, {100, 100, 900, 460}},
        {WMSZ_TOP, {100, 500, 900, 600}, {100, 240, 900, 600}},
        {WMSZ_TOPLEFT, {500, 500, 600, 600}, {120, 240, 600, 600}},
        {WMSZ_BOTTOMRIGHT, {0, 0, 10, 10}, {0, 0, 480, 360}},
        {WMSZ_BOTTOMLEFT, {500, 0, 600, 10}, {120, 0, 600, 360}},
        {WMSZ_TOPRIGHT, {0, 500, 10, 600}, {0, 240, 480, 600}},
        // Big enough already: untouched.
        {WMSZ_BOTTOMRIGHT, {0, 0, 481, 361}, {0, 0, 481, 361}},
    };
    for (const Case& c : cases) {
        RECT r = c.in;
        WindowDrag_CL::KeepMinimumSize(c.edge, &r);
        EXPECT_TRUE(EqualRect(&r, &c.out)) << "edge " << c.edge << " got " << r.left << "," << r.top << ","
                                           << r.right << "," << r.bottom;
    }
}

}  // namespace

#include <gtest/gtest.h>

#include "media/BlitGeometry.h"

namespace {

BlitInput Input(int frameWidth, int frameHeight, int aspectY, int mode, LONG cw, LONG ch) {
    BlitInput input;
    input.frameWidth = frameWidth;
    input.frameHeight = frameHeight;
    input.aspectY = aspectY;
    input.zoomMode = mode;
    input.client = SIZE{cw, ch};
    return input;
}

void ExpectRect(const RECT& actual, LONG l, LONG t, LONG r, LONG b) {
    EXPECT_EQ(actual.left, l);
    EXPECT_EQ(actual.top, t);
    EXPECT_EQ(actual.right, r);
    EXPECT_EQ(actual.bottom, b);
}

struct ModeCase {
    const char* name;
    BlitInput input;
    RECT source, destination;
};

TEST(BlitGeometryTest, ZoomModesPlaceThePictureAsExpected) {
    const ModeCase cases[] = {
        // Fit: a 4:3 frame in a wide window is pillarboxed.
        {"fit pillarbox", Input(640, 480, 3, kZoomFit, 800, 400), {0, 0, 640, 480}, {133, 0, 666, 400}},
        // Fit: a 4:3 frame in a tall window is letterboxed.
        {"fit letterbox", Input(640, 480, 3, kZoomFit, 640, 600), {0, 0, 640, 480}, {0, 60, 640, 540}},
        // Anamorphic 16:9 (1440 x 1080) shows 1920:1080, letterboxed in a 1920 x 1200 window...
        {"16:9 letterbox", Input(1440, 1080, 9, kZoomFit, 1920, 1200), {0, 0, 1440, 1080}, {0, 60, 1920, 1140}},
        // ...and pillarboxed in a 2000 x 1080 window.
        {"16:9 pillarbox", Input(1440, 1080, 9, kZoomFit, 2000, 1080), {0, 0, 1440, 1080}, {40, 0, 1960, 1080}},
        // Fit height in a narrow window: the sides are cut from the source.
        {"fit height cut", Input(640, 480, 3, kZoomFitHeight, 400, 480), {120, 0, 520, 480}, {0, 0, 400, 480}},
        // Fit height in a wide window: centred, nothing cut.
        {"fit height centred", Input(640, 480, 3, kZoomFitHeight, 1000, 480), {0, 0, 640, 480}, {180, 0, 820, 480}},
        // Native size larger than the window: the middle of the frame, one pixel per pixel.
        {"native cut", Input(640, 480, 3, kZoomNative, 320, 240), {160, 120, 480, 360}, {0, 0, 320, 240}},
        // Native size of 16:9 material: the cut is worked out in display pixels, then in frame pixels.
        {"native 16:9 cut", Input(1440, 1080, 9, kZoomNative, 960, 1080), {360, 0, 1080, 1080}, {0, 0, 960, 1080}},
        // Native size smaller than the window: centred.
        {"native centred", Input(320, 240, 3, kZoomNative, 640, 480), {0, 0, 320, 240}, {160, 120, 480, 360}},
        // Any other mode stretches.
        {"stretch", Input(320, 240, 3, 2, 500, 100), {0, 0, 320, 240}, {0, 0, 500, 100}},
        // An odd size keeps integer centring.
        {"odd sizes", Input(322, 242, 3, kZoomFit, 333, 777), {0, 0, 322, 242}, {0, 263, 333, 513}},
        // No frame yet: the whole window.
        {"no frame", Input(0, 0, 0, kZoomFit, 300, 200), {0, 0, 0, 0}, {0, 0, 300, 200}},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        BlitRects rects = ComputeBlitRects(c.input);
        ExpectRect(rects.source, c.source.left, c.source.top, c.source.right, c.source.bottom);
        ExpectRect(rects.destination, c.destination.left, c.destination.top, c.destination.right,
                   c.destination.bottom);
    }
}

TEST(BlitGeometryTest, SelectionZoomCutsTheSourceToTheSelection) {
    BlitInput input = Input(640, 480, 3, kZoomFit, 640, 480);
    input.selectionZoom = true;
    input.selection = RECT{160, 120, 480, 360};
    BlitRects rects = ComputeBlitRects(input);
    ExpectRect(rects.source, 160, 120, 480, 360);
    ExpectRect(rects.destination, 0, 0, 640, 480);

    // Dragged from bottom right to top left: the same rectangles after normalising.
    input.selection = RECT{480, 360, 160, 120};
    rects = ComputeBlitRects(input);
    ExpectRect(rects.source, 160, 120, 480, 360);
    ExpectRect(rects.destination, 0, 0, 640, 480);
}

TEST(BlitGeometryTest, SelectionReachingPastThePictureShrinksTheDestination) {
    // The picture is pillarboxed at 80..720; the selection starts in the black bar.
    BlitInput input = Input(640, 480, 3, kZoomFit, 800, 480);
    input.selectionZoom = true;
    input.selection = RECT{0, 0, 400, 240};
    BlitRects rects = ComputeBlitRects(input);
    ExpectRect(rects.source, 0, 0, 320, 240);
    ExpectRect(rects.destination, 160, 0, 800, 480);
    EXPECT_TRUE(IsDrawable(rects));
}

TEST(BlitGeometryTest, SelectionWithoutWidthOrHeightIsIgnored) {
    BlitInput input = Input(640, 480, 3, kZoomFit, 640, 480);
    input.selectionZoom = true;
    const RECT flat[] = {{160, 120, 160, 360}, {160, 120, 480, 120}, {10, 10, 10, 10}};
    for (const RECT& selection : flat) {
        input.selection = selection;
        BlitRects rects = ComputeBlitRects(input);
        ExpectRect(rects.source, 0, 0, 640, 480);
        ExpectRect(rects.destination, 0, 0, 640, 480);
    }
}

TEST(BlitGeometryTest, NoSelectionOrFramingOnlyLeavesThePictureAlone) {
    BlitInput input = Input(640, 480, 3, kZoomFit, 640, 480);
    input.selectionZoom = true;
    input.selection = RECT{-1, 5, 100, 100};  // left -1: no selection
    ExpectRect(ComputeBlitRects(input).source, 0, 0, 640, 480);
    input.selectionZoom = false;  // framing only
    input.selection = RECT{10, 10, 100, 100};
    ExpectRect(ComputeBlitRects(input).source, 0, 0, 640, 480);
}

TEST(BlitGeometryTest, EmptyWindowDrawsNothing) {
    BlitInput input = Input(640, 480, 3, kZoomFit, 0, 0);
    EXPECT_FALSE(IsDrawable(ComputeBlitRects(input)));
    input.selectionZoom = true;
    input.selection = RECT{0, 0, 10, 10};
    BlitRects rects = ComputeBlitRects(input);
    EXPECT_FALSE(IsDrawable(rects));
    input.client = SIZE{-5, 100};  // a window being destroyed can report nonsense
    EXPECT_FALSE(IsDrawable(ComputeBlitRects(input)));
}

}  // namespace

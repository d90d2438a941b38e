// The overlay drawn over the picture: texts (Japanese included), clock, title box and the
// control bar from the image atlas; switching an item changes the picture only where it is.

#include <gtest/gtest.h>

#include "media/DShowGraph_CL.h"
#include "tests/media/presenter/PresenterFixture.h"

namespace {

constexpr int kWidth = 480, kHeight = 360;
const YCbCr kDarkGrey = {60, 128, 128};

// The bounds of the pixels that differ by more than a little between two pictures; empty
// when none do.
RECT DiffBounds(const Picture& a, const Picture& b) {
    RECT bounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (int y = 0; y < a.height && y < b.height; ++y) {
        for (int x = 0; x < a.width && x < b.width; ++x) {
            Rgb p = a.At(x, y), q = b.At(x, y);
            if (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) <= 24) continue;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    }
    if (bounds.left == LONG_MAX) return RECT{0, 0, 0, 0};
    return bounds;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

int CountPixels(const Picture& picture, const RECT& area, const std::function<bool(Rgb)>& match) {
    int count = 0;
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) count += match(picture.At(x, y)) ? 1 : 0;
    }
    return count;
}

bool Greenish(Rgb c) { return c.g > 150 && c.r < 100 && c.b < 100; }
bool Whiteish(Rgb c) { return c.r > 200 && c.g > 200 && c.b > 200; }

class OverlayTest : public PresenterTest {
protected:
    void SetUp() override {
        PresenterTest::SetUp();
        Open(kWidth, kHeight);
        m_presenter->SetStillImagePath(DShowGraph_CL::StillImagePath());
        SetFormat(320, 240, 4, 3);
        const YCbCr grey[4] = {kDarkGrey, kDarkGrey, kDarkGrey, kDarkGrey};
        m_frame = QuadrantFrame(320, 240, grey);
        // Settle: the first pictures may be drawn before the window is on the screen.
        const Rgb expected = ToRgb(kDarkGrey);
        DrawUntil(m_frame.data(), [&](const Picture& p) { return Near(p.At(kWidth / 2, kHeight / 2), expected, 4); });
    }
    Picture Shot() {
        m_presenter->Draw(m_frame.data());
        return CaptureWindow();
    }
    std::vector<uint8_t> m_frame;
};

TEST_F(OverlayTest, ResourcesAreCreated) {
    EXPECT_TRUE(m_presenter->HasOverlayResources());
    EXPECT_FALSE(m_presenter->FontFace().empty());
}

TEST_F(OverlayTest, MessageTextIsDrawnInTheMiddleInGreen) {
    Picture before = Shot();
    m_presenter->SetMessageText(L"一時停止");
    Picture after = Shot();
    RECT middle{kWidth / 4, kHeight / 2 - 30, kWidth * 3 / 4, kHeight / 2 + 30};
    EXPECT_EQ(CountPixels(before, middle, Greenish), 0);
    EXPECT_GT(CountPixels(after, middle, Greenish), 300);
    RECT diff = DiffBounds(before, after);
    EXPECT_TRUE(Inside(diff, middle)) << diff.left << "," << diff.top << "," << diff.right << "," << diff.bottom;
    m_presenter->SetMessageText(L"");
    EXPECT_TRUE(Empty(DiffBounds(before, Shot())));
}

TEST_F(OverlayTest, JapaneseTitlesRenderAsDistinctGlyphs) {
    m_presenter->SetShowTitle(true);
    m_presenter->SetTitleText(L"日本語の題名");
    Picture first = Shot();
    m_presenter->SetTitleText(L"映画館で見る");
    Picture second = Shot();
    // The same number of characters: boxes for missing glyphs would draw the same picture.
    RECT titleArea{0, 0, 280, 40};
    RECT diff = DiffBounds(first, second);
    EXPECT_FALSE(Empty(diff));
    EXPECT_TRUE(Inside(diff, titleArea));
    EXPECT_GT(CountPixels(first, RECT{6, 6, 120, 24}, Whiteish), 40);
}

TEST_F(OverlayTest, TitleBoxAndTimeAppearOnlyWhereTheyBelong) {
    Picture plain = Shot();
    m_presenter->SetTitleText(L"題名");
    m_presenter->SetShowTime(true);
    m_presenter->SetPosition(10000000LL * 3723, 10000000LL * 7200);
    m_presenter->SetStarCount(3);
    Picture withTime = Shot();
    RECT diff = DiffBounds(plain, withTime);
    // Box of at least 260 + 12 wide, 32 high without the title shown.
    EXPECT_FALSE(Empty(diff));
    EXPECT_TRUE(Inside(diff, RECT{0, 0, 300, 40})) << diff.right << "," << diff.bottom;
    EXPECT_GE(diff.right, 260);
    // Stars in yellow 180 pixels right of the time.
    EXPECT_GT(CountPixels(withTime, RECT{184, 10, 240, 30}, [](Rgb c) { return c.r > 200 && c.g > 200 && c.b < 80; }),
              10);
    m_presenter->SetShowTitle(true);
    Picture withTitle = Shot();
    RECT titleDiff = DiffBounds(withTime, withTitle);
    EXPECT_TRUE(Inside(titleDiff, RECT{0, 0, 300, 60}));
    // Nothing outside the box changes.
    EXPECT_EQ(CountPixels(withTitle, RECT{320, 100, kWidth, 200}, Whiteish), 0);
}

TEST_F(OverlayTest, ClockStandsInTheChosenCorner) {
    Picture plain = Shot();
    m_presenter->SetShowClock(true, 0);
    Picture topLeft = Shot();
    RECT diff = DiffBounds(plain, topLeft);
    EXPECT_FALSE(Empty(diff));
    EXPECT_GE(diff.left, 48);
    EXPECT_GE(diff.top, 48);
    EXPECT_LT(diff.top, 80);
    m_presenter->SetShowClock(true, 3);
    Picture bottomRight = Shot();
    diff = DiffBounds(plain, bottomRight);
    EXPECT_FALSE(Empty(diff));
    EXPECT_LE(diff.right, kWidth - 96);
    EXPECT_LE(diff.bottom, kHeight - 96);
    EXPECT_GT(diff.bottom, kHeight - 140);
    EXPECT_GT(CountPixels(bottomRight, diff, Greenish), 200);
}

TEST_F(OverlayTest, ControlBarItemsChangeOnlyTheirOwnPlace) {
    ControlBarState state;
    state.volumeStep = 10;
    m_presenter->SetControlBarState(state);
    Picture unmuted = Shot();
    // The band and the buttons are drawn at the bottom.
    EXPECT_GT(CountPixels(unmuted, RECT{0, kHeight - 54, kWidth, kHeight}, [](Rgb c) { return c.r > 120; }), 200);

    state.muted = true;
    m_presenter->SetControlBarState(state);
    Picture muted = Shot();
    ControlBar_CL bar = m_presenter->ControlBarSnapshot();
    const int mute = bar.IndexOf(CMD_MUTE);
    ASSERT_GE(mute, 0);
    RECT diff = DiffBounds(unmuted, muted);
    EXPECT_FALSE(Empty(diff));
    EXPECT_TRUE(Inside(diff, bar.WindowRect(static_cast<size_t>(mute))));

    // The volume knob moves with the volume, within the slider's reach.
    state.volumeStep = 20;
    m_presenter->SetControlBarState(state);
    Picture loud = Shot();
    diff = DiffBounds(muted, loud);
    EXPECT_FALSE(Empty(diff));
    EXPECT_GE(diff.left, kWidth - 130);
    EXPECT_GE(diff.top, kHeight - 40);
}

TEST_F(OverlayTest, LogoShowsUntilPlaybackStarts) {
    Picture playing = Shot();
    m_presenter->SetPlaybackShown(false, false);
    Picture idle = Shot();
    ControlBar_CL bar = m_presenter->ControlBarSnapshot();
    const int logo = bar.IndexOf(CMD_NO_ACTION);
    ASSERT_GE(logo, 0);
    RECT logoRect = bar.WindowRect(static_cast<size_t>(logo));
    EXPECT_EQ(logoRect.left, (kWidth - 256) / 2);
    // Without playback the picture is black and the logo stands in the middle.
    EXPECT_GT(CountPixels(idle, logoRect, [](Rgb c) { return c.r + c.g + c.b > 300; }), 500);
    EXPECT_TRUE(Near(idle.At(20, kHeight / 2), Rgb{0, 0, 0}, 2));
    EXPECT_TRUE(Near(playing.At(20, kHeight / 2), ToRgb(kDarkGrey), 4));
}

TEST_F(OverlayTest, SelectionFrameIsDrawnAroundTheSelection) {
    Picture plain = Shot();
    m_presenter->SetSelection(false, RECT{100, 80, 200, 160});
    Picture framed = Shot();
    RECT diff = DiffBounds(plain, framed);
    EXPECT_TRUE(Inside(diff, RECT{98, 78, 202, 162}));
    EXPECT_TRUE(Whiteish(framed.At(150, 80)));
    EXPECT_FALSE(Whiteish(framed.At(150, 120)));
    // Zoomed into the selection instead: the frame goes and the grey picture fills the window.
    m_presenter->SetSelection(true, RECT{100, 80, 200, 160});
    Picture zoomed = Shot();
    EXPECT_TRUE(Near(zoomed.At(20, kHeight / 2), ToRgb(kDarkGrey), 4));
    // A selection without width is ignored, not divided by.
    m_presenter->SetSelection(true, RECT{100, 80, 100, 160});
    Picture flat = Shot();
    EXPECT_TRUE(Near(flat.At(kWidth / 2, kHeight / 2), ToRgb(kDarkGrey), 4));
}

}  // namespace

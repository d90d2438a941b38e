// Where the overlay's texts and boxes stand: DrawText's placement of a measured text in its
// area, and the title box around the measured title.

#include <gtest/gtest.h>

#include <windows.h>

#include "media/OverlayLayout.h"

namespace {

struct PlaceCase {
    const char* name;
    RECT area;
    SIZE extent;
    UINT format;
    POINT expected;
};

class TextPlacement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(TextPlacement, PutsTheTextWhereDrawTextWould) {
    const PlaceCase& c = GetParam();
    const POINT origin = TextOrigin(c.area, c.extent, c.format);
    EXPECT_EQ(origin.x, c.expected.x) << c.name;
    EXPECT_EQ(origin.y, c.expected.y) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, TextPlacement,
    ::testing::Values(PlaceCase{"left top", RECT{4, 30, 640, 480}, SIZE{120, 13}, DT_NOCLIP, POINT{4, 30}},
                      PlaceCase{"centred message", RECT{0, 0, 640, 480}, SIZE{181, 45},
                                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP, POINT{229, 217}},
                      // A text wider than its area starts left of it, half the excess each side.
                      PlaceCase{"centred, wider than the area", RECT{0, 0, 100, 40}, SIZE{140, 45},
                                DT_CENTER | DT_VCENTER | DT_SINGLELINE, POINT{-20, -2}},
                      PlaceCase{"clock bottom right", RECT{48, 48, 544, 384}, SIZE{250, 104},
                                DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOCLIP, POINT{294, 280}},
                      // Vertical placement needs a single line; a wrapped text starts at the top.
                      PlaceCase{"vcenter without single line", RECT{6, 6, 570, 468}, SIZE{200, 32},
                                DT_VCENTER | DT_WORDBREAK, POINT{6, 6}},
                      PlaceCase{"right, wrapped", RECT{6, 6, 570, 468}, SIZE{200, 32}, DT_RIGHT | DT_WORDBREAK,
                                POINT{370, 6}}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST(TitleBox, KeepsItsLeastWidthForShortTitlesAndGrowsWithLongOnes) {
    EXPECT_EQ(TitleBoxRect(SIZE{0, 0}, true).right, kTitleBoxLeastWidth + 12);
    EXPECT_EQ(TitleBoxRect(SIZE{100, 16}, false).right, kTitleBoxLeastWidth + 12);
    EXPECT_EQ(TitleBoxRect(SIZE{400, 16}, false).right, 412);
}

TEST(TitleBox, IsTallerByTheTimeLineWhenTheTimeShows) {
    const RECT titleOnly = TitleBoxRect(SIZE{300, 32}, false);
    const RECT withTime = TitleBoxRect(SIZE{300, 32}, true);
    EXPECT_EQ(titleOnly.bottom, 44);
    EXPECT_EQ(withTime.bottom, 64);
    EXPECT_EQ(withTime.left, 0);
    EXPECT_EQ(withTime.top, 0);
}

TEST(TitleBox, TitleIsDrawnAsWideAsItWasMeasured) {
    // The box is sized from the measuring area; the drawing area must wrap at the same width.
    for (LONG width : {320L, 640L, 1920L}) {
        const SIZE client{width, 480};
        const RECT measure = TitleMeasureArea(client);
        const RECT draw = TitleTextArea(client);
        EXPECT_EQ(measure.right - measure.left, draw.right - draw.left) << width;
        EXPECT_EQ(draw.left, 6);
        EXPECT_EQ(draw.top, 6);
    }
}

}  // namespace

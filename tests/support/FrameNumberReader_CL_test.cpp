// The frame-number reader on pictures made the way the player shows a test movie: scaled with
// smoothing into a window, between black bars, with a coloured text over the middle.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/support/AviWriter_CL.h"
#include "tests/support/FrameNumberReader_CL.h"

namespace {

AviMovieSpec Movie(int width, int height, int frameCount) {
    AviMovieSpec movieSpec;
    movieSpec.width = width;
    movieSpec.height = height;
    movieSpec.frameRateNum = 10;
    movieSpec.frameCount = frameCount;
    return movieSpec;
}

// Frame frameIndex scaled (bilinear) into rect of a black canvas; with a message, a band of
// the player's translucent green over the middle rows.
BgrxPicture Shown(const AviMovieSpec& movieSpec, int frameIndex, int canvasWidth, int canvasHeight, RECT rect,
                  bool message) {
    std::vector<uint8_t> frame;
    AviWriter_CL::RenderFrameRgb32(movieSpec.width, movieSpec.height, frameIndex, &frame);
    BgrxPicture picture;
    picture.width = canvasWidth;
    picture.height = canvasHeight;
    picture.bgrx.assign(size_t(canvasWidth) * canvasHeight * 4, 0);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    for (int y = 0; y < h; ++y) {
        const double sy = std::clamp((y + 0.5) * movieSpec.height / h - 0.5, 0.0, movieSpec.height - 1.0);
        const int y0 = int(sy), y1 = std::min(y0 + 1, movieSpec.height - 1);
        for (int x = 0; x < w; ++x) {
            const double sx = std::clamp((x + 0.5) * movieSpec.width / w - 0.5, 0.0, movieSpec.width - 1.0);
            const int x0 = int(sx), x1 = std::min(x0 + 1, movieSpec.width - 1);
            uint8_t* out = &picture.bgrx[(size_t(rect.top + y) * canvasWidth + size_t(rect.left + x)) * 4];
            for (int c = 0; c < 3; ++c) {
                auto at = [&](int px, int py) { return frame[(size_t(py) * movieSpec.width + size_t(px)) * 4 + c]; };
                const double top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * (sx - x0);
                const double bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * (sx - x0);
                out[c] = uint8_t(std::lround(top + (bottom - top) * (sy - y0)));
            }
        }
    }
    if (message) {
        const int middle = canvasHeight / 2;
        for (int y = std::max(0, middle - 22); y < std::min(canvasHeight, middle + 23); ++y) {
            for (int x = canvasWidth / 5; x < canvasWidth * 4 / 5; ++x) {
                uint8_t* p = &picture.bgrx[(size_t(y) * canvasWidth + size_t(x)) * 4];
                p[0] = uint8_t(p[0] * 0.14);
                p[1] = uint8_t(255 * 0.86 + p[1] * 0.14);
                p[2] = uint8_t(p[2] * 0.14);
            }
        }
    }
    return picture;
}

struct ShownCase {
    const char* name;
    int movieWidth, movieHeight, frame;
    int canvasWidth, canvasHeight;
    RECT rect;
    bool message;
};

class FrameNumberReaderShown : public ::testing::TestWithParam<ShownCase> {};

TEST_P(FrameNumberReaderShown, ReadsTheFrameAndFindsThePicture) {
    const ShownCase& c = GetParam();
    const AviMovieSpec movieSpec = Movie(c.movieWidth, c.movieHeight, 300);
    const BgrxPicture picture = Shown(movieSpec, c.frame, c.canvasWidth, c.canvasHeight, c.rect, c.message);
    RECT found{};
    ASSERT_TRUE(FrameNumberReader_CL::FindPictureRect(picture, &found));
    EXPECT_TRUE(::EqualRect(&found, &c.rect)) << found.left << "," << found.top << "," << found.right << ","
                                              << found.bottom;
    FrameNumberReader_CL reader(movieSpec);
    EXPECT_EQ(reader.Read(picture), c.frame);
}

INSTANTIATE_TEST_SUITE_P(
    ShownPictures, FrameNumberReaderShown,
    ::testing::Values(
        ShownCase{"same size", 320, 240, 52, 320, 240, {0, 0, 320, 240}, false},
        ShownCase{"bars beside, enlarged", 320, 240, 52, 466, 327, {15, 0, 451, 327}, false},
        ShownCase{"bars beside, under a message", 320, 240, 53, 466, 327, {15, 0, 451, 327}, true},
        ShownCase{"bars above and below, wide movie", 320, 180, 7, 400, 300, {0, 37, 400, 262}, false},
        ShownCase{"small movie, three digits, enlarged", 160, 120, 199, 466, 327, {15, 0, 451, 327}, true},
        ShownCase{"reduced", 320, 240, 299, 160, 120, {0, 0, 160, 120}, false},
        ShownCase{"first frame", 160, 120, 0, 640, 480, {0, 0, 640, 480}, true}),
    [](const ::testing::TestParamInfo<ShownCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST(FrameNumberReader, NeighbouringFramesAreToldApart) {
    const AviMovieSpec movieSpec = Movie(320, 240, 300);
    FrameNumberReader_CL reader(movieSpec);
    for (int frame : {0, 1, 9, 10, 11, 99, 100, 101, 188, 189, 190}) {
        EXPECT_EQ(reader.Read(Shown(movieSpec, frame, 466, 327, RECT{15, 0, 451, 327}, true)), frame);
    }
}

namespace {

void Blend(BgrxPicture* picture, RECT area, uint8_t red, uint8_t green, uint8_t blue, int alpha) {
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, picture->height); ++y) {
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, picture->width); ++x) {
            uint8_t* p = &picture->bgrx[(size_t(y) * picture->width + size_t(x)) * 4];
            const uint8_t colour[3] = {blue, green, red};
            for (int c = 0; c < 3; ++c) p[c] = uint8_t((colour[c] * alpha + p[c] * (255 - alpha)) / 255);
        }
    }
}

// Strokes of text: 2-pixel upright bars every 5 pixels along a line.
void Text(BgrxPicture* picture, int left, int top, int width, int height, uint8_t red, uint8_t green, uint8_t blue,
          int alpha) {
    for (int x = left; x < left + width; x += 5) Blend(picture, RECT{x, top, x + 2, top + height}, red, green, blue, alpha);
    Blend(picture, RECT{left, top + height / 2, left + width, top + height / 2 + 2}, red, green, blue, alpha);
}

// What the player draws over the picture in its video window: the grey title box with its
// white frame, the title and the play time in white and the stars in yellow; the translucent
// band along the bottom with its blue line and the control bar's light icons; the green clock.
void DrawPlayerOverlay(BgrxPicture* picture) {
    const int w = picture->width, h = picture->height;
    const RECT box{0, 0, 272, 51};
    Blend(picture, box, 0x78, 0x78, 0x78, 0xB4);
    Blend(picture, RECT{box.left, box.top, box.right, box.top + 2}, 255, 255, 255, 255);
    Blend(picture, RECT{box.left, box.bottom - 2, box.right, box.bottom}, 255, 255, 255, 255);
    Blend(picture, RECT{box.left, box.top, box.left + 2, box.bottom}, 255, 255, 255, 255);
    Blend(picture, RECT{box.right - 2, box.top, box.right, box.bottom}, 255, 255, 255, 255);
    Text(picture, 6, 6, 150, 16, 255, 255, 255, 255);
    Text(picture, 4, 31, 150, 13, 255, 255, 255, 255);
    Text(picture, 184, 31, 60, 13, 255, 255, 0, 255);
    for (const RECT& layer : {RECT{0, h - 54, w, h}, RECT{0, h - 54, w, h - 52}, RECT{0, h - 54, w, h - 50}}) {
        Blend(picture, layer, 0x78, 0x78, 0x78, 0x50);
    }
    Blend(picture, RECT{0, h - 54, w, h - 52}, 0x78, 0x78, 0xFF, 0xC8);
    for (int x = 8; x + 24 < w; x += 36) Blend(picture, RECT{x, h - 42, x + 24, h - 18}, 240, 240, 240, 255);
    Text(picture, w - 200, 48, 100, 100, 0, 255, 0, 0xDC);
}

struct OverlayCase {
    const char* name;
    int movieWidth, movieHeight, frame;
    int canvasWidth, canvasHeight;
    RECT rect;
};

class FrameNumberReaderUnderOverlay : public ::testing::TestWithParam<OverlayCase> {};

}  // namespace

TEST_P(FrameNumberReaderUnderOverlay, ReadsTheFrameOutsideThePlayersOverlay) {
    const OverlayCase& c = GetParam();
    const AviMovieSpec movieSpec = Movie(c.movieWidth, c.movieHeight, 600);
    BgrxPicture picture = Shown(movieSpec, c.frame, c.canvasWidth, c.canvasHeight, c.rect, false);
    DrawPlayerOverlay(&picture);
    const std::vector<RECT> covered = FrameNumberReader_CL::PlayerOverlayAreas(c.canvasWidth, c.canvasHeight);

    RECT found{};
    ASSERT_TRUE(FrameNumberReader_CL::FindPictureRect(picture, covered, &found));
    EXPECT_EQ(found.left, c.rect.left);
    EXPECT_EQ(found.right, c.rect.right);
    // An edge under the bottom band mirrors the top one: the picture's centring may leave one
    // pixel more below.
    EXPECT_NEAR(found.top, c.rect.top, 1);
    EXPECT_NEAR(found.bottom, c.rect.bottom, 1);

    FrameNumberReader_CL reader(movieSpec);
    EXPECT_EQ(reader.Read(picture, covered), c.frame);
}

INSTANTIATE_TEST_SUITE_P(
    PlayerWindows, FrameNumberReaderUnderOverlay,
    ::testing::Values(
        // The demo: a 16:9 movie in the player's first window, bars above and below.
        OverlayCase{"wide movie between bars above and below", 640, 360, 123, 464, 290, {0, 14, 464, 275}},
        OverlayCase{"picture filling the window", 320, 240, 45, 480, 360, {0, 0, 480, 360}},
        OverlayCase{"bars beside", 320, 240, 307, 640, 360, {80, 0, 560, 360}},
        OverlayCase{"large window", 640, 360, 599, 1280, 720, {0, 0, 1280, 720}}),
    [](const ::testing::TestParamInfo<OverlayCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST(FrameNumberReader, ThePlayersOverlayDefeatsAReadThatIgnoresIt) {
    // The white of the title box, its texts and the control bar's icons disagree with every
    // frame at more points than a read allows.
    const AviMovieSpec movieSpec = Movie(640, 360, 600);
    BgrxPicture picture = Shown(movieSpec, 123, 464, 290, RECT{0, 14, 464, 275}, false);
    DrawPlayerOverlay(&picture);
    FrameNumberReader_CL reader(movieSpec);
    EXPECT_EQ(reader.Read(picture), -1);
}

TEST(FrameNumberReader, TheBandOverABarDoesNotStretchThePicture) {
    // A wide movie in a tall window: the band's bright top rows lie over the black bar below
    // the picture, which a search that looks at them would take for picture.
    const AviMovieSpec movieSpec = Movie(640, 360, 600);
    const RECT shown{0, 92, 464, 353};
    BgrxPicture picture = Shown(movieSpec, 77, 464, 445, shown, false);
    DrawPlayerOverlay(&picture);
    RECT plain{};
    ASSERT_TRUE(FrameNumberReader_CL::FindPictureRect(picture, &plain));
    EXPECT_GT(plain.bottom, shown.bottom + 30);
    const std::vector<RECT> covered = FrameNumberReader_CL::PlayerOverlayAreas(464, 445);
    RECT found{};
    ASSERT_TRUE(FrameNumberReader_CL::FindPictureRect(picture, covered, &found));
    EXPECT_TRUE(::EqualRect(&found, &shown)) << found.top << ".." << found.bottom;
    EXPECT_EQ(FrameNumberReader_CL(movieSpec).Read(picture, covered), 77);
}

TEST(FrameNumberReader, OverlayAreasFollowTheWindowSize) {
    const std::vector<RECT> areas = FrameNumberReader_CL::PlayerOverlayAreas(464, 290);
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(areas[0].left, 0);
    EXPECT_EQ(areas[0].top, 0);
    EXPECT_GE(areas[0].right, 272);  // the title box is never narrower
    EXPECT_GE(areas[0].bottom, 51);
    EXPECT_EQ(areas[1].top, 290 - 54);
    EXPECT_EQ(areas[1].bottom, 290);
    EXPECT_EQ(areas[1].right, 464);
    // A window smaller than the box: the areas stay inside it.
    const std::vector<RECT> small = FrameNumberReader_CL::PlayerOverlayAreas(200, 40);
    for (const RECT& area : small) {
        EXPECT_LE(area.right, 200);
        EXPECT_LE(area.bottom, 40);
        EXPECT_GE(area.top, 0);
    }
    EXPECT_TRUE(FrameNumberReader_CL::PlayerOverlayAreas(0, 0).empty());
}

TEST(FrameNumberReader, PicturesWithoutAFrameReadAsNone) {
    const AviMovieSpec movieSpec = Movie(320, 240, 300);
    FrameNumberReader_CL reader(movieSpec);
    BgrxPicture empty;
    EXPECT_EQ(reader.Read(empty), -1);

    BgrxPicture black;
    black.width = 100;
    black.height = 80;
    black.bgrx.assign(100 * 80 * 4, 0);
    EXPECT_EQ(reader.Read(black), -1);
    RECT rect{};
    EXPECT_FALSE(FrameNumberReader_CL::FindPictureRect(black, &rect));

    // A background with no digits on it.
    BgrxPicture plain = black;
    for (size_t i = 0; i < plain.bgrx.size(); i += 4) {
        plain.bgrx[i] = 16;
        plain.bgrx[i + 1] = 96;
        plain.bgrx[i + 2] = 40;
    }
    EXPECT_EQ(reader.Read(plain), -1);

    // All white: the player's text over everything, or a blank window.
    BgrxPicture white = black;
    std::fill(white.bgrx.begin(), white.bgrx.end(), 255);
    EXPECT_EQ(reader.Read(white), -1);

    // A frame the movie does not have: none of its frames is close enough.
    FrameNumberReader_CL shortReader(Movie(320, 240, 100));
    EXPECT_EQ(shortReader.Read(Shown(movieSpec, 150, 320, 240, RECT{0, 0, 320, 240}, false)), -1);
}

}  // namespace

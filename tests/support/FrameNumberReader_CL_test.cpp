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

// Frames made smaller before a thumbnail is converted: the means of each halving, the sizes
// it rounds to, what it refuses, and how far a frame is shrunk.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "media/ColourConversion.h"
#include "thumbs/FrameHalving.h"

namespace {

TEST(FrameHalving, Yuy2PairsTakeTheRoundedMeansOfTheirLumasAndChroma) {
    // 4 x 2: two source pairs per row, one output pair.
    const std::vector<uint8_t> frame = {
        10, 100, 20, 200, 30, 110, 41, 210,  // Y0 U Y1 V | Y2 U' Y3 V'
        12, 102, 22, 202, 32, 112, 43, 212,
    };
    std::vector<uint8_t> out;
    PackedFrame halved;
    ASSERT_TRUE(HalveYuy2({frame.data(), 4, 2}, &out, &halved));
    EXPECT_EQ(halved.width, 2);
    EXPECT_EQ(halved.height, 1);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0], (10 + 20 + 12 + 22 + 2) / 4);   // the left two pixels of both rows
    EXPECT_EQ(out[1], (100 + 110 + 102 + 112 + 2) / 4);
    EXPECT_EQ(out[2], (30 + 41 + 32 + 43 + 2) / 4);   // the right two
    EXPECT_EQ(out[3], (200 + 210 + 202 + 212 + 2) / 4);
}

TEST(FrameHalving, Rgb32PixelsTakeTheMeanOfEachChannel) {
    const std::vector<uint8_t> frame = {0, 10, 200, 0, 255, 11, 100, 0,  //
                                        1, 12, 201, 0, 255, 13, 101, 0};
    std::vector<uint8_t> out;
    PackedFrame halved;
    ASSERT_TRUE(HalveRgb32({frame.data(), 2, 2}, &out, &halved));
    EXPECT_EQ(halved.width, 1);
    EXPECT_EQ(halved.height, 1);
    EXPECT_EQ(out, (std::vector<uint8_t>{128, 12, 151, 0}));
}

TEST(FrameHalving, OddSizesRoundDownAndAYuy2WidthStaysEven) {
    std::vector<uint8_t> frame(static_cast<size_t>(Yuy2FrameBytes(6, 5)), 90);
    std::vector<uint8_t> out;
    PackedFrame halved;
    ASSERT_TRUE(HalveYuy2({frame.data(), 6, 5}, &out, &halved));
    EXPECT_EQ(halved.width, 2);  // 3 rounded down to a whole pair
    EXPECT_EQ(halved.height, 2);
    EXPECT_EQ(out, std::vector<uint8_t>(8, 90));

    std::vector<uint8_t> rgb(static_cast<size_t>(Rgb32FrameBytes(5, 3)), 7);
    ASSERT_TRUE(HalveRgb32({rgb.data(), 5, 3}, &out, &halved));
    EXPECT_EQ(halved.width, 2);
    EXPECT_EQ(halved.height, 1);
    EXPECT_EQ(out, std::vector<uint8_t>(8, 7));
}

TEST(FrameHalving, FramesTooSmallOrMisshapenAreLeftAlone) {
    const std::vector<uint8_t> frame(64, 1);
    std::vector<uint8_t> out = {42};
    PackedFrame halved;
    EXPECT_FALSE(HalveYuy2({frame.data(), 2, 4}, &out, &halved));  // one pair across
    EXPECT_FALSE(HalveYuy2({frame.data(), 6, 1}, &out, &halved));  // one row
    EXPECT_FALSE(HalveYuy2({frame.data(), 5, 4}, &out, &halved));  // odd YUY2 width
    EXPECT_FALSE(HalveRgb32({frame.data(), 1, 4}, &out, &halved));
    EXPECT_FALSE(HalveRgb32({nullptr, 4, 4}, &out, &halved));
    EXPECT_EQ(out, std::vector<uint8_t>{42});
}

TEST(FrameHalving, FramesShrinkWhileTheyStillCoverTheThumbnail) {
    struct Case {
        int width, height;
        bool rgb32;
        int expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {1280, 720, false, 320, 180},   // twice
        {1920, 1080, false, 480, 270},  // twice; a third would fall below 320 x 180
        {1920, 1080, true, 480, 270},
        {720, 480, false, 360, 240},    // once
        {640, 200, false, 640, 200},    // halving would fall below 180 rows
        {320, 180, true, 320, 180},
    };
    for (const Case& c : cases) {
        const size_t bytes = static_cast<size_t>(c.rgb32 ? Rgb32FrameBytes(c.width, c.height)
                                                         : Yuy2FrameBytes(c.width, c.height));
        std::vector<uint8_t> frame(bytes, 128);
        std::vector<uint8_t> first, second;
        const PackedFrame small = ShrinkTowards({frame.data(), c.width, c.height}, c.rgb32, 320, 180, &first, &second);
        EXPECT_EQ(small.width, c.expectedWidth) << c.width << "x" << c.height;
        EXPECT_EQ(small.height, c.expectedHeight) << c.width << "x" << c.height;
        if (small.width == c.width) {
            EXPECT_EQ(small.data, frame.data());
        } else {
            // Still one uniform grey, in a buffer of the right size.
            const uint8_t* end = small.data + (c.rgb32 ? 4 : 2) * small.width * small.height;
            EXPECT_TRUE(std::all_of(small.data, end, [](uint8_t v) { return v == 128; }));
        }
    }
}

}  // namespace

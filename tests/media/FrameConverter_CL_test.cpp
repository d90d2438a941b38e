#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "media/ColourAdjust_CL.h"
#include "media/ColourConversion.h"
#include "media/FrameConverter_CL.h"

namespace {

constexpr int32_t kOne = 0x10000;
constexpr uint8_t kPadding = 0x5A;

struct Frame {
    int width;
    int height;
    std::vector<uint8_t> yuy2;
};

Frame RandomFrame(int width, int height, uint32_t seed) {
    std::mt19937 random(seed);
    Frame frame{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 2)};
    for (uint8_t& b : frame.yuy2) b = static_cast<uint8_t>(random());
    return frame;
}

size_t OutputRowBytes(int width, bool rgb) { return static_cast<size_t>(width) * (rgb ? 4 : 2); }

// The frame row by row through today's plain functions, into rows of `pitch` bytes.
std::vector<uint8_t> PlainFrame(const Frame& frame, bool rgb, const ColourAdjust_CL& adjust, size_t pitch) {
    std::vector<uint8_t> out(pitch * frame.height, kPadding);
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* src = frame.yuy2.data() + static_cast<size_t>(frame.width) * 2 * y;
        uint8_t* dst = out.data() + pitch * y;
        if (rgb && adjust.IsNeutral()) ConvertYuy2ToRgb32(src, frame.width, 1, dst);
        if (rgb && !adjust.IsNeutral()) adjust.AdjustRowToRgb32(src, dst, frame.width);
        if (!rgb && adjust.IsNeutral()) std::memcpy(dst, src, static_cast<size_t>(frame.width) * 2);
        if (!rgb && !adjust.IsNeutral()) adjust.AdjustRow(src, dst, frame.width);
    }
    return out;
}

std::vector<uint8_t> Converted(FrameConverter_CL& converter, const Frame& frame, bool rgb,
                               const ColourAdjust_CL& adjust, size_t pitch) {
    std::vector<uint8_t> out(pitch * frame.height, kPadding);
    const ptrdiff_t dstPitch = static_cast<ptrdiff_t>(pitch);
    if (rgb) {
        converter.ConvertToRgb32(frame.yuy2.data(), frame.width, frame.height, out.data(), dstPitch, adjust);
    } else {
        converter.AdjustYuy2(frame.yuy2.data(), frame.width, frame.height, out.data(), dstPitch, adjust);
    }
    return out;
}

ColourAdjust_CL Adjusted() {
    const int32_t values[4] = {12 * kOne, 0x15000, -40 * kOne, 0x1C000};
    ColourAdjust_CL adjust;
    adjust.SetValues(values);
    return adjust;
}

TEST(FrameConverterTest, BandedFramesEqualTheOneThreadFrames) {
    FrameConverter_CL banded(FrameConverter_CL::kMaxHelpers);
    FrameConverter_CL alone(0);
    ASSERT_EQ(banded.HelperCount(), FrameConverter_CL::kMaxHelpers);
    ASSERT_EQ(alone.HelperCount(), 0);
    const ColourAdjust_CL neutral, adjusted = Adjusted();
    // 1080p; a height no band count divides; a frame just at the size that is split.
    const int sizes[][2] = {{1920, 1080}, {1922, 541}, {640, 360}, {1280, 720}};
    for (const auto& size : sizes) {
        const Frame frame = RandomFrame(size[0], size[1], static_cast<uint32_t>(size[0] + size[1]));
        for (bool rgb : {true, false}) {
            for (const ColourAdjust_CL* adjust : {&neutral, &adjusted}) {
                const size_t pitch = OutputRowBytes(frame.width, rgb);
                const std::vector<uint8_t> one = Converted(alone, frame, rgb, *adjust, pitch);
                EXPECT_TRUE(Converted(banded, frame, rgb, *adjust, pitch) == one)
                    << size[0] << "x" << size[1] << (rgb ? " RGB32" : " YUY2") << (adjust->IsNeutral() ? " plain" : "");
                EXPECT_TRUE(one == PlainFrame(frame, rgb, *adjust, pitch)) << size[0] << "x" << size[1];
            }
        }
    }
}

TEST(FrameConverterTest, SmallAndOneRowFramesConvertLikeThePlainFunctions) {
    FrameConverter_CL converter(2);
    const ColourAdjust_CL adjusted = Adjusted();
    const int sizes[][2] = {{2, 1}, {34, 1}, {1922, 1}, {14, 3}, {18, 359}, {33, 5}};
    for (const auto& size : sizes) {
        const Frame frame = RandomFrame(size[0], size[1], 77);
        for (bool rgb : {true, false}) {
            const size_t pitch = OutputRowBytes(frame.width, rgb);
            EXPECT_TRUE(Converted(converter, frame, rgb, adjusted, pitch) == PlainFrame(frame, rgb, adjusted, pitch))
                << size[0] << "x" << size[1] << (rgb ? " RGB32" : " YUY2");
        }
    }
}

TEST(FrameConverterTest, WiderDestinationRowsKeepTheirPaddingUntouched) {
    FrameConverter_CL converter(2);
    const ColourAdjust_CL neutral, adjusted = Adjusted();
    const Frame frame = RandomFrame(1282, 722, 9);
    for (bool rgb : {true, false}) {
        for (const ColourAdjust_CL* adjust : {&neutral, &adjusted}) {
            // A pitch of the surface kind: rounded up, and not a multiple of the vector width.
            const size_t pitch = OutputRowBytes(frame.width, rgb) + 52;
            const std::vector<uint8_t> out = Converted(converter, frame, rgb, *adjust, pitch);
            EXPECT_TRUE(out == PlainFrame(frame, rgb, *adjust, pitch)) << (rgb ? "RGB32" : "YUY2");
            for (int y = 0; y < frame.height; ++y) {
                for (size_t x = OutputRowBytes(frame.width, rgb); x < pitch; ++x) {
                    ASSERT_EQ(out[pitch * y + x], kPadding) << "row " << y << " byte " << x;
                }
            }
        }
    }
}

TEST(FrameConverterTest, ManyFramesInARowFromTwoThreadsStayCorrect) {
    // Different jobs follow each other closely: a helper waking late for one must neither take
    // bands of the next with the old frame's sizes nor leave a band of the new frame undone.
    FrameConverter_CL converter(FrameConverter_CL::kMaxHelpers);
    const Frame small = RandomFrame(1280, 720, 3), large = RandomFrame(1922, 1080, 4);
    const ColourAdjust_CL neutral, adjusted = Adjusted();
    const std::vector<uint8_t> expectedSmall = PlainFrame(small, true, adjusted, OutputRowBytes(1280, true));
    const std::vector<uint8_t> expectedLarge = PlainFrame(large, false, neutral, OutputRowBytes(1922, false));
    int wrong = 0;
    auto convertFrames = [&] {
        for (int i = 0; i < 30; ++i) {
            if (Converted(converter, small, true, adjusted, OutputRowBytes(1280, true)) != expectedSmall) ++wrong;
            if (Converted(converter, large, false, neutral, OutputRowBytes(1922, false)) != expectedLarge) ++wrong;
        }
    };
    convertFrames();
    std::thread other(convertFrames);  // one call at a time: this thread waits meanwhile
    other.join();
    EXPECT_EQ(wrong, 0);
}

TEST(FrameConverterTest, ConvertersDestroyedAtOnceOrAfterOneFrameJoinTheirHelpers) {
    const Frame frame = RandomFrame(640, 360, 4);
    const ColourAdjust_CL adjusted = Adjusted();
    const std::vector<uint8_t> expected = PlainFrame(frame, true, adjusted, OutputRowBytes(640, true));
    for (int i = 0; i < 25; ++i) {
        FrameConverter_CL idle(FrameConverter_CL::kMaxHelpers);
        EXPECT_EQ(idle.HelperCount(), FrameConverter_CL::kMaxHelpers);
    }
    for (int i = 0; i < 25; ++i) {
        FrameConverter_CL once(FrameConverter_CL::kAutomaticHelpers);
        EXPECT_GE(once.HelperCount(), 1);
        EXPECT_LE(once.HelperCount(), FrameConverter_CL::kMaxHelpers);
        ASSERT_TRUE(Converted(once, frame, true, adjusted, OutputRowBytes(640, true)) == expected) << i;
    }
}

TEST(FrameConverterTest, EveryKernelLevelGivesTheSameFrame) {
    const Frame frame = RandomFrame(1918, 400, 11);
    const ColourAdjust_CL adjusted = Adjusted();
    FrameConverter_CL scalar(1, SimdLevel::kScalar);
    EXPECT_EQ(scalar.Level(), SimdLevel::kScalar);
    for (bool rgb : {true, false}) {
        const size_t pitch = OutputRowBytes(frame.width, rgb);
        const std::vector<uint8_t> expected = Converted(scalar, frame, rgb, adjusted, pitch);
        for (SimdLevel level : {SimdLevel::kSse2, SimdLevel::kAvx2}) {
            FrameConverter_CL converter(1, level);
            EXPECT_TRUE(Converted(converter, frame, rgb, adjusted, pitch) == expected) << SimdLevelName(level);
        }
    }
}

TEST(FrameConverterTest, EmptyOrMissingFramesWriteNothing) {
    FrameConverter_CL converter(1);
    const ColourAdjust_CL adjusted = Adjusted();
    std::vector<uint8_t> src(64, 100), dst(128, kPadding);
    converter.ConvertToRgb32(src.data(), 0, 4, dst.data(), 32, adjusted);
    converter.ConvertToRgb32(src.data(), 8, 0, dst.data(), 32, adjusted);
    converter.ConvertToRgb32(nullptr, 8, 4, dst.data(), 32, adjusted);
    converter.AdjustYuy2(src.data(), -2, 4, dst.data(), 16, adjusted);
    converter.AdjustYuy2(src.data(), 8, 4, nullptr, 16, adjusted);
    EXPECT_EQ(dst, std::vector<uint8_t>(128, kPadding));
}

}  // namespace

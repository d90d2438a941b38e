#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "media/ColourAdjust_CL.h"
#include "media/ColourConversion.h"
#include "media/Yuy2RowKernels.h"

namespace {

constexpr int32_t kOne = 0x10000;
// Pixel counts whose macropixel count fills no vector exactly (1, 3, 7, 9, 17, 959, 961), plus
// exact multiples of both vector widths and odd counts whose last pixel has no partner.
constexpr int kWidths[] = {2, 6, 14, 18, 34, 1918, 1922, 16, 32, 1920, 33, 7};
// The kernels repeat the plain code's integer arithmetic and rounding, so not even the one level
// the presenter could tolerate is allowed.
constexpr int kMaxLevelDifference = 0;
constexpr uint8_t kGuard = 0xA5;
constexpr size_t kGuardBytes = 64;

std::vector<SimdLevel> VectorLevels() {
    std::vector<SimdLevel> levels{SimdLevel::kSse2};
    if (ProcessorSimdLevel() == SimdLevel::kAvx2) levels.push_back(SimdLevel::kAvx2);
    return levels;
}

// Each control at its minimum, halfway to the default, the default, a third of the way on to
// the maximum and the maximum, the others at their defaults; then 200 random settings over the
// whole ranges.
std::vector<std::vector<int32_t>> Settings() {
    std::vector<std::vector<int32_t>> settings;
    const int masks[4] = {kProcAmpBrightness, kProcAmpContrast, kProcAmpHue, kProcAmpSaturation};
    for (int control = 0; control < 4; ++control) {
        const ProcAmpRange range = NominalProcAmpRange(masks[control]);
        const int32_t points[5] = {range.minimum, (range.minimum + range.defaultValue) / 2, range.defaultValue,
                                   range.defaultValue + (range.maximum - range.defaultValue) / 3, range.maximum};
        for (int32_t point : points) {
            std::vector<int32_t> values = {0, kOne, 0, kOne};
            values[control] = point;
            settings.push_back(values);
        }
    }
    std::mt19937 random(20240611);
    for (int i = 0; i < 200; ++i) {
        std::vector<int32_t> values(4);
        for (int control = 0; control < 4; ++control) {
            const ProcAmpRange range = NominalProcAmpRange(masks[control]);
            values[control] = std::uniform_int_distribution<int32_t>(range.minimum, range.maximum)(random);
        }
        settings.push_back(values);
    }
    return settings;
}

std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

// `actual` is the row and guard bytes behind it; answers an empty string when the row matches
// `expected` within kMaxLevelDifference per byte and the guard is intact.
std::string Compare(const std::vector<uint8_t>& expected, const std::vector<uint8_t>& actual) {
    for (size_t i = 0; i < expected.size(); ++i) {
        if (std::abs(expected[i] - actual[i]) > kMaxLevelDifference) {
            return "byte " + std::to_string(i) + ": " + std::to_string(actual[i]) + " instead of " +
                   std::to_string(expected[i]);
        }
    }
    for (size_t i = expected.size(); i < actual.size(); ++i) {
        if (actual[i] != kGuard) return "written past the row at byte " + std::to_string(i);
    }
    return {};
}

enum class Operation { kConvert, kAdjustToRgb32, kAdjust };

// The row by today's plain functions and by the kernels of `level`, from a source that starts
// one byte into its buffer so no load is aligned.
std::string RunRow(Operation operation, SimdLevel level, const ColourAdjust_CL& adjust, int pixels, uint32_t seed) {
    const std::vector<uint8_t> buffer = RandomBytes(static_cast<size_t>(pixels) * 2 + 1, seed);
    const uint8_t* src = buffer.data() + 1;
    const size_t outBytes = static_cast<size_t>(pixels) * (operation == Operation::kAdjust ? 2 : 4);
    // Both start from the same bytes so an odd last pixel left alone compares equal.
    std::vector<uint8_t> expected = RandomBytes(outBytes, seed + 1);
    std::vector<uint8_t> actual = expected;
    actual.resize(outBytes + kGuardBytes, kGuard);
    const Yuy2AdjustCoefficients coefficients = MakeYuy2AdjustCoefficients(adjust);
    switch (operation) {
    case Operation::kConvert:
        ConvertYuy2ToRgb32(src, pixels, 1, expected.data());
        ConvertYuy2RowToRgb32(level, src, actual.data(), pixels);
        break;
    case Operation::kAdjustToRgb32:
        adjust.AdjustRowToRgb32(src, expected.data(), pixels);
        AdjustYuy2RowToRgb32(level, adjust, coefficients, src, actual.data(), pixels);
        break;
    case Operation::kAdjust:
        adjust.AdjustRow(src, expected.data(), pixels);
        AdjustYuy2Row(level, adjust, coefficients, src, actual.data(), pixels);
        break;
    }
    return Compare(expected, actual);
}

TEST(Yuy2RowKernelsTest, PlainConversionMatchesThePlainFunctionAtEveryWidth) {
    const ColourAdjust_CL neutral;
    for (SimdLevel level : VectorLevels()) {
        for (int pixels : kWidths) {
            for (uint32_t seed = 1; seed <= 4; ++seed) {
                EXPECT_EQ(RunRow(Operation::kConvert, level, neutral, pixels, seed * 97 + pixels), "")
                    << SimdLevelName(level) << ", " << pixels << " pixels";
            }
        }
    }
}

TEST(Yuy2RowKernelsTest, AdjustedRowsMatchThePlainFunctionsForEverySetting) {
    const std::vector<std::vector<int32_t>> settings = Settings();
    for (SimdLevel level : VectorLevels()) {
        for (size_t s = 0; s < settings.size(); ++s) {
            ColourAdjust_CL adjust;
            adjust.SetValues(settings[s].data());
            for (int pixels : kWidths) {
                const uint32_t seed = static_cast<uint32_t>(s * 131 + pixels);
                const auto& v = settings[s];
                ASSERT_EQ(RunRow(Operation::kAdjustToRgb32, level, adjust, pixels, seed), "")
                    << "to RGB32, " << SimdLevelName(level) << ", " << pixels << " pixels, setting " << v[0] << " "
                    << v[1] << " " << v[2] << " " << v[3];
                ASSERT_EQ(RunRow(Operation::kAdjust, level, adjust, pixels, seed), "")
                    << "YUY2, " << SimdLevelName(level) << ", " << pixels << " pixels, setting " << v[0] << " " << v[1]
                    << " " << v[2] << " " << v[3];
            }
        }
    }
}

TEST(Yuy2RowKernelsTest, AdjustingInPlaceGivesWhatAdjustingIntoAnotherBufferGives) {
    const int32_t values[4] = {-30 * kOne, 0x18000, 77 * kOne, 0x6000};
    ColourAdjust_CL adjust;
    adjust.SetValues(values);
    const Yuy2AdjustCoefficients coefficients = MakeYuy2AdjustCoefficients(adjust);
    for (SimdLevel level : VectorLevels()) {
        std::vector<uint8_t> pixels = RandomBytes(1922 * 2, 5);
        std::vector<uint8_t> expected(pixels.size());
        adjust.AdjustRow(pixels.data(), expected.data(), 1922);
        AdjustYuy2Row(level, adjust, coefficients, pixels.data(), pixels.data(), 1922);
        EXPECT_EQ(pixels, expected) << SimdLevelName(level);
    }
}

TEST(Yuy2RowKernelsTest, LevelsAreLoweredToWhatTheProcessorRuns) {
    // x86-64 always has SSE2; a wish above the processor is never granted.
    EXPECT_GE(static_cast<int>(ProcessorSimdLevel()), static_cast<int>(SimdLevel::kSse2));
    EXPECT_EQ(UsableSimdLevel(SimdLevel::kScalar), SimdLevel::kScalar);
    EXPECT_EQ(UsableSimdLevel(SimdLevel::kSse2), SimdLevel::kSse2);
    EXPECT_EQ(UsableSimdLevel(SimdLevel::kAvx2), ProcessorSimdLevel());
    EXPECT_LE(static_cast<int>(DefaultSimdLevel()), static_cast<int>(ProcessorSimdLevel()));
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "media/ColourAdjust_CL.h"
#include "media/ColourConversion.h"

namespace {

constexpr int32_t kOne = 0x10000;

int Clamp(double value) {
    long rounded = std::lround(value);
    return rounded < 0 ? 0 : rounded > 255 ? 255 : static_cast<int>(rounded);
}

// The adjustment straight from its formulas, in doubles.
void Reference(const int32_t values[4], uint8_t y, uint8_t cb, uint8_t cr, int* yOut, int* cbOut, int* crOut) {
    double b = values[0] / 65536.0, c = values[1] / 65536.0, h = values[2] / 65536.0 * 3.14159265358979323846 / 180.0,
           s = values[3] / 65536.0;
    *yOut = Clamp((y - 16) * c + 16 + b);
    *cbOut = Clamp(((cb - 128) * std::cos(h) + (cr - 128) * std::sin(h)) * c * s + 128);
    *crOut = Clamp(((cr - 128) * std::cos(h) - (cb - 128) * std::sin(h)) * c * s + 128);
}

std::vector<uint8_t> Adjust(const int32_t values[4], std::vector<uint8_t> pixels) {
    ColourAdjust_CL adjust;
    adjust.SetValues(values);
    std::vector<uint8_t> out(pixels.size());
    adjust.AdjustRow(pixels.data(), out.data(), static_cast<int>(pixels.size() / 2));
    return out;
}

TEST(ColourAdjustTest, NeutralValuesChangeNothing) {
    const int32_t neutral[4] = {0, kOne, 0, kOne};
    ColourAdjust_CL adjust;
    adjust.SetValues(neutral);
    EXPECT_TRUE(adjust.IsNeutral());
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 256; ++i) {
        pixels.push_back(static_cast<uint8_t>(i));
        pixels.push_back(static_cast<uint8_t>(255 - i));
    }
    EXPECT_EQ(Adjust(neutral, pixels), pixels);
}

TEST(ColourAdjustTest, EachControlFollowsItsFormula) {
    struct Case {
        const char* name;
        int32_t values[4];
        uint8_t in[4], out[4];  // Y0 Cb Y1 Cr
    };
    const Case cases[] = {
        {"brightness +20", {20 * kOne, kOne, 0, kOne}, {100, 90, 200, 170}, {120, 90, 220, 170}},
        {"brightness -100 floors at 0", {-100 * kOne, kOne, 0, kOne}, {50, 128, 16, 128}, {0, 128, 0, 128}},
        {"contrast 2", {0, 2 * kOne, 0, kOne}, {100, 100, 50, 150}, {184, 72, 84, 172}},
        {"contrast 0 gives grey", {0, 0, 0, kOne}, {235, 16, 16, 240}, {16, 128, 16, 128}},
        {"hue 90 swaps chroma", {0, kOne, 90 * kOne, kOne}, {100, 100, 100, 150}, {100, 150, 100, 156}},
        {"hue 180 negates chroma", {0, kOne, 180 * kOne, kOne}, {80, 100, 80, 150}, {80, 156, 80, 106}},
        {"saturation 0 removes colour", {0, kOne, 0, 0}, {81, 90, 145, 240}, {81, 128, 145, 128}},
        {"saturation 10 clamps", {0, kOne, 0, 10 * kOne}, {81, 90, 145, 240}, {81, 0, 145, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> out = Adjust(c.values, {c.in[0], c.in[1], c.in[2], c.in[3]});
        for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i], c.out[i]) << "byte " << i;
    }
}

TEST(ColourAdjustTest, RandomSettingsStayWithinOneOfTheFormulas) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        int32_t values[4] = {static_cast<int32_t>(std::uniform_int_distribution<int>(-100 * kOne, 100 * kOne)(random)),
                             static_cast<int32_t>(std::uniform_int_distribution<int>(0, 4 * kOne)(random)),
                             static_cast<int32_t>(std::uniform_int_distribution<int>(-180 * kOne, 180 * kOne)(random)),
                             static_cast<int32_t>(std::uniform_int_distribution<int>(0, 4 * kOne)(random))};
        std::vector<uint8_t> pixels(64);
        for (auto& value : pixels) value = static_cast<uint8_t>(byte(random));
        std::vector<uint8_t> out = Adjust(values, pixels);
        for (size_t i = 0; i < pixels.size(); i += 4) {
            int y0, y1, cb, cr;
            Reference(values, pixels[i], pixels[i + 1], pixels[i + 3], &y0, &cb, &cr);
            Reference(values, pixels[i + 2], pixels[i + 1], pixels[i + 3], &y1, &cb, &cr);
            ASSERT_LE(std::abs(out[i] - y0), 1) << "round " << round;
            ASSERT_LE(std::abs(out[i + 1] - cb), 1) << "round " << round;
            ASSERT_LE(std::abs(out[i + 2] - y1), 1) << "round " << round;
            ASSERT_LE(std::abs(out[i + 3] - cr), 1) << "round " << round;
        }
    }
}

TEST(ColourAdjustTest, AdjustsInPlace) {
    const int32_t values[4] = {10 * kOne, kOne, 0, kOne};
    std::vector<uint8_t> pixels = {100, 128, 110, 128};
    ColourAdjust_CL adjust;
    adjust.SetValues(values);
    adjust.AdjustRow(pixels.data(), pixels.data(), 2);
    EXPECT_EQ(pixels, (std::vector<uint8_t>{110, 128, 120, 128}));
}

TEST(ColourAdjustTest, RangesAreTheNominalProcessorRanges) {
    ProcAmpRange brightness = NominalProcAmpRange(kProcAmpBrightness);
    EXPECT_EQ(brightness.minimum, -100 * kOne);
    EXPECT_EQ(brightness.maximum, 100 * kOne);
    EXPECT_EQ(brightness.defaultValue, 0);
    ProcAmpRange contrast = NominalProcAmpRange(kProcAmpContrast);
    EXPECT_EQ(contrast.minimum, 0);
    EXPECT_EQ(contrast.maximum, 10 * kOne);
    EXPECT_EQ(contrast.defaultValue, kOne);
    ProcAmpRange hue = NominalProcAmpRange(kProcAmpHue);
    EXPECT_EQ(hue.minimum, -180 * kOne);
    EXPECT_EQ(hue.maximum, 180 * kOne);
    ProcAmpRange saturation = NominalProcAmpRange(kProcAmpSaturation);
    EXPECT_EQ(saturation.maximum, 10 * kOne);
    EXPECT_EQ(saturation.defaultValue, kOne);
    // Any other mask answers the brightness range.
    for (int mask : {0, 3, 16, -1}) EXPECT_EQ(NominalProcAmpRange(mask).minimum, -100 * kOne) << mask;
}

TEST(ColourAdjustTest, ValuesOutsideTheRangeAreClamped) {
    EXPECT_EQ(ClampProcAmpValue(kProcAmpBrightness, 500 * kOne), 100 * kOne);
    EXPECT_EQ(ClampProcAmpValue(kProcAmpContrast, -kOne), 0);
    EXPECT_EQ(ClampProcAmpValue(kProcAmpHue, INT32_MIN), -180 * kOne);
    // A stored value far out of range gives the same picture as the range's end.
    const int32_t wild[4] = {INT32_MAX, kOne, 0, kOne};
    const int32_t edge[4] = {100 * kOne, kOne, 0, kOne};
    std::vector<uint8_t> pixels = {16, 128, 100, 128};
    EXPECT_EQ(Adjust(wild, pixels), Adjust(edge, pixels));
}

}  // namespace

namespace {

TEST(ColourAdjustTest, AdjustingToRgbIsAdjustingThenConverting) {
    const int32_t values[4] = {-12 * kOne, 0x14000, 33 * kOne, 0x8000};
    ColourAdjust_CL adjust;
    adjust.SetValues(values);
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 64; ++i) pixels.push_back(static_cast<uint8_t>(i * 37 + 11));
    std::vector<uint8_t> adjusted(pixels.size()), twoSteps(pixels.size() * 2), oneStep(pixels.size() * 2);
    adjust.AdjustRow(pixels.data(), adjusted.data(), 32);
    ConvertYuy2ToRgb32(adjusted.data(), 32, 1, twoSteps.data());
    adjust.AdjustRowToRgb32(pixels.data(), oneStep.data(), 32);
    EXPECT_EQ(oneStep, twoSteps);
}

}  // namespace

#include "media/ColourAdjust_CL.h"

#include <cmath>
#include <cstring>

#include "media/ColourConversion.h"

namespace {

constexpr int32_t kOne = 0x10000;
constexpr double kPi = 3.14159265358979323846;

// Nominal ranges of the DXVA2 procamp controls; the steps are a tenth of a unit for brightness
// and hue and a hundredth for contrast and saturation.
constexpr ProcAmpRange kRanges[4] = {
    {-100 * kOne, 100 * kOne, 0, kOne / 10},
    {0, 10 * kOne, kOne, kOne / 100},
    {-180 * kOne, 180 * kOne, 0, kOne / 10},
    {0, 10 * kOne, kOne, kOne / 100},
};

uint8_t ClampByte(int32_t value) { return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value); }

}  // namespace

int ProcAmpIndex(int mask) {
    switch (mask) {
    case kProcAmpContrast: return 1;
    case kProcAmpHue: return 2;
    case kProcAmpSaturation: return 3;
    default: return 0;
    }
}

ProcAmpRange NominalProcAmpRange(int mask) { return kRanges[ProcAmpIndex(mask)]; }

int32_t ClampProcAmpValue(int mask, int32_t raw) {
    const ProcAmpRange& range = kRanges[ProcAmpIndex(mask)];
    return raw < range.minimum ? range.minimum : raw > range.maximum ? range.maximum : raw;
}

ColourAdjust_CL::ColourAdjust_CL() {
    const int32_t neutral[4] = {0, kOne, 0, kOne};
    SetValues(neutral);
}

void ColourAdjust_CL::SetValues(const int32_t values[4]) {
    const int32_t brightnessRaw = ClampProcAmpValue(kProcAmpBrightness, values[0]);
    const int32_t contrastRaw = ClampProcAmpValue(kProcAmpContrast, values[1]);
    const int32_t hueRaw = ClampProcAmpValue(kProcAmpHue, values[2]);
    const int32_t saturationRaw = ClampProcAmpValue(kProcAmpSaturation, values[3]);
    m_brightnessRaw = brightnessRaw;
    m_contrastRaw = contrastRaw;
    m_neutral = brightnessRaw == 0 && contrastRaw == kOne && hueRaw == 0 && saturationRaw == kOne;

    const double brightness = brightnessRaw / 65536.0, contrast = contrastRaw / 65536.0;
    const double hue = hueRaw / 65536.0 * kPi / 180.0, saturation = saturationRaw / 65536.0;
    for (int y = 0; y < 256; ++y) {
        m_luma[y] = ClampByte(static_cast<int32_t>(std::lround((y - 16) * contrast + 16 + brightness)));
    }
    m_cosGain = static_cast<int32_t>(std::lround(std::cos(hue) * contrast * saturation * kOne));
    m_sinGain = static_cast<int32_t>(std::lround(std::sin(hue) * contrast * saturation * kOne));
}

void ColourAdjust_CL::AdjustPair(const uint8_t* src, uint8_t out[4]) const {
    // 32 bits suffice: |gain| <= 10 * 10 * 65536 and |offset| <= 128, so each sum of two
    // products stays below 2^31.
    const int32_t cb = src[1] - 128, cr = src[3] - 128;
    const int32_t cbOut = (cb * m_cosGain + cr * m_sinGain + kOne / 2) >> 16;
    const int32_t crOut = (cr * m_cosGain - cb * m_sinGain + kOne / 2) >> 16;
    out[0] = m_luma[src[0]];
    out[1] = ClampByte(cbOut + 128);
    out[2] = m_luma[src[2]];
    out[3] = ClampByte(crOut + 128);
}

void ColourAdjust_CL::AdjustRow(const uint8_t* src, uint8_t* dst, int pixels) const {
    for (int x = 0; x + 1 < pixels; x += 2, src += 4, dst += 4) {
        uint8_t out[4];
        AdjustPair(src, out);
        std::memcpy(dst, out, 4);
    }
}

void ColourAdjust_CL::AdjustRowToRgb32(const uint8_t* src, uint8_t* dst, int pixels) const {
    for (int x = 0; x + 1 < pixels; x += 2, src += 4, dst += 8) {
        uint8_t out[4];
        AdjustPair(src, out);
        ConvertYuy2PairToRgb32(out[0], out[1], out[2], out[3], dst);
    }
}

#include "media/Yuy2RowKernels.h"

#include <cstdlib>
#include <cstring>
#if !defined(__GNUC__)
#include <intrin.h>
#endif

#include "media/ColourAdjust_CL.h"
#include "media/ColourConversion.h"
#include "media/Yuy2VectorKernels.h"

namespace {

SimdLevel DetectSimdLevel() {
#if defined(__GNUC__)
    __builtin_cpu_init();
    // GCC's check of "avx2" includes the OS saving the upper halves of the registers (XGETBV).
    return __builtin_cpu_supports("avx2") ? SimdLevel::kAvx2 : SimdLevel::kSse2;
#else
    int info[4] = {};
    __cpuid(info, 1);
    const bool osSavesAvx = (info[2] & (1 << 27)) != 0 && (_xgetbv(0) & 6) == 6;
    __cpuidex(info, 7, 0);
    return osSavesAvx && (info[1] & (1 << 5)) != 0 ? SimdLevel::kAvx2 : SimdLevel::kSse2;
#endif
}

}  // namespace

SimdLevel ProcessorSimdLevel() {
    static const SimdLevel level = DetectSimdLevel();
    return level;
}

SimdLevel DefaultSimdLevel() {
    static const SimdLevel level = [] {
        const char* setting = std::getenv("LK_SIMD");
        if (setting && std::strcmp(setting, "scalar") == 0) return SimdLevel::kScalar;
        if (setting && std::strcmp(setting, "sse2") == 0) return UsableSimdLevel(SimdLevel::kSse2);
        return ProcessorSimdLevel();
    }();
    return level;
}

SimdLevel UsableSimdLevel(SimdLevel wanted) {
    const SimdLevel processor = ProcessorSimdLevel();
    return static_cast<int>(wanted) <= static_cast<int>(processor) ? wanted : processor;
}

const char* SimdLevelName(SimdLevel level) {
    switch (level) {
    case SimdLevel::kAvx2: return "AVX2";
    case SimdLevel::kSse2: return "SSE2";
    default: return "scalar";
    }
}

Yuy2AdjustCoefficients MakeYuy2AdjustCoefficients(const ColourAdjust_CL& adjust) {
    // The luma table is lround((Y - 16) * contrast + 16 + brightness) clamped; with contrast and
    // brightness raw 16.16 that sum is an exact integer over 2^16, and for the non-negative sums
    // that survive the clamp, adding one half and shifting rounds the same way.
    const int32_t contrast = adjust.ContrastRaw();
    const int32_t cosGain = adjust.CosGain(), sinGain = adjust.SinGain(), minusSin = -sinGain;
    Yuy2AdjustCoefficients k;
    k.luma = FactorPair(contrast & 127, contrast >> 7);
    k.lumaOffset = (16 << 16) + adjust.BrightnessRaw() + (1 << 15);
    k.cbLow = FactorPair(cosGain & 255, sinGain & 255);
    k.cbHigh = FactorPair(cosGain >> 8, sinGain >> 8);
    k.crLow = FactorPair(minusSin & 255, cosGain & 255);
    k.crHigh = FactorPair(minusSin >> 8, cosGain >> 8);
    k.chromaOffset = (128 << 16) + (1 << 15);
    return k;
}

void ConvertYuy2RowToRgb32(SimdLevel level, const uint8_t* src, uint8_t* dst, int pixels) {
    int done = 0;
    switch (UsableSimdLevel(level)) {
    case SimdLevel::kAvx2: done = ConvertYuy2ToRgb32Avx2(src, dst, pixels); break;
    case SimdLevel::kSse2: done = ConvertYuy2ToRgb32Sse2(src, dst, pixels); break;
    default: break;
    }
    if (done < pixels) ConvertYuy2ToRgb32(src + done * 2, pixels - done, 1, dst + done * 4);
}

void AdjustYuy2RowToRgb32(SimdLevel level, const ColourAdjust_CL& adjust, const Yuy2AdjustCoefficients& coefficients,
                          const uint8_t* src, uint8_t* dst, int pixels) {
    int done = 0;
    switch (UsableSimdLevel(level)) {
    case SimdLevel::kAvx2: done = AdjustYuy2ToRgb32Avx2(coefficients, src, dst, pixels); break;
    case SimdLevel::kSse2: done = AdjustYuy2ToRgb32Sse2(coefficients, src, dst, pixels); break;
    default: break;
    }
    if (done < pixels) adjust.AdjustRowToRgb32(src + done * 2, dst + done * 4, pixels - done);
}

void AdjustYuy2Row(SimdLevel level, const ColourAdjust_CL& adjust, const Yuy2AdjustCoefficients& coefficients,
                   const uint8_t* src, uint8_t* dst, int pixels) {
    int done = 0;
    switch (UsableSimdLevel(level)) {
    case SimdLevel::kAvx2: done = AdjustYuy2Avx2(coefficients, src, dst, pixels); break;
    case SimdLevel::kSse2: done = AdjustYuy2Sse2(coefficients, src, dst, pixels); break;
    default: break;
    }
    if (done < pixels) adjust.AdjustRow(src + done * 2, dst + done * 2, pixels - done);
}

#pragma once
// Row operations of the presenter's CPU colour path, in vector code where the processor allows:
// YUY2 to RGB32, YUY2 to RGB32 with colour adjustment, and YUY2 colour adjustment. Each gives
// the same bytes as the plain functions in ColourConversion.h and ColourAdjust_CL (integer
// arithmetic with the same rounding); the pixels left over after the last full vector go
// through those plain functions.
//
// Pure computation, no allocation; any thread may call these at any time.

#include <cstdint>

class ColourAdjust_CL;

// The instruction sets a row can be converted with, lowest first.
enum class SimdLevel : int {
    kScalar = 0,
    kSse2 = 1,  // every x86-64 processor
    kAvx2 = 2,
};

// The highest level this processor and its operating system run (AVX2 needs the OS to save the
// wide registers). Worked out once.
SimdLevel ProcessorSimdLevel();
// ProcessorSimdLevel, lowered by the environment variable LK_SIMD ("scalar" or "sse2") so a
// run can be pinned to a slower path for comparison.
SimdLevel DefaultSimdLevel();
// A level no higher than the processor runs: `wanted`, or ProcessorSimdLevel if that is lower.
SimdLevel UsableSimdLevel(SimdLevel wanted);
const char* SimdLevelName(SimdLevel level);

// A colour adjustment in the form the vector code multiplies with: pairs of 16-bit factors,
// each pair packed in one 32-bit value (low half first), so that one multiply-add of two
// 16-bit lanes gives a full 32-bit product of a large 16.16 gain.
struct Yuy2AdjustCoefficients {
    int32_t luma = 0;          // (contrast & 127, contrast >> 7), applied to (Y - 16, (Y - 16) << 7)
    int32_t lumaOffset = 0;    // 16.16: 16 + brightness + one half for rounding
    int32_t cbLow = 0;         // (cos & 255, sin & 255), applied to (Cb - 128, Cr - 128)
    int32_t cbHigh = 0;        // (cos >> 8, sin >> 8), applied to the same shifted up by 8 bits
    int32_t crLow = 0;         // (-sin & 255, cos & 255)
    int32_t crHigh = 0;        // (-sin >> 8, cos >> 8)
    int32_t chromaOffset = 0;  // 16.16: 128 + one half
};

Yuy2AdjustCoefficients MakeYuy2AdjustCoefficients(const ColourAdjust_CL& adjust);

// `pixels` YUY2 pixels from src to RGB32 (B, G, R, 0) in dst; an odd last pixel is left alone,
// as ConvertYuy2ToRgb32 does.
void ConvertYuy2RowToRgb32(SimdLevel level, const uint8_t* src, uint8_t* dst, int pixels);
// The same with `adjust` applied on the way, as ColourAdjust_CL::AdjustRowToRgb32. `coefficients`
// come from MakeYuy2AdjustCoefficients(adjust).
void AdjustYuy2RowToRgb32(SimdLevel level, const ColourAdjust_CL& adjust, const Yuy2AdjustCoefficients& coefficients,
                          const uint8_t* src, uint8_t* dst, int pixels);
// YUY2 to YUY2 with `adjust` applied, as ColourAdjust_CL::AdjustRow; src and dst may be the same.
void AdjustYuy2Row(SimdLevel level, const ColourAdjust_CL& adjust, const Yuy2AdjustCoefficients& coefficients,
                   const uint8_t* src, uint8_t* dst, int pixels);

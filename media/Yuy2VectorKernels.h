#pragma once
// The vector bodies of the YUY2 row operations, written once over an instruction-set wrapper
// `Isa` and compiled separately for SSE2 and for AVX2 (Yuy2RowKernelsSse2.cpp,
// Yuy2RowKernelsAvx2.cpp). Only those two and the dispatcher (Yuy2RowKernels.cpp) include this
// header, and everything defined in it has internal linkage: an AVX2 copy of a shared inline
// function must never be picked by the linker for the SSE2 path.
//
// Isa provides a vector type V of 16-bit and 32-bit lanes and the operations below. Every
// operation works within 128-bit halves, so a 256-bit vector holds two independent blocks of
// 8 pixels; only StoreRgb knows how the halves map to memory.
//
// Arithmetic, per macropixel (Y0, U, Y1, V), with the plain code's rounding:
//   luma     Y' = clamp(((Y - 16) * contrast + 16.16 offset) >> 16)   one madd of (d, d << 7)
//   chroma   U' = clamp((du * cos + dv * sin + offset) >> 16)         two madds of (du, dv)
//            V' = clamp((dv * cos - du * sin + offset) >> 16)         and (du << 8, dv << 8)
//   RGB      B = (298 (Y - 16) + 516 du + 128) >> 8, G = (... - 100 du - 208 dv ...) >> 8,
//            R = (... + 409 dv ...) >> 8, each clamped to 0..255.
// Splitting a gain g into (g & 255) + (g >> 8) * 256 keeps both factors within 16 bits while
// the 32-bit sums stay exact: |du|, |dv| <= 128, so du << 8 still fits, and |gain| <= 100 * 2^16.
// Contrast (at most 10 * 2^16) is split at 7 bits instead, as d = Y - 16 reaches 239.

#include <cstddef>
#include <cstdint>

#include "media/Yuy2RowKernels.h"

// Entry points per instruction set: they convert whole vectors only and answer how many pixels
// they did (a multiple of the vector's pixel count); the caller finishes the row.
int ConvertYuy2ToRgb32Sse2(const uint8_t* src, uint8_t* dst, int pixels);
int AdjustYuy2ToRgb32Sse2(const Yuy2AdjustCoefficients& k, const uint8_t* src, uint8_t* dst, int pixels);
int AdjustYuy2Sse2(const Yuy2AdjustCoefficients& k, const uint8_t* src, uint8_t* dst, int pixels);
int ConvertYuy2ToRgb32Avx2(const uint8_t* src, uint8_t* dst, int pixels);
int AdjustYuy2ToRgb32Avx2(const Yuy2AdjustCoefficients& k, const uint8_t* src, uint8_t* dst, int pixels);
int AdjustYuy2Avx2(const Yuy2AdjustCoefficients& k, const uint8_t* src, uint8_t* dst, int pixels);

namespace {

// Two 16-bit factors in one 32-bit lane, low first, for a multiply-add.
constexpr int32_t FactorPair(int low, int high) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(low)) |
                                static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16);
}

template <class Isa>
struct Yuy2Vector {
    using V = typename Isa::V;

    // The factors of one adjustment, broadcast once per row.
    struct Adjust {
        V luma, lumaOffset, cbLow, cbHigh, crLow, crHigh, chromaOffset;
        explicit Adjust(const Yuy2AdjustCoefficients& k)
            : luma(Isa::Set32(k.luma)), lumaOffset(Isa::Set32(k.lumaOffset)), cbLow(Isa::Set32(k.cbLow)),
              cbHigh(Isa::Set32(k.cbHigh)), crLow(Isa::Set32(k.crLow)), crHigh(Isa::Set32(k.crHigh)),
              chromaOffset(Isa::Set32(k.chromaOffset)) {}
    };

    // YUY2 bytes as 16-bit lanes: Y0..Y7 in pixel order, and U0 V0 U1 V1 .. U3 V3.
    static V Luma(V yuy2) { return Isa::And(yuy2, Isa::Set16(0x00FF)); }
    static V Chroma(V yuy2) { return Isa::template Srli16<8>(yuy2); }
    static V Interleave(V luma, V chroma) { return Isa::Or(luma, Isa::template Slli16<8>(chroma)); }

    static V Clamp255(V value) { return Isa::Min16(Isa::Max16(value, Isa::Zero()), Isa::Set16(255)); }

    static V AdjustLuma(const Adjust& a, V luma) {
        const V d = Isa::Sub16(luma, Isa::Set16(16));
        const V d7 = Isa::template Slli16<7>(d);
        V low = Isa::Add32(Isa::Madd(Isa::UnpackLo16(d, d7), a.luma), a.lumaOffset);
        V high = Isa::Add32(Isa::Madd(Isa::UnpackHi16(d, d7), a.luma), a.lumaOffset);
        low = Isa::template Srai32<16>(low);
        high = Isa::template Srai32<16>(high);
        return Clamp255(Isa::PacksI32(low, high));
    }

    static V AdjustChroma(const Adjust& a, V chroma) {
        const V x = Isa::Sub16(chroma, Isa::Set16(128));
        const V x8 = Isa::template Slli16<8>(x);
        const V cb = Isa::Add32(Isa::Add32(Isa::Madd(x, a.cbLow), Isa::Madd(x8, a.cbHigh)), a.chromaOffset);
        const V cr = Isa::Add32(Isa::Add32(Isa::Madd(x, a.crLow), Isa::Madd(x8, a.crHigh)), a.chromaOffset);
        // U' from the top half of cb into the low lane, V' as the top half of cr stays in place.
        const V both = Isa::Or(Isa::template Srli32<16>(cb), Isa::And(cr, Isa::Set32(FactorPair(0, -1))));
        return Clamp255(both);
    }

    // 8 pixels per 128-bit half to RGB32 at dst; StoreRgb gets pixels 0..3 and 4..7 of each half.
    static void ToRgb32(V luma, V chroma, uint8_t* dst) {
        const V d = Isa::Sub16(luma, Isa::Set16(16));
        const V x = Isa::Sub16(chroma, Isa::Set16(128));
        // Per pixel 298 (Y - 16) + 128, from (d, 1) pairs.
        const V lumaFactor = Isa::Set32(FactorPair(298, 128));
        const V one = Isa::Set16(1);
        const V yLow = Isa::Madd(Isa::UnpackLo16(d, one), lumaFactor);
        const V yHigh = Isa::Madd(Isa::UnpackHi16(d, one), lumaFactor);
        // Per macropixel chroma terms, then each repeated for the pixel pair that shares it.
        const V blue = Isa::Madd(x, Isa::Set32(FactorPair(516, 0)));
        const V green = Isa::Madd(x, Isa::Set32(FactorPair(-100, -208)));
        const V red = Isa::Madd(x, Isa::Set32(FactorPair(0, 409)));
        auto channel = [&](V term) {
            const V low = Isa::template Srai32<8>(Isa::Add32(yLow, Isa::UnpackLo32(term, term)));
            const V high = Isa::template Srai32<8>(Isa::Add32(yHigh, Isa::UnpackHi32(term, term)));
            return Isa::PacksI32(low, high);
        };
        const V b = channel(blue), g = channel(green), r = channel(red);
        const V bg = Isa::PackusI16(b, g);                          // B0..B7 G0..G7
        const V r0 = Isa::PackusI16(r, Isa::Zero());                // R0..R7, then zeros
        const V bgPairs = Isa::UnpackLo8(bg, Isa::SrliBytes8(bg));  // B0 G0 B1 G1 ..
        const V rPairs = Isa::UnpackLo8(r0, Isa::Zero());           // R0 0 R1 0 ..
        Isa::StoreRgb(dst, Isa::UnpackLo16(bgPairs, rPairs), Isa::UnpackHi16(bgPairs, rPairs));
    }

    static int ConvertToRgb32(const uint8_t* src, uint8_t* dst, int pixels) {
        int x = 0;
        for (; x + Isa::kPixels <= pixels; x += Isa::kPixels) {
            const V yuy2 = Isa::Load(src + static_cast<ptrdiff_t>(x) * 2);
            ToRgb32(Luma(yuy2), Chroma(yuy2), dst + static_cast<ptrdiff_t>(x) * 4);
        }
        return x;
    }

    static int AdjustToRgb32(const Yuy2AdjustCoefficients& k, const uint8_t* src, uint8_t* dst, int pixels) {
        const Adjust a(k);
        int x = 0;
        for (; x + Isa::kPixels <= pixels; x += Isa::kPixels) {
            const V yuy2 = Isa::Load(src + static_cast<ptrdiff_t>(x) * 2);
            ToRgb32(AdjustLuma(a, Luma(yuy2)), AdjustChroma(a, Chroma(yuy2)), dst + static_cast<ptrdiff_t>(x) * 4);
        }
        return x;
    }

    static int AdjustYuy2(const Yuy2AdjustCoefficients& k, const uint8_t* src, uint8_t* dst, int pixels) {
        const Adjust a(k);
        int x = 0;
        for (; x + Isa::kPixels <= pixels; x += Isa::kPixels) {
            const V yuy2 = Isa::Load(src + static_cast<ptrdiff_t>(x) * 2);
            Isa::Store(dst + static_cast<ptrdiff_t>(x) * 2,
                       Interleave(AdjustLuma(a, Luma(yuy2)), AdjustChroma(a, Chroma(yuy2))));
        }
        return x;
    }
};

}  // namespace

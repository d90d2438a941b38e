// The YUY2 row operations in AVX2: 16 pixels per step, two independent blocks of 8 in the two
// 128-bit halves. This file alone is compiled with -mavx2 and is only called after
// ProcessorSimdLevel has seen AVX2; nothing else of the program may use those instructions.

#include <immintrin.h>

#include "media/Yuy2VectorKernels.h"

namespace {

struct Avx2 {
    using V = __m256i;
    static constexpr int kPixels = 16;

    static V Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    // first = pixels 0..3 | 8..11, second = 4..7 | 12..15: put the halves back in pixel order.
    static void StoreRgb(uint8_t* p, V first, V second) {
        Store(p, _mm256_permute2x128_si256(first, second, 0x20));
        Store(p + 32, _mm256_permute2x128_si256(first, second, 0x31));
    }

    static V Zero() { return _mm256_setzero_si256(); }
    static V Set16(int16_t value) { return _mm256_set1_epi16(value); }
    static V Set32(int32_t value) { return _mm256_set1_epi32(value); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
    static V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
    static V Madd(V a, V b) { return _mm256_madd_epi16(a, b); }
    static V Max16(V a, V b) { return _mm256_max_epi16(a, b); }
    static V Min16(V a, V b) { return _mm256_min_epi16(a, b); }
    static V PacksI32(V a, V b) { return _mm256_packs_epi32(a, b); }
    static V PackusI16(V a, V b) { return _mm256_packus_epi16(a, b); }
    static V UnpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
    static V UnpackLo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }
    static V UnpackLo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
    static V SrliBytes8(V a) { return _mm256_srli_si256(a, 8); }
    template <int n> static V Slli16(V a) { return _mm256_slli_epi16(a, n); }
    template <int n> static V Srli16(V a) { return _mm256_srli_epi16(a, n); }
    template <int n> static V Srli32(V a) { return _mm256_srli_epi32(a, n); }
    template <int n> static V Srai32(V a) { return _mm256_srai_epi32(a, n); }
};

using Kernels = Yuy2Vector<Avx2>;

}  // namespace

int ConvertYuy2ToRgb32Avx2(const uint8_t* src, uint8_t* dst, int pixels) {
    return Kernels::ConvertToRgb32(src, dst, pixels);
}

int AdjustYuy2ToRgb32Avx2(const Yuy2AdjustCoefficients& k, const uint8_t* src, uint8_t* dst, int pixels) {
    return Kernels::AdjustToRgb32(k, src, dst, pixels);
}

int AdjustYuy2Avx2(const Yuy2AdjustCoefficients& k, const uint8_t* src, uint8_t* dst, int pixels) {
    return Kernels::AdjustYuy2(k, src, dst, pixels);
}

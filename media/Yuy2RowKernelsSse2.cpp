// The YUY2 row operations in SSE2, which every x86-64 processor has: 8 pixels per step.

#include <emmintrin.h>

#include "media/Yuy2VectorKernels.h"

namespace {

struct Sse2 {
    using V = __m128i;
    static constexpr int kPixels = 8;

    static V Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(uint8_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static void StoreRgb(uint8_t* p, V first, V second) {
        Store(p, first);
        Store(p + 16, second);
    }

    static V Zero() { return _mm_setzero_si128(); }
    static V Set16(int16_t value) { return _mm_set1_epi16(value); }
    static V Set32(int32_t value) { return _mm_set1_epi32(value); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    static V Add32(V a, V b) { return _mm_add_epi32(a, b); }
    static V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
    static V Madd(V a, V b) { return _mm_madd_epi16(a, b); }
    static V Max16(V a, V b) { return _mm_max_epi16(a, b); }
    static V Min16(V a, V b) { return _mm_min_epi16(a, b); }
    static V PacksI32(V a, V b) { return _mm_packs_epi32(a, b); }
    static V PackusI16(V a, V b) { return _mm_packus_epi16(a, b); }
    static V UnpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
    static V UnpackLo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm_unpackhi_epi16(a, b); }
    static V UnpackLo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
    static V SrliBytes8(V a) { return _mm_srli_si128(a, 8); }
    template <int n> static V Slli16(V a) { return _mm_slli_epi16(a, n); }
    template <int n> static V Srli16(V a) { return _mm_srli_epi16(a, n); }
    template <int n> static V Srli32(V a) { return _mm_srli_epi32(a, n); }
    template <int n> static V Srai32(V a) { return _mm_srai_epi32(a, n); }
};

using Kernels = Yuy2Vector<Sse2>;

}  // namespace

int ConvertYuy2ToRgb32Sse2(const uint8_t* src, uint8_t* dst, int pixels) {
    return Kernels::ConvertToRgb32(src, dst, pixels);
}

int AdjustYuy2ToRgb32Sse2(const Yuy2AdjustCoefficients& k, const uint8_t* src, uint8_t* dst, int pixels) {
    return Kernels::AdjustToRgb32(k, src, dst, pixels);
}

int AdjustYuy2Sse2(const Yuy2AdjustCoefficients& k, const uint8_t* src, uint8_t* dst, int pixels) {
    return Kernels::AdjustYuy2(k, src, dst, pixels);
}

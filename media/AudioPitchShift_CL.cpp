#include "media/AudioPitchShift_CL.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>

// Where the time goes: the maths library's atan2, sin and cos cost far more per bin than the
// FFTs under the Windows runtime. This shifter evaluates them as short polynomials over SSE2
// vectors instead, and keeps the window, the twiddles and the bit-reversed order in tables.
//
// What must not change is everything that lasts from frame to frame. Each bin's frequency
// estimate rounds its phase advance to whole turns; a different rounding anywhere before that
// decision (in the FFT or the phase) can move the estimate by a whole turn, and the offset then
// stays in that bin's synthesis phase for good, where it can turn a later tone in that bin
// upside down. A merely more accurate FFT does exactly that. So the forward FFT repeats the
// plain FFT's arithmetic with the plain FFT's own twiddles, the phase is computed to double
// precision, and the analysis keeps the plain order of double operations. The sine and cosine
// only scale one frame's output, so single precision serves there.

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kHalfPi = kPi / 2;
constexpr double kQuarterPi = kPi / 4;
constexpr double kTanEighthPi = 0.41421356237309503;

// atan(t) = t + t * u * P(u), u = t * t, for |t| <= tan(pi / 8); Chebyshev fit, error below
// 1e-16.
constexpr double kAtanCoefficients[] = {
    0.02275052699336167208, -0.0448333462227288608,  0.05736332165907642509, -0.06649613695291669345,
    0.07691055158393149258, -0.09090852557176049357, 0.1111110963653436144,  -0.1428571426609661792,
    0.1999999999989840813,  -0.3333333333333324625};

// sin(r) = r + r * u * S(u) and cos(r) = 1 + u * C(u), u = r * r, for |r| <= pi / 4;
// Chebyshev fits, error below 2e-10 (single-precision rounding dominates).
constexpr float kSinCoefficients[] = {2.72499258031e-6f, -0.000198400867354f, 0.00833333187471f,
                                      -0.166666666639f};
constexpr float kCosCoefficients[] = {2.44637882933e-5f, -0.00138875891556f, 0.0416666506445f,
                                      -0.499999999691f};
// pi / 2 in three parts, the first short enough that small multiples of it are exact.
constexpr float kHalfPiPart1 = 1.5703125f;
constexpr float kHalfPiPart2 = 0.0004838267923332751f;
constexpr float kHalfPiPart3 = 2.5633440682570896e-12f;

// Far beyond any 16-bit sample, yet small enough that no sum of the transforms can overflow
// a float: the phases stay finite, and the sound comes back as it was once the input does.
constexpr float kInputLimit = 1.0e20f;

bool IsPowerOfTwo(int value) { return value > 0 && (value & (value - 1)) == 0; }

// Truncation toward zero, held to the 16-bit range: a loud passage clips instead of wrapping
// into full-scale clicks. A value that is not a number is silence (converting it is undefined).
int16_t ToPcm16(float value) {
    if (!(value == value)) return 0;
    if (value >= 32767.0f) return 32767;
    if (value <= -32768.0f) return -32768;
    return static_cast<int16_t>(static_cast<int32_t>(value));
}

inline __m128d Select(__m128d mask, __m128d ifTrue, __m128d ifFalse) {
    return _mm_or_pd(_mm_and_pd(mask, ifTrue), _mm_andnot_pd(mask, ifFalse));
}

inline __m128 Select(__m128 mask, __m128 ifTrue, __m128 ifFalse) {
    return _mm_or_ps(_mm_and_ps(mask, ifTrue), _mm_andnot_ps(mask, ifFalse));
}

// Two floats from memory as two doubles, and back.
inline __m128d LoadTwoFloats(const float* source) {
    return _mm_cvtps_pd(_mm_castpd_ps(_mm_load_sd(reinterpret_cast<const double*>(source))));
}

inline void StoreTwoFloats(float* target, __m128d values) {
    _mm_store_sd(reinterpret_cast<double*>(target), _mm_castps_pd(_mm_cvtpd_ps(values)));
}

// floor for values within the 32-bit range (SSE2 has no rounding instruction for doubles).
inline __m128d Floor(__m128d x) {
    const __m128d truncated = _mm_cvtepi32_pd(_mm_cvttpd_epi32(x));
    return _mm_sub_pd(truncated, _mm_and_pd(_mm_cmpgt_pd(truncated, x), _mm_set1_pd(1.0)));
}

// atan2 of two pairs to double precision, with the library's answers for signed zeros as well:
// atan2(+-0, -0) = +-pi, atan2(+-0, +0) = +-0. The phase remembered for a bin of exact zeros is
// where the next sound in that bin starts from, so even that must come out the same.
inline __m128d Atan2(__m128d y, __m128d x) {
    const __m128d signBit = _mm_set1_pd(-0.0);
    const __m128d ax = _mm_andnot_pd(signBit, x);
    const __m128d ay = _mm_andnot_pd(signBit, y);
    const __m128d tanEighth = _mm_set1_pd(kTanEighthPi);
    // Three sectors of the quarter turn, each taken to |t| <= tan(pi / 8) with one division:
    // below pi/8 t = ay/ax; above 3pi/8 t = -ax/ay from pi/2; between, t = (ay-ax)/(ay+ax)
    // from pi/4.
    const __m128d low = _mm_cmple_pd(ay, _mm_mul_pd(ax, tanEighth));
    const __m128d high = _mm_cmple_pd(ax, _mm_mul_pd(ay, tanEighth));
    __m128d num = Select(high, _mm_xor_pd(ax, signBit), _mm_sub_pd(ay, ax));
    __m128d den = Select(high, ay, _mm_add_pd(ay, ax));
    __m128d base = Select(high, _mm_set1_pd(kHalfPi), _mm_set1_pd(kQuarterPi));
    num = Select(low, ay, num);
    den = Select(low, ax, den);
    base = _mm_andnot_pd(low, base);
    // 0/0 only where both parts are zero; the angle of the quarter turn is then 0.
    const __m128d t = _mm_andnot_pd(_mm_cmpeq_pd(den, _mm_setzero_pd()), _mm_div_pd(num, den));
    const __m128d u = _mm_mul_pd(t, t);
    __m128d poly = _mm_set1_pd(kAtanCoefficients[0]);
    for (int i = 1; i < 10; ++i) {
        poly = _mm_add_pd(_mm_mul_pd(poly, u), _mm_set1_pd(kAtanCoefficients[i]));
    }
    __m128d angle = _mm_add_pd(base, _mm_add_pd(t, _mm_mul_pd(_mm_mul_pd(t, u), poly)));
    // The sign bit of x, -0 included, takes the angle to the left half turn.
    const __m128i xSign = _mm_srai_epi32(_mm_castpd_si128(x), 31);
    const __m128d xNegative = _mm_castsi128_pd(_mm_shuffle_epi32(xSign, _MM_SHUFFLE(3, 3, 1, 1)));
    angle = Select(xNegative, _mm_sub_pd(_mm_set1_pd(kPi), angle), angle);
    return _mm_or_pd(angle, _mm_and_pd(y, signBit));
}

// sin and cos of four angles within about (-4, 4), to single precision.
inline void SinCos(__m128 x, __m128* sine, __m128* cosine) {
    const __m128i quadrant = _mm_cvtps_epi32(_mm_mul_ps(x, _mm_set1_ps(0.6366197723675814f)));
    const __m128 q = _mm_cvtepi32_ps(quadrant);
    __m128 r = _mm_sub_ps(x, _mm_mul_ps(q, _mm_set1_ps(kHalfPiPart1)));
    r = _mm_sub_ps(r, _mm_mul_ps(q, _mm_set1_ps(kHalfPiPart2)));
    r = _mm_sub_ps(r, _mm_mul_ps(q, _mm_set1_ps(kHalfPiPart3)));
    const __m128 u = _mm_mul_ps(r, r);
    __m128 s = _mm_set1_ps(kSinCoefficients[0]);
    __m128 c = _mm_set1_ps(kCosCoefficients[0]);
    for (int i = 1; i < 4; ++i) {
        s = _mm_add_ps(_mm_mul_ps(s, u), _mm_set1_ps(kSinCoefficients[i]));
        c = _mm_add_ps(_mm_mul_ps(c, u), _mm_set1_ps(kCosCoefficients[i]));
    }
    s = _mm_add_ps(r, _mm_mul_ps(_mm_mul_ps(r, u), s));
    c = _mm_add_ps(_mm_set1_ps(1.0f), _mm_mul_ps(u, c));
    // Quadrant n: sin = s, c, -s, -c and cos = c, -s, -c, s for n & 3 = 0, 1, 2, 3.
    const __m128i one = _mm_set1_epi32(1);
    const __m128i two = _mm_set1_epi32(2);
    const __m128 swap = _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(quadrant, one), one));
    const __m128 sinFlip = _mm_castsi128_ps(_mm_slli_epi32(_mm_and_si128(quadrant, two), 30));
    const __m128 cosFlip =
        _mm_castsi128_ps(_mm_slli_epi32(_mm_and_si128(_mm_add_epi32(quadrant, one), two), 30));
    *sine = _mm_xor_ps(Select(swap, c, s), sinFlip);
    *cosine = _mm_xor_ps(Select(swap, s, c), cosFlip);
}

// One radix-2 butterfly pass on four butterflies at once: b' = a - w*b, a' = a + w*b, with the
// products and sums in the order and precision of the plain complex FFT.
inline void Butterflies(__m128& aRe, __m128& aIm, __m128& bRe, __m128& bIm, __m128 wRe, __m128 wIm) {
    const __m128 tRe = _mm_sub_ps(_mm_mul_ps(bRe, wRe), _mm_mul_ps(bIm, wIm));
    const __m128 tIm = _mm_add_ps(_mm_mul_ps(bRe, wIm), _mm_mul_ps(bIm, wRe));
    bRe = _mm_sub_ps(aRe, tRe);
    bIm = _mm_sub_ps(aIm, tIm);
    aRe = _mm_add_ps(aRe, tRe);
    aIm = _mm_add_ps(aIm, tIm);
}
}  // namespace

AudioPitchShift_CL::AudioPitchShift_CL() {
    for (int k = 0; k < kFrame; ++k) {
        m_window[k] = 0.5 - 0.5 * std::cos(k * kTwoPi * (1.0 / kFrame));
        int reversed = 0;
        for (int bit = 0, value = k; bit < kFftPasses; ++bit, value >>= 1) {
            reversed = (reversed << 1) | (value & 1);
        }
        m_bitReversed[k] = static_cast<uint16_t>(reversed);
    }
    for (int direction = 0; direction < 2; ++direction) {
        const int sign = direction == 0 ? -1 : 1;
        float* twiddleRe = direction == 0 ? m_forwardTwiddleRe : m_inverseTwiddleRe;
        float* twiddleIm = direction == 0 ? m_forwardTwiddleIm : m_inverseTwiddleIm;
        twiddleRe[0] = 0.0f;
        twiddleIm[0] = 0.0f;
        for (int span = 1; span < kFrame; span *= 2) {
            // The rotation step of this pass and its running product, in single precision.
            const float angle = static_cast<float>(kPi / span);
            const float stepRe = static_cast<float>(std::cos(angle));
            const float stepIm = static_cast<float>(sign * std::sin(angle));
            float re = 1.0f;
            float im = 0.0f;
            for (int m = 0; m < span; ++m) {
                twiddleRe[span + m] = re;
                twiddleIm[span + m] = im;
                const float nextRe = re * stepRe - im * stepIm;
                im = re * stepIm + im * stepRe;
                re = nextRe;
            }
        }
    }
    ClearState();
}

void AudioPitchShift_CL::Reset() {
    m_position = 0;
    m_initialised = false;
}

void AudioPitchShift_CL::ClearState() {
    std::memset(m_inFifo, 0, sizeof(m_inFifo));
    std::memset(m_outFifo, 0, sizeof(m_outFifo));
    std::memset(m_outAccum, 0, sizeof(m_outAccum));
    std::memset(m_fftRe, 0, sizeof(m_fftRe));
    std::memset(m_fftIm, 0, sizeof(m_fftIm));
    std::memset(m_lastPhase, 0, sizeof(m_lastPhase));
    std::memset(m_sumPhase, 0, sizeof(m_sumPhase));
    std::memset(m_anaFreq, 0, sizeof(m_anaFreq));
    std::memset(m_anaMagn, 0, sizeof(m_anaMagn));
    std::memset(m_synFreq, 0, sizeof(m_synFreq));
    std::memset(m_synMagn, 0, sizeof(m_synMagn));
    std::memset(m_synRe, 0, sizeof(m_synRe));
    std::memset(m_synIm, 0, sizeof(m_synIm));
}

void AudioPitchShift_CL::ProcessBlock(float pitchFactor, int oversampling, float sampleRateHz,
                                      const float* input, int16_t* output) {
    if (output == nullptr) return;
    const bool usable = input != nullptr && std::isfinite(pitchFactor) && pitchFactor > 0.0f &&
                        IsPowerOfTwo(oversampling) && oversampling <= kMaxOversampling &&
                        std::isfinite(sampleRateHz) && sampleRateHz > 0.0f;
    if (!usable) {
        for (int i = 0; i < kBlockSamples; ++i) output[2 * i] = 0;
        return;
    }
    // The position is kept between calls; with another hop it could sit below the new latency
    // and read before the start of the output FIFO. The filter changes the oversampling only
    // when the rate crosses one of its thresholds, so starting afresh there is rarely heard.
    // (The position cannot tell whether audio is inside: at oversampling 1 it rests at 0.)
    if (m_initialised && oversampling != m_oversampling) Reset();
    m_oversampling = oversampling;

    const int hop = kFrame / oversampling;
    const int latency = kFrame - hop;
    const double freqPerBinHz = sampleRateHz * (1.0 / kFrame);
    const double expectedAdvance = hop * kTwoPi * (1.0 / kFrame);
    if (m_position == 0) m_position = latency;
    if (!m_initialised) {
        ClearState();
        m_initialised = true;
    }
    SetBinTargets(pitchFactor);

    int done = 0;
    while (done < kBlockSamples) {
        const int count = std::min(kBlockSamples - done, kFrame - m_position);
        const float* in = input + done;
        float* fifo = m_inFifo + m_position;
        for (int i = 0; i < count; ++i) {
            // One bad sample would otherwise poison a whole frame and every phase after it.
            const float sample = in[i];
            fifo[i] = std::isfinite(sample) ? std::max(-kInputLimit, std::min(sample, kInputLimit)) : 0.0f;
        }
        const float* ready = m_outFifo + (m_position - latency);
        int16_t* out = output + 2 * done;
        for (int i = 0; i < count; ++i) out[2 * i] = ToPcm16(ready[i]);
        done += count;
        m_position += count;
        if (m_position >= kFrame) {
            m_position = latency;
            RunFrame(pitchFactor, oversampling, freqPerBinHz, expectedAdvance);
        }
    }
}

void AudioPitchShift_CL::SetBinTargets(float pitchFactor) {
    uint32_t bits;
    std::memcpy(&bits, &pitchFactor, sizeof(bits));
    if (bits == m_binTargetFactorBits) return;
    m_binTargetFactorBits = bits;
    m_binsKept = 0;
    for (int k = 0; k < kBins; ++k) {
        // The product is compared before it becomes an integer: a large factor must not turn
        // into an index through an overflowing conversion.
        const float scaled = static_cast<float>(k) * pitchFactor;
        if (!(scaled < static_cast<float>(kBins))) break;
        m_binTarget[k] = static_cast<int16_t>(scaled);
        m_binsKept = k + 1;
    }
}

void AudioPitchShift_CL::RunFrame(float pitchFactor, int oversampling, double freqPerBinHz,
                                  double expectedAdvance) {
    const int hop = kFrame / oversampling;
    WindowIntoFft();
    Fft(m_forwardTwiddleRe, m_forwardTwiddleIm);
    Analyse(oversampling, freqPerBinHz, expectedAdvance);
    ShiftBins(pitchFactor);
    Synthesise(oversampling, freqPerBinHz, expectedAdvance);
    Fft(m_inverseTwiddleRe, m_inverseTwiddleIm);
    OverlapAdd(oversampling, hop);
    std::memmove(m_inFifo, m_inFifo + hop, (kFrame - hop) * sizeof(float));
}

void AudioPitchShift_CL::WindowIntoFft() {
    // Windowed in double and rounded once, as a plain implementation does; stored straight into
    // bit-reversed order, which spares the FFT its reordering pass.
    for (int k = 0; k < kFrame; ++k) {
        const int target = m_bitReversed[k];
        m_fftRe[target] = static_cast<float>(m_inFifo[k] * m_window[k]);
        m_fftIm[target] = 0.0f;
    }
}

void AudioPitchShift_CL::Fft(const float* twiddleRe, const float* twiddleIm) {
    float* re = m_fftRe;
    float* im = m_fftIm;
    // Pass 1: butterflies between neighbours, four at a time from eight values.
    {
        const __m128 wRe = _mm_set1_ps(twiddleRe[1]);
        const __m128 wIm = _mm_set1_ps(twiddleIm[1]);
        for (int i = 0; i < kFrame; i += 8) {
            const __m128 re0 = _mm_load_ps(re + i), re1 = _mm_load_ps(re + i + 4);
            const __m128 im0 = _mm_load_ps(im + i), im1 = _mm_load_ps(im + i + 4);
            __m128 aRe = _mm_shuffle_ps(re0, re1, _MM_SHUFFLE(2, 0, 2, 0));
            __m128 bRe = _mm_shuffle_ps(re0, re1, _MM_SHUFFLE(3, 1, 3, 1));
            __m128 aIm = _mm_shuffle_ps(im0, im1, _MM_SHUFFLE(2, 0, 2, 0));
            __m128 bIm = _mm_shuffle_ps(im0, im1, _MM_SHUFFLE(3, 1, 3, 1));
            Butterflies(aRe, aIm, bRe, bIm, wRe, wIm);
            _mm_store_ps(re + i, _mm_unpacklo_ps(aRe, bRe));
            _mm_store_ps(re + i + 4, _mm_unpackhi_ps(aRe, bRe));
            _mm_store_ps(im + i, _mm_unpacklo_ps(aIm, bIm));
            _mm_store_ps(im + i + 4, _mm_unpackhi_ps(aIm, bIm));
        }
    }
    // Pass 2: butterflies two apart, twiddles 0 and 1 of the pass.
    {
        const __m128 wRe = _mm_setr_ps(twiddleRe[2], twiddleRe[3], twiddleRe[2], twiddleRe[3]);
        const __m128 wIm = _mm_setr_ps(twiddleIm[2], twiddleIm[3], twiddleIm[2], twiddleIm[3]);
        for (int i = 0; i < kFrame; i += 8) {
            const __m128 re0 = _mm_load_ps(re + i), re1 = _mm_load_ps(re + i + 4);
            const __m128 im0 = _mm_load_ps(im + i), im1 = _mm_load_ps(im + i + 4);
            __m128 aRe = _mm_shuffle_ps(re0, re1, _MM_SHUFFLE(1, 0, 1, 0));
            __m128 bRe = _mm_shuffle_ps(re0, re1, _MM_SHUFFLE(3, 2, 3, 2));
            __m128 aIm = _mm_shuffle_ps(im0, im1, _MM_SHUFFLE(1, 0, 1, 0));
            __m128 bIm = _mm_shuffle_ps(im0, im1, _MM_SHUFFLE(3, 2, 3, 2));
            Butterflies(aRe, aIm, bRe, bIm, wRe, wIm);
            _mm_store_ps(re + i, _mm_shuffle_ps(aRe, bRe, _MM_SHUFFLE(1, 0, 1, 0)));
            _mm_store_ps(re + i + 4, _mm_shuffle_ps(aRe, bRe, _MM_SHUFFLE(3, 2, 3, 2)));
            _mm_store_ps(im + i, _mm_shuffle_ps(aIm, bIm, _MM_SHUFFLE(1, 0, 1, 0)));
            _mm_store_ps(im + i + 4, _mm_shuffle_ps(aIm, bIm, _MM_SHUFFLE(3, 2, 3, 2)));
        }
    }
    // Passes 3 to 10: spans of four and more, whole vectors of neighbouring butterflies.
    for (int span = 4; span < kFrame; span *= 2) {
        for (int group = 0; group < kFrame; group += 2 * span) {
            for (int m = 0; m < span; m += 4) {
                float* aReP = re + group + m;
                float* aImP = im + group + m;
                __m128 aRe = _mm_load_ps(aReP), aIm = _mm_load_ps(aImP);
                __m128 bRe = _mm_load_ps(aReP + span), bIm = _mm_load_ps(aImP + span);
                Butterflies(aRe, aIm, bRe, bIm, _mm_load_ps(twiddleRe + span + m),
                            _mm_load_ps(twiddleIm + span + m));
                _mm_store_ps(aReP, aRe);
                _mm_store_ps(aImP, aIm);
                _mm_store_ps(aReP + span, bRe);
                _mm_store_ps(aImP + span, bIm);
            }
        }
    }
}

void AudioPitchShift_CL::Analyse(int oversampling, double freqPerBinHz, double expectedAdvance) {
    // The steps and their double-precision order are those of the plain analysis, so the
    // estimated frequencies agree with it to the last bit nearly always.
    const __m128d two = _mm_set1_pd(2.0);
    const __m128d pi = _mm_set1_pd(kPi);
    const __m128d twoPi = _mm_set1_pd(kTwoPi);
    const __m128d advance = _mm_set1_pd(expectedAdvance);
    const __m128d perBin = _mm_set1_pd(freqPerBinHz);
    const __m128d over = _mm_set1_pd(static_cast<double>(oversampling));
    const __m128i one = _mm_set1_epi32(1);
    __m128d bin = _mm_setr_pd(0.0, 1.0);
    for (int k = 0; k < kPaddedBins; k += 2, bin = _mm_add_pd(bin, two)) {
        const __m128d re = LoadTwoFloats(m_fftRe + k);
        const __m128d im = LoadTwoFloats(m_fftIm + k);
        const __m128d magn = _mm_mul_pd(two, _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(re, re), _mm_mul_pd(im, im))));
        const __m128d phase = Atan2(im, re);
        __m128d d = _mm_sub_pd(phase, LoadTwoFloats(m_lastPhase + k));
        StoreTwoFloats(m_lastPhase + k, phase);
        d = _mm_sub_pd(d, _mm_mul_pd(bin, advance));
        // Whole turns out: d / pi truncated, then moved away from zero to an even count.
        __m128i turns = _mm_cvttpd_epi32(_mm_div_pd(d, pi));
        const __m128i odd = _mm_and_si128(turns, one);
        const __m128i negative = _mm_srai_epi32(turns, 31);
        turns = _mm_add_epi32(turns, _mm_sub_epi32(_mm_xor_si128(odd, negative), negative));
        d = _mm_sub_pd(d, _mm_mul_pd(pi, _mm_cvtepi32_pd(turns)));
        d = _mm_div_pd(_mm_mul_pd(over, d), twoPi);
        StoreTwoFloats(m_anaFreq + k, _mm_add_pd(_mm_mul_pd(bin, perBin), _mm_mul_pd(d, perBin)));
        StoreTwoFloats(m_anaMagn + k, magn);
    }
}

void AudioPitchShift_CL::ShiftBins(float pitchFactor) {
    std::memset(m_synMagn, 0, sizeof(m_synMagn));
    std::memset(m_synFreq, 0, sizeof(m_synFreq));
    // Several source bins may land on one target: their magnitudes add and the last one's
    // frequency stays.
    for (int k = 0; k < m_binsKept; ++k) {
        const int target = m_binTarget[k];
        m_synMagn[target] += m_anaMagn[k];
        m_synFreq[target] = m_anaFreq[k] * pitchFactor;
    }
}

void AudioPitchShift_CL::Synthesise(int oversampling, double freqPerBinHz, double expectedAdvance) {
    const __m128d two = _mm_set1_pd(2.0);
    const __m128d pi = _mm_set1_pd(kPi);
    const __m128d twoPi = _mm_set1_pd(kTwoPi);
    const __m128d advance = _mm_set1_pd(expectedAdvance);
    const __m128d perBin = _mm_set1_pd(freqPerBinHz);
    const __m128d over = _mm_set1_pd(static_cast<double>(oversampling));
    const __m128d signBit = _mm_set1_pd(-0.0);
    const __m128d phaseLimit = _mm_set1_pd(4.0);
    __m128d bin = _mm_setr_pd(0.0, 1.0);
    for (int k = 0; k < kPaddedBins; k += 2, bin = _mm_add_pd(bin, two)) {
        __m128d d = _mm_sub_pd(LoadTwoFloats(m_synFreq + k), _mm_mul_pd(bin, perBin));
        d = _mm_div_pd(d, perBin);
        d = _mm_div_pd(_mm_mul_pd(twoPi, d), over);
        d = _mm_add_pd(d, _mm_mul_pd(bin, advance));
        // Kept within (-pi, pi]: a phase that only grew would outrun a float's resolution after
        // minutes and the pitch would drift. Whatever escapes that (only absurd factors or
        // rates can overflow) restarts at 0 rather than staying not-a-number for good.
        __m128d phase = _mm_add_pd(LoadTwoFloats(m_sumPhase + k), d);
        phase = _mm_add_pd(phase, _mm_mul_pd(twoPi, Floor(_mm_div_pd(_mm_sub_pd(pi, phase), twoPi))));
        phase = _mm_and_pd(phase, _mm_cmple_pd(_mm_andnot_pd(signBit, phase), phaseLimit));
        StoreTwoFloats(m_sumPhase + k, phase);
    }
    for (int k = 0; k < kPaddedBins; k += 4) {
        __m128 sine;
        __m128 cosine;
        SinCos(_mm_load_ps(m_sumPhase + k), &sine, &cosine);
        const __m128 magn = _mm_load_ps(m_synMagn + k);
        _mm_store_ps(m_synRe + k, _mm_mul_ps(magn, cosine));
        _mm_store_ps(m_synIm + k, _mm_mul_ps(magn, sine));
    }
    // Only the positive frequencies are resynthesised; the others stay zero.
    std::memset(m_fftRe, 0, sizeof(m_fftRe));
    std::memset(m_fftIm, 0, sizeof(m_fftIm));
    for (int k = 0; k < kBins; ++k) {
        const int target = m_bitReversed[k];
        m_fftRe[target] = m_synRe[k];
        m_fftIm[target] = m_synIm[k];
    }
}

void AudioPitchShift_CL::OverlapAdd(int oversampling, int hop) {
    // From oversampling 4 on, the Hann window applied on the way in and again on the way out
    // sums to 1.5 over the overlapping frames; taking that out keeps the input's level, so the
    // sound does not jump when the filter switches the shifter in or out at rate 1.0.
    const double overlapGain = oversampling >= 4 ? 1.5 : 1.0;
    const double scale = 2.0 / (kFrame / 2 * oversampling * overlapGain);
    for (int k = 0; k < kFrame; k += 2) {
        const __m128d gain = _mm_mul_pd(_mm_set1_pd(scale), _mm_load_pd(m_window + k));
        const __m128d sum =
            _mm_add_pd(LoadTwoFloats(m_outAccum + k), _mm_mul_pd(gain, LoadTwoFloats(m_fftRe + k)));
        StoreTwoFloats(m_outAccum + k, sum);
    }
    std::memcpy(m_outFifo, m_outAccum, hop * sizeof(float));
    std::memmove(m_outAccum, m_outAccum + hop, (kFrame - hop) * sizeof(float));
    std::memset(m_outAccum + kFrame - hop, 0, hop * sizeof(float));
}

#include "tests/media/PlainPitchShift_CL.h"

#include <cmath>
#include <cstring>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 6.283185307179586;
constexpr int kFrame = PlainPitchShift_CL::kFrameSamples;
constexpr int kHalf = kFrame / 2;

bool IsPowerOfTwo(int value) { return value > 0 && (value & (value - 1)) == 0; }

// Truncation toward zero, held to the 16-bit range; a value that is not a number is silence.
int16_t ToPcm16(float value) {
    if (!(value == value)) return 0;
    if (value >= 32767.0f) return 32767;
    if (value <= -32768.0f) return -32768;
    return static_cast<int16_t>(static_cast<int32_t>(value));
}

// Into (-pi, pi]: the cosine and sine are the same, and a float still resolves the angle.
double WrapPhase(double phase) { return phase + kTwoPi * std::floor((kPi - phase) / kTwoPi); }

double HannWindow(int k) { return 0.5 - 0.5 * std::cos(k * kTwoPi * (1.0 / kFrame)); }
}  // namespace

PlainPitchShift_CL::PlainPitchShift_CL() {
    std::memset(m_inFifo, 0, sizeof(m_inFifo));
    std::memset(m_outFifo, 0, sizeof(m_outFifo));
    std::memset(m_workspace, 0, sizeof(m_workspace));
    std::memset(m_lastPhase, 0, sizeof(m_lastPhase));
    std::memset(m_sumPhase, 0, sizeof(m_sumPhase));
    std::memset(m_outAccum, 0, sizeof(m_outAccum));
    std::memset(m_anaFreq, 0, sizeof(m_anaFreq));
    std::memset(m_anaMagn, 0, sizeof(m_anaMagn));
    std::memset(m_synFreq, 0, sizeof(m_synFreq));
    std::memset(m_synMagn, 0, sizeof(m_synMagn));
}

void PlainPitchShift_CL::Reset() {
    m_position = 0;
    m_initialised = 0;
}

void PlainPitchShift_CL::ProcessBlock(float pitchFactor, int oversampling, float sampleRateHz,
                                      const float* input, int16_t* output) {
    if (output == nullptr) return;
    const bool usable = input != nullptr && std::isfinite(pitchFactor) && pitchFactor > 0.0f &&
                        IsPowerOfTwo(oversampling) && oversampling <= 16 && std::isfinite(sampleRateHz) &&
                        sampleRateHz > 0.0f;
    if (!usable) {
        for (int i = 0; i < kFrame; ++i) output[2 * i] = 0;
        return;
    }
    // With another hop the position could sit below the new latency and read before the FIFO.
    // (At oversampling 1 the position rests at 0, so it cannot tell whether audio is inside.)
    if (m_initialised != 0 && oversampling != m_oversampling) Reset();
    m_oversampling = oversampling;

    const int hop = kFrame / oversampling;
    const int latency = kFrame - hop;
    const double freqPerBinHz = sampleRateHz * (1.0 / kFrame);
    const double expectedAdvance = hop * kTwoPi * (1.0 / kFrame);

    if (m_position == 0) m_position = latency;
    if (m_initialised == 0) {
        std::memset(m_inFifo, 0, sizeof(m_inFifo));
        std::memset(m_outFifo, 0, sizeof(m_outFifo));
        std::memset(m_workspace, 0, sizeof(m_workspace));
        std::memset(m_lastPhase, 0, sizeof(m_lastPhase));
        std::memset(m_sumPhase, 0, sizeof(m_sumPhase));
        std::memset(m_outAccum, 0, sizeof(m_outAccum));
        std::memset(m_anaFreq, 0, sizeof(m_anaFreq));
        std::memset(m_anaMagn, 0, sizeof(m_anaMagn));
        m_initialised = 1;
    }

    for (int i = 0; i < kFrame; ++i) {
        m_inFifo[m_position] = input[i];
        output[2 * i] = ToPcm16(m_outFifo[m_position - latency]);
        ++m_position;
        if (m_position >= kFrame) {
            m_position = latency;
            ProcessFrame(pitchFactor, oversampling, freqPerBinHz, expectedAdvance, hop);
        }
    }
}

void PlainPitchShift_CL::ProcessFrame(float pitchFactor, int oversampling, double freqPerBinHz,
                                      double expectedAdvance, int hop) {
    const int latency = kFrame - hop;

    for (int k = 0; k < kFrame; ++k) {
        m_workspace[2 * k] = static_cast<float>(m_inFifo[k] * HannWindow(k));
        m_workspace[2 * k + 1] = 0.0f;
    }
    Fft(m_workspace, -1);

    // Analysis: magnitude and true frequency of each bin from its phase advance since the last frame.
    for (int k = 0; k <= kHalf; ++k) {
        const double re = m_workspace[2 * k];
        const double im = m_workspace[2 * k + 1];
        const double magn = 2.0 * std::sqrt(re * re + im * im);
        const double phase = std::atan2(im, re);
        double d = phase - m_lastPhase[k];
        m_lastPhase[k] = static_cast<float>(phase);
        d -= k * expectedAdvance;
        long q = static_cast<long>(d / kPi);
        if (q >= 0) {
            q += q & 1;
        } else {
            q -= q & 1;
        }
        d -= kPi * static_cast<double>(q);
        d = oversampling * d / kTwoPi;
        m_anaFreq[k] = static_cast<float>(k * freqPerBinHz + d * freqPerBinHz);
        m_anaMagn[k] = static_cast<float>(magn);
    }

    // Shift: bins move up or down by the factor; bins pushed past the top are dropped.
    std::memset(m_synMagn, 0, kFrame * sizeof(float));
    std::memset(m_synFreq, 0, kFrame * sizeof(float));
    for (int k = 0; k <= kHalf; ++k) {
        const float scaled = static_cast<float>(k) * pitchFactor;
        if (scaled < static_cast<float>(kHalf + 1)) {
            const int index = static_cast<int>(scaled);
            m_synMagn[index] += m_anaMagn[k];
            m_synFreq[index] = m_anaFreq[k] * pitchFactor;
        }
    }

    // Synthesis: each bin's phase runs on at its new frequency.
    for (int k = 0; k <= kHalf; ++k) {
        double d = m_synFreq[k] - k * freqPerBinHz;
        d /= freqPerBinHz;
        d = kTwoPi * d / oversampling;
        d += k * expectedAdvance;
        m_sumPhase[k] = static_cast<float>(WrapPhase(m_sumPhase[k] + d));
        const double phase = m_sumPhase[k];
        m_workspace[2 * k] = static_cast<float>(m_synMagn[k] * std::cos(phase));
        m_workspace[2 * k + 1] = static_cast<float>(m_synMagn[k] * std::sin(phase));
    }
    for (int k = kFrame + 2; k < 2 * kFrame; ++k) m_workspace[k] = 0.0f;
    Fft(m_workspace, 1);

    // Windowed overlap-add. From oversampling 4 on, the Hann window applied twice sums to 1.5
    // over the overlapping frames; dividing by it keeps the level of the input.
    const double overlapGain = oversampling >= 4 ? 1.5 : 1.0;
    for (int k = 0; k < kFrame; ++k) {
        m_outAccum[k] = static_cast<float>(m_outAccum[k] + 2.0 * HannWindow(k) * m_workspace[2 * k] /
                                                               (kHalf * oversampling * overlapGain));
    }
    for (int k = 0; k < hop; ++k) m_outFifo[k] = m_outAccum[k];
    std::memmove(m_outAccum, m_outAccum + hop, kFrame * sizeof(float));
    for (int k = 0; k < latency; ++k) m_inFifo[k] = m_inFifo[k + hop];
}

void PlainPitchShift_CL::Fft(float* data, int sign) {
    const int floats = 2 * kFrame;
    for (int i = 2; i < floats - 2; i += 2) {
        int reversed = 0;
        for (int bit = 0, value = i / 2; bit < 10; ++bit, value >>= 1) {
            reversed = (reversed << 1) | (value & 1);
        }
        const int j = 2 * reversed;
        if (i < j) {
            float temp = data[i];
            data[i] = data[j];
            data[j] = temp;
            temp = data[i + 1];
            data[i + 1] = data[j + 1];
            data[j + 1] = temp;
        }
    }
    const int passes = static_cast<int>(std::log(static_cast<double>(kFrame)) / std::log(2.0) + 0.5);
    for (int pass = 1, le = 4; pass <= passes; ++pass, le <<= 1) {
        const int halfSpan = le / 2;
        const float angle = static_cast<float>(kPi / (le / 4));
        const float wr = static_cast<float>(std::cos(angle));
        const float wi = static_cast<float>(sign * std::sin(angle));
        float ur = 1.0f;
        float ui = 0.0f;
        for (int j = 0; j < halfSpan; j += 2) {
            for (int i = j; i < floats; i += le) {
                float* a = data + i;
                float* b = data + i + halfSpan;
                const float tr = b[0] * ur - b[1] * ui;
                const float ti = b[0] * ui + b[1] * ur;
                b[0] = a[0] - tr;
                b[1] = a[1] - ti;
                a[0] += tr;
                a[1] += ti;
            }
            const float nextUr = ur * wr - ui * wi;
            ui = ur * wi + ui * wr;
            ur = nextUr;
        }
    }
}

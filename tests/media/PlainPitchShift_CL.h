#pragma once
// The straightforward pitch shifter that AudioPitchShift_CL must match: every step written out
// in its plain order and precision, one call of the maths library per bin and frame, nothing
// precomputed. It carries the same protections as the fast one (saturating store, reset when
// the oversampling changes, overlap gain taken out at oversampling 4 and above, synthesis
// phases kept within one turn, silence for unusable parameters), so the two can be compared
// sample by sample. Tests and the benchmark use it; the player does not.

#include <cstdint>

class PlainPitchShift_CL {
public:
    static constexpr int kFrameSamples = 1024;

    PlainPitchShift_CL();
    virtual ~PlainPitchShift_CL() = default;
    PlainPitchShift_CL(const PlainPitchShift_CL&) = delete;
    PlainPitchShift_CL& operator=(const PlainPitchShift_CL&) = delete;

    // Thread: any, one at a time. Takes 1024 samples and writes 1024 samples to
    // output[0], output[2], ... output[2046].
    void ProcessBlock(float pitchFactor, int oversampling, float sampleRateHz, const float* input1024,
                      int16_t* outputEveryOtherSlot);

    // Thread: any, one at a time. The next call starts from silence.
    void Reset();

private:
    // Sized for frames of up to 8192 samples, of which the 1024-sample frame uses the start.
    static constexpr int kMaxFrame = 8192;

    void ProcessFrame(float pitchFactor, int oversampling, double freqPerBinHz, double expectedAdvance,
                      int hop);
    void Fft(float* data, int sign);

    float m_inFifo[kMaxFrame];
    float m_outFifo[kMaxFrame];
    float m_workspace[2 * kMaxFrame];
    float m_lastPhase[kMaxFrame / 2 + 1];
    float m_sumPhase[kMaxFrame / 2 + 1];
    float m_outAccum[2 * kMaxFrame];
    float m_anaFreq[kMaxFrame];
    float m_anaMagn[kMaxFrame];
    float m_synFreq[kMaxFrame];
    float m_synMagn[kMaxFrame];
    int32_t m_position = 0;     // 0 until the first call after a reset
    uint8_t m_initialised = 0;  // 0 until the arrays were cleared
    int m_oversampling = 0;     // of the previous call
};

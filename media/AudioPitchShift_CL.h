#pragma once
// Phase-vocoder pitch shifter for one channel: changes the pitch by a factor and keeps the
// length. Every call takes 1024 samples and gives 1024 samples; the output lags the input by
// 1024 samples. Hann-windowed 1024-sample frames overlap by the oversampling factor; each
// frame is analysed into 513 bins, the bins move by the pitch factor, and the frame is
// resynthesised and overlap-added.
//
// Pure computation: no COM, no windows, no allocation at all; all state and tables are inside
// the object (about 64 KB), so the pitch filter keeps one per channel as a member.

#include <cstdint>

class AudioPitchShift_CL {
public:
    static constexpr int kBlockSamples = 1024;  // taken and given by every call
    static constexpr int kDelaySamples = 1024;  // the output lags the input by this much
    static constexpr int kMaxOversampling = 16;

    AudioPitchShift_CL();
    virtual ~AudioPitchShift_CL() = default;
    AudioPitchShift_CL(const AudioPitchShift_CL&) = delete;
    AudioPitchShift_CL& operator=(const AudioPitchShift_CL&) = delete;

    // Thread: the audio streaming thread. An instance takes no lock: its owner must not call
    // ProcessBlock and Reset on it at the same time.
    // Reads input1024[0..1023] and writes outputEveryOtherSlot[0], [2], ... [2046]: the slots
    // of one channel in an interleaved stereo buffer; the slots between are not touched.
    // oversampling is 1, 2, 4, 8 or 16; pitchFactor and sampleRateHz are finite and positive.
    // Anything else, or no input, writes silence and leaves the state as it was. A change of
    // oversampling restarts the shifter as Reset does. From oversampling 4 on, a factor of 1.0
    // gives the input back at its level. Output beyond the 16-bit range saturates; input samples
    // that are not finite count as silence, and finite ones are limited to +-1e20.
    void ProcessBlock(float pitchFactor, int oversampling, float sampleRateHz, const float* input1024,
                      int16_t* outputEveryOtherSlot);

    // Thread: any, never during ProcessBlock (the filter calls it when the stream is flushed).
    // Forgets all audio: the next call starts from silence, and its first hop of samples out
    // (1024 / oversampling) are zeros.
    void Reset();

private:
    static constexpr int kFrame = 1024;
    static constexpr int kBins = kFrame / 2 + 1;  // 0 .. Nyquist
    static constexpr int kPaddedBins = 516;       // whole SSE vectors; the extra bins are scratch
    static constexpr int kFftPasses = 10;

    void ClearState();
    void SetBinTargets(float pitchFactor);
    void RunFrame(float pitchFactor, int oversampling, double freqPerBinHz, double expectedAdvance);
    void WindowIntoFft();
    void Fft(const float* twiddleRe, const float* twiddleIm);
    void Analyse(int oversampling, double freqPerBinHz, double expectedAdvance);
    void ShiftBins(float pitchFactor);
    void Synthesise(int oversampling, double freqPerBinHz, double expectedAdvance);
    void OverlapAdd(int oversampling, int hop);

    // Tables, built once. The FFT twiddles of pass p sit at [2^(p-1), 2^p) and hold exactly the
    // values that stepping a rotation by multiplication in single precision gives, so that this
    // FFT's results match a plain one bit for bit, signs of zero included.
    alignas(16) double m_window[kFrame];
    alignas(16) float m_forwardTwiddleRe[kFrame];
    alignas(16) float m_forwardTwiddleIm[kFrame];
    alignas(16) float m_inverseTwiddleRe[kFrame];
    alignas(16) float m_inverseTwiddleIm[kFrame];
    uint16_t m_bitReversed[kFrame];

    // Audio state.
    alignas(16) float m_inFifo[kFrame];    // the last 1024 input samples
    alignas(16) float m_outFifo[kFrame];   // the next hop of output samples
    alignas(16) float m_outAccum[kFrame];  // overlap-add of the frames still sounding
    alignas(16) float m_fftRe[kFrame];     // FFT workspace, real and imaginary parts apart
    alignas(16) float m_fftIm[kFrame];
    alignas(16) float m_lastPhase[kPaddedBins];  // analysis phase of the previous frame
    alignas(16) float m_sumPhase[kPaddedBins];   // synthesis phase, kept within (-pi, pi]
    alignas(16) float m_anaFreq[kPaddedBins];    // true frequency of each analysed bin, Hz
    alignas(16) float m_anaMagn[kPaddedBins];
    alignas(16) float m_synFreq[kPaddedBins];  // after the shift
    alignas(16) float m_synMagn[kPaddedBins];
    alignas(16) float m_synRe[kPaddedBins];  // resynthesised spectrum before reordering
    alignas(16) float m_synIm[kPaddedBins];
    int16_t m_binTarget[kBins];                    // bin each source bin moves to for m_binTargetFactor
    int m_binsKept = 0;                            // source bins 0 .. m_binsKept-1 land below the top
    uint32_t m_binTargetFactorBits = 0xFFFFFFFFu;  // a NaN: no factor yet
    int32_t m_position = 0;                        // read/write index of the FIFOs; 0 until the first call
    bool m_initialised = false;                    // false until the state was cleared after a reset
    int m_oversampling = 0;                        // of the previous call
};

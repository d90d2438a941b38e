#pragma once
// The audio transform filter that keeps the pitch at slow and fast rates. The audio renderer
// plays faster or slower and so shifts the pitch; this filter shifts 16-bit stereo PCM by the
// inverse rate with two phase-vocoder shifters, so the pitch heard stays the same. Every
// other format, and everything at rate 1.0, passes through unchanged.
//
// Threads: Transform on the audio streaming thread (under the filter's receive lock);
// BeginFlush and the streaming start and stop with the graph's state changes; NewSegment from
// the source; the UI thread sets rate and quality, which the streaming side picks up at the
// next sample. The shifters, block buffers and carried output belong to the streaming side:
// BeginFlush clears them under the receive lock, and a new segment or a new start only asks
// the streaming side to clear them before its next sample (neither may wait for that lock).

#include <windows.h>
#include <dshow.h>
#include <mmreg.h>

#include <atomic>
#include <vector>

#include "media/AudioPitchShift_CL.h"
#include "media/dshow/TransformFilter_CL.h"

// {54E6F040-D241-4E70-947F-F5D93E7E9E8F}
constexpr CLSID CLSID_LumiAudioPitchShiftFilter = {
    0x54e6f040, 0xd241, 0x4e70, {0x94, 0x7f, 0xf5, 0xd9, 0x3e, 0x7e, 0x9e, 0x8f}};

class LumiAudioPitchShiftFilter_CL : public TransformFilter_CL {
public:
    static constexpr int kBlockFrames = AudioPitchShift_CL::kBlockSamples;  // stereo frames per shift
    static constexpr LONG kBlockOutputBytes = kBlockFrames * 4;

    // A new filter with one reference (rate 1.0, quality 1), or null.
    static LumiAudioPitchShiftFilter_CL* Create(HRESULT* result);

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // Thread: UI. Plain stores picked up by the streaming thread.
    void SetRate(double rate) { m_rate.store(rate); }
    void SetQuality(int quality) { m_quality.store(quality); }
    double Rate() const { return m_rate.load(); }
    int Quality() const { return m_quality.load(); }

    // Thread: any. Whether the input could take the type; keeps nothing.
    HRESULT CheckInputType(const MediaType_CL& type) override;
    // Under the filter lock (see TransformFilter_CL): the type the input streams with.
    HRESULT SetInputMediaType(const MediaType_CL& type) override;
    HRESULT CheckTransform(const MediaType_CL& input, const MediaType_CL& output) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT GetMediaType(int position, MediaType_CL* type) override;
    HRESULT Transform(IMediaSample* input, IMediaSample* output) override;
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;
    HRESULT BeginFlush() override;
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // Pure: the oversampling for a rate at a quality (1 normal, 0 low).
    static int OversamplingFor(double rate, int quality);
    // Pure: the WAVEFORMATEXTENSIBLE channel mask of a channel count (all bits from 32 on).
    static DWORD ChannelMask(WORD channels);

    // Bytes produced but not yet delivered because the output buffer was full.
    size_t PendingBytes() const { return m_pending.size(); }
    // Stereo frames collected towards the next block.
    int CollectedFrames() const { return m_fill; }

private:
    LumiAudioPitchShiftFilter_CL();
    ~LumiAudioPitchShiftFilter_CL() override;

    HRESULT ProcessBlocks(IMediaSample* input, IMediaSample* output);
    // Thread: any. A copy of the input's format, taken under the filter lock; false before
    // an input type was set.
    bool InputWave(WAVEFORMATEX* wave);
    // Appends bytes to the output sample, or behind what is pending when it is full.
    void Emit(const BYTE* bytes, size_t count, BYTE* out, LONG outSize, LONG* outLength);
    void ResetShifting();

    std::atomic<double> m_rate{1.0};
    std::atomic<int> m_quality{1};
    // Set by a new segment or a new start, cleared by the streaming side as it starts afresh.
    std::atomic<bool> m_restartPending{false};
    int m_fill = 0;  // stereo frames collected in the block buffers (streaming thread)
    float m_left[2 * kBlockFrames] = {};
    float m_right[2 * kBlockFrames] = {};
    int16_t m_shifted[2 * kBlockFrames] = {};
    AudioPitchShift_CL m_shiftLeft, m_shiftRight;
    MediaType_CL m_inputType;       // the input's connection type; under m_filterLock
    std::vector<BYTE> m_pending;    // output carried to the next call (streaming thread)
};

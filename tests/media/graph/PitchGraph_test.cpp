// The pitch filter inside a real graph: what leaves it is recorded by a sink of our own.
// At rate 1.0 the audio is bit-exact; at rate r a 440 Hz tone leaves at 440/r Hz; a seek,
// with the graph stopped (as the player seeks under Wine) or paused, starts the shifters
// afresh; a format only asked about changes nothing; formats it does not shift pass through
// unchanged.

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <cmath>
#include <cstring>
#include <algorithm>
#include <mutex>

#include "media/LumiAudioPitchShiftFilter_CL.h"
#include "media/dshow/BaseRenderer_CL.h"
#include "media/dshow/ControlUuids.h"
#include "tests/media/graph/GraphFixture.h"

using Microsoft::WRL::ComPtr;

namespace {
const CLSID kSinkClsid = {0x5a1b2c3d, 0x4444, 0x5555, {0x66, 0x66, 0x77, 0x77, 0x88, 0x88, 0x99, 0x99}};

// Takes PCM audio and keeps every byte it is given, as fast as it comes.
class AudioSink : public BaseRenderer_CL {
public:
    static AudioSink* Create() {
        auto* sink = new AudioSink();
        sink->AddRef();
        return sink;
    }
    HRESULT CheckMediaType(const MediaType_CL& type) override {
        return type.majortype == MEDIATYPE_Audio && type.subtype == MEDIASUBTYPE_PCM ? S_OK : S_FALSE;
    }
    HRESULT DoRenderSample(IMediaSample* sample) override {
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        std::lock_guard<std::mutex> lock(m_lock);
        m_bytes.insert(m_bytes.end(), data, data + sample->GetActualDataLength());
        return S_OK;
    }
    std::vector<BYTE> Take() {
        std::lock_guard<std::mutex> lock(m_lock);
        return std::move(m_bytes);
    }

private:
    AudioSink() : BaseRenderer_CL(L"Audio sink", nullptr, kSinkClsid) { SetDropLateFrames(false); }
    std::mutex m_lock;
    std::vector<BYTE> m_bytes;
};

// source file -> (splitter, decoder) -> pitch filter -> sink, with no clock.
class PitchChain {
public:
    explicit PitchChain(const std::wstring& path) {
        ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph));
        HRESULT hr;
        pitch = LumiAudioPitchShiftFilter_CL::Create(&hr);
        sink = AudioSink::Create();
        graph->AddFilter(pitch, L"LumiAudioPitchShiftFilter");
        graph->AddFilter(sink, L"sink");
        ComPtr<IBaseFilter> source;
        if (FAILED(graph->AddSourceFilter(path.c_str(), L"source", &source))) return;
        ComPtr<IEnumPins> pins;
        source->EnumPins(&pins);
        ComPtr<IPin> out;
        pins->Next(1, &out, nullptr);
        built = out && SUCCEEDED(graph->Connect(out.Get(), &pitch->InputPin())) &&
                SUCCEEDED(graph->ConnectDirect(&pitch->OutputPin(), &sink->InputPin(), nullptr));
        ComPtr<IMediaFilter> filter;
        graph.As(&filter);
        filter->SetSyncSource(nullptr);
        graph.As(&control);
        graph.As(&seeking);
    }
    ~PitchChain() {
        if (control) control->Stop();
        control.Reset();
        seeking.Reset();
        graph.Reset();
        pitch->Release();
        sink->Release();
    }
    // Runs until EC_COMPLETE, then pauses. The events are read one by one: under Wine,
    // WaitForCompletion on a run after a stop returned at once, before any audio had come.
    bool RunToEnd() {
        ComPtr<IMediaEvent> events;
        graph.As(&events);
        long code = 0;
        LONG_PTR param1 = 0, param2 = 0;
        while (events->GetEvent(&code, &param1, &param2, 0) == S_OK) events->FreeEventParams(code, param1, param2);
        if (FAILED(control->Run())) return false;
        bool ended = false;
        while (!ended && events->GetEvent(&code, &param1, &param2, 30000) == S_OK) {
            events->FreeEventParams(code, param1, param2);
            ended = code == EC_COMPLETE;
        }
        control->Pause();
        return ended;
    }
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<IMediaSeeking> seeking;
    LumiAudioPitchShiftFilter_CL* pitch = nullptr;
    AudioSink* sink = nullptr;
    bool built = false;
};

std::vector<int16_t> Channel(const std::vector<BYTE>& bytes, int channel, int channels = 2) {
    std::vector<int16_t> samples(bytes.size() / (2 * channels));
    for (size_t i = 0; i < samples.size(); ++i) std::memcpy(&samples[i], &bytes[(i * channels + channel) * 2], 2);
    return samples;
}

// The frequency of a tone from its zero crossings, away from the start.
double ToneHz(const std::vector<int16_t>& samples, int sampleRate, size_t skip) {
    size_t crossings = 0, first = 0, last = 0;
    for (size_t i = skip + 1; i < samples.size(); ++i) {
        if ((samples[i - 1] < 0) != (samples[i] < 0) && samples[i] >= 0) {
            if (crossings == 0) first = i;
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2) return 0;
    return (crossings - 1) * static_cast<double>(sampleRate) / static_cast<double>(last - first);
}

AviMovieSpec ToneMovie() {
    AviMovieSpec movie;
    movie.width = 64;
    movie.height = 48;
    movie.frameRateNum = 25;
    movie.frameRateDen = 1;
    movie.frameCount = 100;  // 4 s
    movie.pixel = AviMovieSpec::Pixel::Yuy2;
    movie.withAudio = true;
    movie.sampleRate = 44100;
    movie.toneHz = 440;
    movie.amplitude = 0.5;
    return movie;
}
}  // namespace

using PitchInAGraph = GraphTest;

TEST_F(PitchInAGraph, AtRateOneTheAudioIsBitExact) {
    AviMovieSpec movie = ToneMovie();
    PitchChain chain(WriteMovie(L"tone.avi", movie));
    ASSERT_TRUE(chain.built);
    ASSERT_TRUE(chain.RunToEnd());
    std::vector<BYTE> bytes = chain.sink->Take();
    ASSERT_EQ(bytes.size(), static_cast<size_t>(AviWriter_CL::AudioSampleCount(movie)) * 4);
    std::vector<int16_t> left = Channel(bytes, 0), right = Channel(bytes, 1);
    for (size_t i = 0; i < left.size(); ++i) {
        ASSERT_EQ(left[i], AviWriter_CL::AudioSample(movie, static_cast<int64_t>(i), 0)) << i;
        ASSERT_EQ(right[i], AviWriter_CL::AudioSample(movie, static_cast<int64_t>(i), 1)) << i;
    }
}

TEST_F(PitchInAGraph, AtRateRTheToneLeavesAtItsFrequencyOverR) {
    for (double rate : {2.0, 0.5}) {
        SCOPED_TRACE(rate);
        PitchChain chain(WriteMovie(L"tone_rate.avi", ToneMovie()));
        ASSERT_TRUE(chain.built);
        chain.pitch->SetRate(rate);
        ASSERT_TRUE(chain.RunToEnd());
        std::vector<BYTE> bytes = chain.sink->Take();
        // Whole blocks only: up to 1023 frames stay behind in the block buffers.
        EXPECT_EQ(bytes.size() % LumiAudioPitchShiftFilter_CL::kBlockOutputBytes, 0u);
        EXPECT_GT(bytes.size(), 4u * 44100 * 3);
        double hz = ToneHz(Channel(bytes, 0), 44100, 8192);
        EXPECT_NEAR(hz, 440.0 / rate, 440.0 / rate * 0.02);
        EXPECT_NEAR(ToneHz(Channel(bytes, 1), 44100, 8192), hz, 1.0);
    }
}

TEST_F(PitchInAGraph, AFlushDropsWhatWasCollectedForTheNextBlock) {
    PitchChain chain(WriteMovie(L"tone_flush.avi", ToneMovie()));
    ASSERT_TRUE(chain.built);
    chain.pitch->SetRate(1.5);
    ASSERT_TRUE(chain.RunToEnd());
    // 4 s at 44100 Hz leave 176400 mod 1024 frames waiting for a block that never came.
    EXPECT_EQ(chain.pitch->CollectedFrames(), 176400 % LumiAudioPitchShiftFilter_CL::kBlockFrames);
    chain.pitch->InputPin().BeginFlush();
    chain.pitch->InputPin().EndFlush();
    EXPECT_EQ(chain.pitch->CollectedFrames(), 0);
    EXPECT_EQ(chain.pitch->PendingBytes(), 0u);
}

TEST_F(PitchInAGraph, ASeekStartsTheShiftersAfreshWithTheGraphStoppedOrPaused) {
    PitchChain chain(WriteMovie(L"tone_seek.avi", ToneMovie()));
    ASSERT_TRUE(chain.built);
    chain.pitch->SetRate(1.5);
    ASSERT_TRUE(chain.RunToEnd());
    const std::vector<BYTE> first = chain.sink->Take();
    ASSERT_GT(first.size(), 4u * 44100 * 3);
    // The shifters now hold the end of the tone, and frames wait for a block.
    ASSERT_NE(chain.pitch->CollectedFrames(), 0);

    // Stopped, the source seeks without a flush; only a new segment tells the filter.
    ASSERT_EQ(chain.control->Stop(), S_OK);
    LONGLONG start = 0;
    ASSERT_EQ(chain.seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    ASSERT_TRUE(chain.RunToEnd());
    // The same audio from a fresh start gives the same bytes, the first block included.
    const std::vector<BYTE> afterStoppedSeek = chain.sink->Take();
    ASSERT_EQ(afterStoppedSeek.size(), first.size());
    EXPECT_TRUE(afterStoppedSeek == first) << "audio from before the seek was heard after it";

    // Paused (RunToEnd leaves the graph paused), the seek flushes.
    ASSERT_EQ(chain.seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning),
              S_OK);
    ASSERT_TRUE(chain.RunToEnd());
    const std::vector<BYTE> afterPausedSeek = chain.sink->Take();
    ASSERT_EQ(afterPausedSeek.size(), first.size());
    EXPECT_TRUE(afterPausedSeek == first) << "audio from before the seek was heard after it";
}

TEST_F(PitchInAGraph, AFormatOnlyAskedAboutChangesNothing) {
    PitchChain chain(WriteMovie(L"tone_ask.avi", ToneMovie()));
    ASSERT_TRUE(chain.built);
    // Asked while connected whether 8-bit mono would do: yes, but it is never set.
    MediaType_CL mono8;
    mono8.majortype = MEDIATYPE_Audio;
    mono8.subtype = MEDIASUBTYPE_PCM;
    mono8.formattype = FORMAT_WaveFormatEx;
    mono8.AllocateFormat(sizeof(WAVEFORMATEX));
    auto* wave = reinterpret_cast<WAVEFORMATEX*>(mono8.pbFormat);
    *wave = WAVEFORMATEX{WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0};
    EXPECT_EQ(chain.pitch->InputPin().QueryAccept(&mono8), S_OK);

    // The types it offers downstream still follow the connection's 16-bit stereo.
    MediaType_CL offered;
    ASSERT_EQ(chain.pitch->GetMediaType(1, &offered), S_OK);
    const WAVEFORMATEX* out = offered.FormatAs<WAVEFORMATEX>();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->nChannels, 2);
    EXPECT_EQ(out->wBitsPerSample, 16);
    EXPECT_EQ(out->nSamplesPerSec, 44100u);

    // And it still shifts: at rate 2.0 the tone leaves an octave down.
    chain.pitch->SetRate(2.0);
    ASSERT_TRUE(chain.RunToEnd());
    std::vector<BYTE> bytes = chain.sink->Take();
    EXPECT_NEAR(ToneHz(Channel(bytes, 0), 44100, 8192), 220.0, 220.0 * 0.02);
}

TEST_F(PitchInAGraph, FormatsItDoesNotShiftPassThroughUnchanged) {
    std::wstring path = SampleMedia(L"mono8.wav");
    ASSERT_FALSE(path.empty()) << "run through scripts/test.sh, which makes the samples";
    std::string file = ReadFileBytes(path);
    PitchChain chain(path);
    ASSERT_TRUE(chain.built);
    chain.pitch->SetRate(2.0);
    ASSERT_TRUE(chain.RunToEnd());
    std::vector<BYTE> bytes = chain.sink->Take();
    ASSERT_EQ(bytes.size(), 44100u);  // 2 s of 8-bit mono at 22050 Hz
    // The data chunk of the file, byte for byte.
    size_t data = file.find("data");
    ASSERT_NE(data, std::string::npos);
    EXPECT_EQ(std::memcmp(bytes.data(), file.data() + data + 8, bytes.size()), 0);
}

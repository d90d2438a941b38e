// Real graphs under the platform's graph manager: our renderer and pitch filter in place,
// frames arriving in order with the right pixels, the end of the stream, release order and
// leaks, and movies the player must survive.

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>
#include <psapi.h>
#include <wrl/client.h>

#include "media/dshow/ControlUuids.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "media/CMyRenderer.h"
#include "media/DShowGraph_CL.h"
#include "media/LumiAudioPitchShiftFilter_CL.h"
#include "tests/support/ProcessFigures.h"
#include "tests/media/graph/GraphFixture.h"

using Microsoft::WRL::ComPtr;

namespace {
AviMovieSpec Movie(int frames, int width = 320, int height = 240) {
    AviMovieSpec movieSpec;
    movieSpec.width = width;
    movieSpec.height = height;
    movieSpec.frameRateNum = 30;
    movieSpec.frameRateDen = 1;
    movieSpec.frameCount = frames;
    movieSpec.pixel = AviMovieSpec::Pixel::Yuy2;
    movieSpec.withAudio = true;
    movieSpec.sampleRate = 44100;
    movieSpec.toneHz = 440;
    movieSpec.amplitude = 0.4;
    return movieSpec;
}

std::set<std::wstring> FilterNames(IGraphBuilder* graph) {
    std::set<std::wstring> names;
    ComPtr<IEnumFilters> filters;
    if (FAILED(graph->EnumFilters(&filters))) return names;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        FILTER_INFO info{};
        if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
            names.insert(info.achName);
            if (info.pGraph) info.pGraph->Release();
        }
        filter.Reset();
    }
    return names;
}

bool RunToCompletion(DShowGraph_CL& graph, long timeoutMs) {
    if (FAILED(graph.MediaControl()->Run())) return false;
    long code = 0;
    ComPtr<IMediaEvent> events;
    graph.Graph()->QueryInterface(IID_PPV_ARGS(&events));
    return events && events->WaitForCompletion(timeoutMs, &code) == S_OK && code == EC_COMPLETE;
}

void ClockOff(DShowGraph_CL& graph) {
    ComPtr<IMediaFilter> filter;
    graph.Graph()->QueryInterface(IID_PPV_ARGS(&filter));
    ASSERT_TRUE(filter);
    ASSERT_EQ(filter->SetSyncSource(nullptr), S_OK);
}
}  // namespace

using PlaybackGraph = GraphTest;

TEST_F(PlaybackGraph, EveryFrameReachesTheRendererInOrderWithTheClockOff) {
    AviMovieSpec movieSpec = Movie(300);
    std::wstring path = WriteMovie(L"ten_seconds.avi", movieSpec);
    DShowGraph_CL graph;
    graph.SetVideoWindow(m_window);
    ASSERT_EQ(graph.CreateFilterGraph(path, true), S_OK) << graph.ErrorText();
    ASSERT_NE(graph.Renderer(), nullptr);
    EXPECT_EQ(graph.IsSoundOnlyGraph(), 0);
    EXPECT_NEAR(static_cast<double>(graph.Latest() - graph.Earliest()), 10e7, 1e6);
    EXPECT_EQ(graph.Renderer()->Duration(), graph.Latest() - graph.Earliest());
    ClockOff(graph);
    ASSERT_TRUE(RunToCompletion(graph, 60000));

    std::vector<std::vector<uint8_t>> frames = FrameLog::Instance().Take();
    ASSERT_EQ(frames.size(), 300u);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(MatchFrameNumber(movieSpec, frames[i], i), i) << "frame " << i;
    graph.ReleaseFilterGraph();
    EXPECT_EQ(graph.Graph(), nullptr);
    EXPECT_EQ(graph.Renderer(), nullptr);
}

TEST_F(PlaybackGraph, AtNormalSpeedFramesComeInOrderAndDropsAreCounted) {
    AviMovieSpec movieSpec = Movie(60);
    std::wstring path = WriteMovie(L"two_seconds.avi", movieSpec);
    DShowGraph_CL graph;
    graph.SetVideoWindow(m_window);
    ASSERT_EQ(graph.CreateFilterGraph(path, true), S_OK) << graph.ErrorText();
    ULONGLONG started = ::GetTickCount64();
    ASSERT_TRUE(RunToCompletion(graph, 30000));
    EXPECT_GE(::GetTickCount64() - started, 1500u);  // the clock paced it

    std::vector<std::vector<uint8_t>> frames = FrameLog::Instance().Take();
    LONG dropped = graph.Renderer()->FramesDropped();
    EXPECT_EQ(static_cast<LONG>(frames.size()) + dropped, 60);
    int last = -1;
    for (size_t i = 0; i < frames.size(); ++i) {
        int number = MatchFrameNumber(movieSpec, frames[i], static_cast<int>(i));
        ASSERT_GT(number, last) << "out of order at " << i;
        last = number;
    }
    std::printf("[ info ] 60 frames at 1x: %d rendered, %ld dropped\n", static_cast<int>(frames.size()), dropped);
    graph.ReleaseFilterGraph();
}

TEST_F(PlaybackGraph, ThePitchPathPutsOurFilterInAndSwapsTheSoundRenderer) {
    std::wstring path = WriteMovie(L"pitch.avi", Movie(30));
    DShowGraph_CL graph;
    graph.SetVideoWindow(m_window);
    ASSERT_EQ(graph.CreateFilterGraph(path, false), S_OK) << graph.ErrorText();
    std::set<std::wstring> names = FilterNames(graph.Graph());
    EXPECT_TRUE(names.count(L"Lumikino-Renderer"));
    EXPECT_TRUE(names.count(L"LumiAudioPitchShiftFilter"));
    EXPECT_TRUE(names.count(L"Audio Renderer (WaveOut)")) << graph.ErrorText();
    EXPECT_FALSE(names.count(L"Default DirectSound Device"));
    ASSERT_NE(graph.PitchFilter(), nullptr);
    EXPECT_TRUE(graph.PitchFilter()->InputPin().IsConnected());
    EXPECT_TRUE(graph.PitchFilter()->OutputPin().IsConnected());
    EXPECT_NE(graph.RotCookie(), 0u);
    ASSERT_TRUE(RunToCompletion(graph, 30000));
    graph.ReleaseFilterGraph();
    EXPECT_EQ(graph.RotCookie(), 0u);  // the viewer's entry goes with the graph
}

TEST_F(PlaybackGraph, WithoutPitchKeepingTheDirectSoundRendererStays) {
    std::wstring path = WriteMovie(L"plain.avi", Movie(15));
    DShowGraph_CL graph;
    graph.SetVideoWindow(m_window);
    ASSERT_EQ(graph.CreateFilterGraph(path, true), S_OK) << graph.ErrorText();
    std::set<std::wstring> names = FilterNames(graph.Graph());
    EXPECT_FALSE(names.count(L"LumiAudioPitchShiftFilter"));
    EXPECT_TRUE(names.count(L"Default DirectSound Device"));
    EXPECT_EQ(graph.PitchFilter(), nullptr);
    graph.ReleaseFilterGraph();
}

TEST_F(PlaybackGraph, BuildingAndReleasingRepeatedlyLeavesNoMoreThanThePlatformsOwnGraph) {
    // Under Wine a filter graph built and released by itself leaves descriptors and memory
    // behind; ours may leave nothing more than that. On Windows the platform's graph leaves
    // nothing, and neither may ours.
    std::wstring path = WriteMovie(L"repeat.avi", Movie(10, 64, 48));
    DShowGraph_CL graph;
    graph.SetVideoWindow(m_window);
    auto usage = [] {
        ProcessFigures figures;
        EXPECT_TRUE(ReadOwnProcessFigures(&figures));
        return figures;
    };
    auto ours = [&] {
        ASSERT_EQ(graph.CreateFilterGraph(path, false), S_OK);
        graph.ReleaseFilterGraph();
    };
    auto platforms = [&] {
        IGraphBuilder* bare = nullptr;
        ASSERT_EQ(::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                     reinterpret_cast<void**>(&bare)), S_OK);
        EXPECT_TRUE(SUCCEEDED(bare->RenderFile(path.c_str(), nullptr)));
        bare->Release();
    };
    // The first builds load the platform's filters; measure after they settled.
    for (int i = 0; i < 5; ++i) ours();
    constexpr int kRounds = 50;
    const ProcessFigures start = usage();
    for (int i = 0; i < kRounds; ++i) platforms();
    const ProcessFigures afterPlatforms = usage();
    for (int i = 0; i < kRounds; ++i) ours();
    const ProcessFigures afterOurs = usage();
    const double platformHandles = afterPlatforms.handles - start.handles;
    const double platformBytes = afterPlatforms.privateBytes - start.privateBytes;
    std::printf("%d graphs each: the platform's left %.0f handles and %.1f MB, ours %.0f and %.1f MB\n", kRounds,
                platformHandles, platformBytes / 1048576.0, afterOurs.handles - afterPlatforms.handles,
                (afterOurs.privateBytes - afterPlatforms.privateBytes) / 1048576.0);
    EXPECT_LE(afterOurs.handles - afterPlatforms.handles, std::max(platformHandles, 0.0) + 10);
    EXPECT_LE(afterOurs.privateBytes - afterPlatforms.privateBytes, std::max(platformBytes, 0.0) + 8.0 * 1048576);
    EXPECT_EQ(graph.RotCookie(), 0u);
}

TEST_F(PlaybackGraph, AFileThatCannotBeOpenedFailsAndIsRetriedOnlyWhenWorthIt) {
    DShowGraph_CL graph;
    graph.SetVideoWindow(m_window);
    HRESULT hr = graph.CreateFilterGraph(m_folder.Join(L"missing.avi"), true);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_NE(graph.ErrorText().find(L"RenderFile()失敗"), std::wstring::npos);
    // An empty path fails at once: no five seconds of retries at start-up.
    ULONGLONG started = ::GetTickCount64();
    EXPECT_EQ(graph.CreateFilterGraphWithRetry(L"", false, L"test"), VFW_E_NOT_FOUND);
    EXPECT_LT(::GetTickCount64() - started, 900u);
    EXPECT_EQ(graph.Graph(), nullptr);
    graph.ReleaseFilterGraph();
    graph.ReleaseFilterGraph();  // releasing an empty holder is harmless
}


namespace {
// Builds the playback graph and, when it builds, plays it to its end with the clock off.
// Returns the build's result; a hang or crash is the failure this guards against.
HRESULT BuildAndPlay(const std::wstring& path, HWND window, bool* completed) {
    DShowGraph_CL graph;
    graph.SetVideoWindow(window);
    HRESULT hr = graph.CreateFilterGraph(path, false);
    *completed = false;
    if (SUCCEEDED(hr)) {
        ComPtr<IMediaFilter> filter;
        graph.Graph()->QueryInterface(IID_PPV_ARGS(&filter));
        filter->SetSyncSource(nullptr);
        if (SUCCEEDED(graph.MediaControl()->Run())) {
            ComPtr<IMediaEvent> events;
            graph.Graph()->QueryInterface(IID_PPV_ARGS(&events));
            long code = 0;
            *completed = events->WaitForCompletion(20000, &code) == S_OK;
        }
    }
    graph.ReleaseFilterGraph();
    return hr;
}

void Overwrite(const std::wstring& path, size_t offset, const std::string& bytes) {
    std::string file = ReadFileBytes(path);
    ASSERT_LE(offset + bytes.size(), file.size());
    file.replace(offset, bytes.size(), bytes);
    ASSERT_TRUE(WriteFileBytes(path, file));
}
}  // namespace

TEST_F(PlaybackGraph, CompressedMoviesReachOurRendererAndPitchFilter) {
    for (const wchar_t* name : {L"h264_aac.mp4", L"mpeg4_pcm.avi"}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(name)));
        std::wstring path = SampleMedia(name);
        ASSERT_FALSE(path.empty()) << "run through scripts/test.sh, which makes the samples";
        DShowGraph_CL graph;
        graph.SetVideoWindow(m_window);
        ASSERT_EQ(graph.CreateFilterGraph(path, false), S_OK) << graph.ErrorText();
        EXPECT_TRUE(graph.Renderer()->InputPin().IsConnected());
        ASSERT_NE(graph.PitchFilter(), nullptr);
        EXPECT_TRUE(graph.PitchFilter()->InputPin().IsConnected());
        EXPECT_NEAR(static_cast<double>(graph.Latest()), 3e7, 2e6);
        ClockOff(graph);
        ASSERT_TRUE(RunToCompletion(graph, 30000));
        EXPECT_GE(FrameLog::Instance().Take().size(), 60u);
        graph.ReleaseFilterGraph();
    }
}

TEST_F(PlaybackGraph, SoundOnlyFilesBuildWithTheRendererUnconnected) {
    std::wstring path = SampleMedia(L"tone.wav");
    ASSERT_FALSE(path.empty()) << "run through scripts/test.sh, which makes the samples";
    DShowGraph_CL graph;
    graph.SetVideoWindow(m_window);
    ASSERT_EQ(graph.CreateFilterGraph(path, true), S_OK) << graph.ErrorText();
    EXPECT_FALSE(graph.Renderer()->InputPin().IsConnected());
    EXPECT_EQ(graph.IsSoundOnlyGraph(), 1);
    ASSERT_TRUE(RunToCompletion(graph, 30000));  // the unconnected renderer completes at once
    graph.ReleaseFilterGraph();
    // On the pitch path the audio goes to the waveOut renderer, which is not counted.
    ASSERT_EQ(graph.CreateFilterGraph(path, false), S_OK) << graph.ErrorText();
    EXPECT_EQ(graph.IsSoundOnlyGraph(), 0);
    graph.ReleaseFilterGraph();
}

TEST_F(PlaybackGraph, BrokenAndOddMoviesFailOrPlayButNeverHang) {
    bool completed = false;
    {
        SCOPED_TRACE("truncated");
        std::wstring path = WriteMovie(L"truncated.avi", Movie(60));
        std::string file = ReadFileBytes(path);
        ASSERT_TRUE(WriteFileBytes(path, file.substr(0, file.size() / 2)));
        HRESULT hr = BuildAndPlay(path, m_window, &completed);
        EXPECT_TRUE(FAILED(hr) || completed) << std::hex << hr;
    }
    {
        SCOPED_TRACE("broken header");
        std::wstring path = WriteMovie(L"broken.avi", Movie(10));
        Overwrite(path, 12, std::string(64, '\x7f'));
        HRESULT hr = BuildAndPlay(path, m_window, &completed);
        EXPECT_TRUE(FAILED(hr) || completed) << std::hex << hr;
    }
    {
        SCOPED_TRACE("zero frame rate");
        std::wstring path = WriteMovie(L"zero_rate.avi", Movie(10));
        std::string file = ReadFileBytes(path);
        size_t strh = file.find("strh");
        ASSERT_NE(strh, std::string::npos);
        Overwrite(path, strh + 8 + 24, std::string(4, '\0'));  // dwRate of the video stream
        HRESULT hr = BuildAndPlay(path, m_window, &completed);
        EXPECT_TRUE(FAILED(hr) || completed) << std::hex << hr;
    }
    for (auto size : {std::make_pair(1, 1), std::make_pair(7, 5), std::make_pair(8192, 8192)}) {
        SCOPED_TRACE(::testing::PrintToString(size));
        AviMovieSpec movieSpec = Movie(size.first == 8192 ? 1 : 5, size.first, size.second);
        movieSpec.pixel = AviMovieSpec::Pixel::Rgb32;
        HRESULT hr = BuildAndPlay(WriteMovie(L"odd.avi", movieSpec), m_window, &completed);
        EXPECT_TRUE(FAILED(hr) || completed) << std::hex << hr;
    }
    {
        SCOPED_TRACE("no audio");
        AviMovieSpec silent = Movie(10);
        silent.withAudio = false;
        DShowGraph_CL graph;
        graph.SetVideoWindow(m_window);
        ASSERT_EQ(graph.CreateFilterGraph(WriteMovie(L"silent.avi", silent), false), S_OK) << graph.ErrorText();
        EXPECT_TRUE(graph.Renderer()->InputPin().IsConnected());
        graph.ReleaseFilterGraph();
    }
}

// What the platform does where the player depends on it; the findings are printed for the
// platform notes and the player copes either way.
TEST_F(PlaybackGraph, PlatformProbeEcPausedAndDecoderFormats) {
    for (const wchar_t* name : {L"tone.mp3", L"h264_aac.mp4"}) {
        std::wstring path = SampleMedia(name);
        ASSERT_FALSE(path.empty()) << "run through scripts/test.sh, which makes the samples";
        DShowGraph_CL graph;
        graph.SetVideoWindow(m_window);
        ASSERT_EQ(graph.CreateFilterGraph(path, false), S_OK) << graph.ErrorText();
        ASSERT_NE(graph.PitchFilter(), nullptr);
        AM_MEDIA_TYPE type{};
        ASSERT_EQ(graph.PitchFilter()->InputPin().ConnectionMediaType(&type), S_OK);
        const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
        ASSERT_NE(wave, nullptr);
        std::printf("[ info ] %ls: the decoder offers the pitch filter tag 0x%04x, %u channels, %u bits, %lu Hz\n",
                    name, wave->wFormatTag, wave->nChannels, wave->wBitsPerSample,
                    static_cast<unsigned long>(wave->nSamplesPerSec));
        EXPECT_EQ(wave->nChannels, 2);
        EXPECT_EQ(wave->wBitsPerSample, 16);  // the format the filter shifts
        MediaType_CL::FreeContents(type);

        ASSERT_TRUE(SUCCEEDED(graph.MediaControl()->Pause()));
        bool paused = false;
        ULONGLONG deadline = ::GetTickCount64() + 2000;
        while (!paused && ::GetTickCount64() < deadline) {
            long code;
            LONG_PTR p1, p2;
            if (graph.MediaEventEx()->GetEvent(&code, &p1, &p2, 100) == S_OK) {
                paused = code == EC_PAUSED;
                graph.MediaEventEx()->FreeEventParams(code, p1, p2);
            }
        }
        std::printf("[ info ] %ls: EC_PAUSED after Pause %ls\n", name, paused ? L"arrives" : L"does not arrive within 2 s");
        graph.ReleaseFilterGraph();
    }
}

namespace {

// Stops the graph on a worker and says whether Stop came back within the time.
bool StopReturns(IMediaControl* control, DWORD timeoutMs) {
    struct Call {
        IMediaControl* control;
        HANDLE done;
    } call{control, ::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](void* parameter) -> DWORD {
            auto* c = static_cast<Call*>(parameter);
            c->control->Stop();
            ::SetEvent(c->done);
            return 0;
        },
        &call, 0, nullptr);
    const bool returned = ::WaitForSingleObject(call.done, timeoutMs) == WAIT_OBJECT_0;
    if (returned) ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    if (returned) ::CloseHandle(call.done);  // a hung worker keeps its event
    return returned;
}

TEST_F(GraphTest, GraphWithSoundStopsAfterSeeksWhileRunningAndPaused) {
    // Wine's audio renderers never return from Stop once such a graph was seeked while
    // running or paused; the graph's own Seek keeps clear of that.
    AviMovieSpec movieSpec;
    movieSpec.width = 160;
    movieSpec.height = 120;
    movieSpec.frameRateNum = 10;
    movieSpec.frameCount = 100;
    movieSpec.withAudio = true;
    std::wstring path = WriteMovie(L"sound.avi", movieSpec);
    DShowGraph_CL graph;
    graph.SetVideoWindow(m_window);
    ASSERT_EQ(graph.CreateFilterGraph(path, false), S_OK) << graph.ErrorText();
    IMediaControl* control = graph.MediaControl();
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    EXPECT_TRUE(SUCCEEDED(graph.Seek(30000000)));  // running
    OAFilterState state = State_Stopped;
    control->GetState(2000, &state);
    EXPECT_EQ(state, State_Running);  // the seek put it back as it was
    ASSERT_TRUE(SUCCEEDED(control->Pause()));
    EXPECT_TRUE(SUCCEEDED(graph.Seek(60000000)));  // paused
    control->GetState(2000, &state);
    EXPECT_EQ(state, State_Paused);
    LONGLONG position = 0;
    graph.MediaSeeking()->GetCurrentPosition(&position);
    EXPECT_NEAR(static_cast<double>(position), 60000000.0, 5000000.0);
    const bool stopped = StopReturns(control, 10000);
    EXPECT_TRUE(stopped) << "Stop hung after seeks";
    if (stopped) graph.ReleaseFilterGraph();
}

}  // namespace

// Filter-graph benchmark: (1) the time to build a playback graph with our renderer and pitch
// filter, against RenderFile with the platform's default renderers; (2) frames per second
// delivered to our renderer from an uncompressed 1080p YUY2 movie with the clock off,
// against the platform's default video renderer on the same source. Both baselines are
// measured in the same run.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "media/DShowGraph_CL.h"
#include "media/dshow/ControlUuids.h"
#include "tests/support/AviWriter_CL.h"
#include "tests/support/TempFolder_CL.h"

using Microsoft::WRL::ComPtr;

namespace {
double NowMs() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool RunWithoutClock(IGraphBuilder* graph) {
    ComPtr<IMediaFilter> filter;
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    graph->QueryInterface(IID_PPV_ARGS(&filter));
    graph->QueryInterface(IID_PPV_ARGS(&control));
    graph->QueryInterface(IID_PPV_ARGS(&events));
    if (!filter || !control || !events) return false;
    filter->SetSyncSource(nullptr);
    if (FAILED(control->Run())) return false;
    long code = 0;
    bool done = events->WaitForCompletion(120000, &code) == S_OK;
    control->Stop();
    return done;
}

// A plain graph: RenderFile with whatever renderers the platform picks.
double PlainBuildMs(const std::wstring& path, ComPtr<IGraphBuilder>* keep) {
    double start = NowMs();
    ComPtr<IGraphBuilder> graph;
    ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph));
    if (!graph || FAILED(graph->RenderFile(path.c_str(), nullptr))) return -1;
    double elapsed = NowMs() - start;
    if (keep) *keep = graph;
    return elapsed;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    int rounds = argc > 1 ? _wtoi(argv[1]) : 9;
    ::CoInitialize(nullptr);
    HWND window = ::CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 960, 540, nullptr,
                                    nullptr, nullptr, nullptr);
    TempFolder_CL folder;
    std::string error;

    AviMovieSpec small;
    small.width = 640;
    small.height = 360;
    small.frameCount = 30;
    std::wstring smallPath = folder.Join(L"small.avi");
    if (!AviWriter_CL::Write(smallPath, small, &error)) return 1;

    std::vector<double> ours, plain;
    for (int round = 0; round < rounds; ++round) {
        DShowGraph_CL graph;
        graph.SetVideoWindow(window);
        double start = NowMs();
        if (graph.CreateFilterGraph(smallPath, false) != S_OK) return 1;
        ours.push_back(NowMs() - start);
        graph.ReleaseFilterGraph();
        double t = PlainBuildMs(smallPath, nullptr);
        if (t < 0) return 1;
        plain.push_back(t);
    }
    std::printf("graph build: ours %.1f ms, RenderFile with default renderers %.1f ms, ratio %.2fx (median of %d)\n",
                Median(ours), Median(plain), Median(ours) / Median(plain), rounds);

    AviMovieSpec big;
    big.width = 1920;
    big.height = 1080;
    big.frameCount = 60;
    big.withAudio = false;
    std::wstring bigPath = folder.Join(L"big.avi");
    if (!AviWriter_CL::Write(bigPath, big, &error)) return 1;
    std::vector<double> oursFps, plainFps;
    for (int round = 0; round < 3; ++round) {
        DShowGraph_CL graph;
        graph.SetVideoWindow(window);
        if (graph.CreateFilterGraph(bigPath, true) != S_OK) return 1;
        double start = NowMs();
        if (!RunWithoutClock(graph.Graph())) return 1;
        oursFps.push_back(big.frameCount * 1000.0 / (NowMs() - start));
        graph.ReleaseFilterGraph();

        ComPtr<IGraphBuilder> plainGraph;
        if (PlainBuildMs(bigPath, &plainGraph) < 0) return 1;
        start = NowMs();
        if (!RunWithoutClock(plainGraph.Get())) return 1;
        plainFps.push_back(big.frameCount * 1000.0 / (NowMs() - start));
    }
    std::printf("1080p YUY2 delivery, clock off: ours %.1f fps, default video renderer %.1f fps, ratio %.2fx\n",
                Median(oursFps), Median(plainFps), Median(oursFps) / Median(plainFps));
    ::DestroyWindow(window);
    ::CoUninitialize();
    return 0;
}

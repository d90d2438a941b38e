// Strip-drops benchmark: what filling the strip costs playback. A 1280 x 720 H.264 movie with
// sound plays in a real playback graph (our renderer drawing into a video child window the
// way the player's does, the audio renderer as the clock) for a fixed time, once alone and
// once while the thumbnail worker fills a strip of the same movie: one cell a second unless
// CELL_SECONDS says otherwise, the cache dropped and the strip asked for again whenever it is
// full, so that the worker decodes for the whole time. The figure is the frames our renderer
// drops for lateness, medians of the rounds of each kind, and the difference as a share of
// the frames played. Rounds alternate between the two kinds so that a slow spell of the
// machine meets both. The movie is made by bench/thumbs/run.sh. A run whose worker brought no
// pictures fails with exit code 1: a worker that only waits costs playback nothing.
//   bench_strip_drops MOVIE [SECONDS [ROUNDS [CELL_SECONDS]]]

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/MutexLock_CL.h"
#include "bench/thumbs/StripFiller_CL.h"
#include "media/CMyRenderer.h"
#include "media/DShowGraph_CL.h"
#include "media/DXHelper_CL.h"
#include "media/PlaybackIds.h"
#include "thumbs/StripRules.h"

namespace {
constexpr wchar_t kWindowClass[] = L"LumikinoBenchPlayerWindow";
constexpr int kClientWidth = 1280, kClientHeight = 720;
constexpr double kWarmUpSeconds = 6;

// The renderer of the graph playing now: the window's thread mends its presenter when asked.
// Set and read on the (only) user-interface thread.
CMyRenderer* g_renderer = nullptr;

LRESULT CALLBACK PlayerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PRESENTER_MAINTAIN:
            if (g_renderer) g_renderer->MaintainPresenter();
            return 0;
        case WM_PLAYBACK_REDRAW:
            if (g_renderer) g_renderer->Redraw();
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

struct PlayerWindows {
    HWND top = nullptr;
    HWND video = nullptr;
};

bool MakeWindows(PlayerWindows* windows) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = PlayerProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    if (!::RegisterClassExW(&windowClass)) return false;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    windows->top = ::CreateWindowExW(0, kWindowClass, L"strip drops", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                     frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                     nullptr);
    if (!windows->top) return false;
    // The video area is a "Static" child, as in the player.
    windows->video = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, kClientWidth,
                                       kClientHeight, windows->top, nullptr, instance, nullptr);
    if (!windows->video) return false;
    ::ShowWindow(windows->top, SW_SHOW);
    ::UpdateWindow(windows->top);
    StripFiller_CL::PumpUntil(nullptr, 200);  // let the window be mapped
    return true;
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

struct Round {
    long dropped = 0;
    long rendered = 0;
    double playedSeconds = 0;  // the position reached
    double cpuMsPerSecond = 0;
    long cellsDecoded = 0;     // by the worker during the playback
    long cellsEmpty = 0;       // answered without a picture
    int stripsDone = 0;
    double workerBuildMs = -1;
    long Frames() const { return dropped + rendered; }
};

bool PlayRound(const PlayerWindows& windows, const std::wstring& movie, double seconds, int64_t cellInterval,
               bool withWorker, Round* round) {
    DShowGraph_CL graph;
    graph.SetVideoWindow(windows.video);
    const HRESULT built = graph.CreateFilterGraph(movie, false);
    CMyRenderer* renderer = graph.Renderer();
    if (FAILED(built) || !renderer || !graph.MediaControl()) {
        std::fprintf(stderr, "the playback graph failed: 0x%08x %ls\n", static_cast<unsigned>(built),
                     graph.ErrorText().c_str());
        return false;
    }
    // The window procedure may reach the renderer only while its graph lives.
    struct RendererShown {
        explicit RendererShown(CMyRenderer* renderer) { g_renderer = renderer; }
        ~RendererShown() { g_renderer = nullptr; }
    } shown(renderer);
    {
        MutexLock_CL lock(renderer->FrameLock());
        if (renderer->Presenter()) renderer->Presenter()->SetPlaybackShown(true, true);
    }
    std::unique_ptr<StripFiller_CL> filler;
    if (withWorker) {
        filler = std::make_unique<StripFiller_CL>();
        if (!filler->Start()) {
            std::fprintf(stderr, "the worker did not start\n");
            return false;
        }
    }

    const double cpuStart = ProcessCpuMs();
    const double start = StripFiller_CL::NowMs();
    if (FAILED(graph.MediaControl()->Run())) {
        std::fprintf(stderr, "the playback graph did not run\n");
        return false;
    }
    // As in the player, the strip asks for its graph while the movie starts playing.
    if (filler) {
        StripFiller_CL::Plan plan;
        plan.interval = cellInterval;
        plan.keepFilling = true;
        filler->Fill(movie, plan);
        // The player tells the worker from its tick that the movie plays.
        filler->Worker().SetPlaybackRunning(true);
    }
    StripFiller_CL::PumpUntil(nullptr, seconds * 1000);
    const double elapsedMs = StripFiller_CL::NowMs() - start;
    round->dropped = renderer->FramesDropped();
    round->rendered = renderer->FramesRendered();
    round->cpuMsPerSecond = (ProcessCpuMs() - cpuStart) * 1000.0 / elapsedMs;
    LONGLONG position = 0;
    if (graph.MediaSeeking() && SUCCEEDED(graph.MediaSeeking()->GetCurrentPosition(&position))) {
        round->playedSeconds = static_cast<double>(position) / kStripRefTimePerSecond;
    }
    if (filler) {
        if (filler->Failed()) {
            std::fprintf(stderr, "the worker's graph failed: 0x%08x\n", static_cast<unsigned>(filler->BuildResult()));
            return false;
        }
        round->cellsDecoded = filler->CellsWithPicture();
        round->cellsEmpty = filler->CellsWithoutPicture();
        round->stripsDone = filler->StripsDone();
        if (filler->BuiltMs() >= 0) round->workerBuildMs = filler->BuiltMs() - filler->FillCalledMs();
    }
    graph.MediaControl()->Stop();
    filler.reset();
    graph.ReleaseFilterGraph();
    return true;
}

long MedianOf(std::vector<long> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double MedianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void PrintRound(const char* kind, int index, const Round& round) {
    std::printf("round %d %-14s dropped %4ld of %5ld frames, position %.1f s, CPU %.0f ms/s", index, kind,
                round.dropped, round.Frames(), round.playedSeconds, round.cpuMsPerSecond);
    if (round.workerBuildMs >= 0) {
        std::printf(", worker: graph %.0f ms, %ld cells decoded (%d whole strips)", round.workerBuildMs,
                    round.cellsDecoded, round.stripsDone);
        if (round.cellsEmpty > 0) std::printf(", %ld cells without a picture", round.cellsEmpty);
    }
    std::printf("\n");
    std::fflush(stdout);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_strip_drops MOVIE [SECONDS [ROUNDS [CELL_SECONDS]]]\n"
                             "(bench/thumbs/run.sh makes the movie)\n");
        return 2;
    }
    const std::wstring movie = argv[1];
    const double seconds = argc > 2 ? std::max(1.0, _wtof(argv[2])) : 20.0;
    const int rounds = argc > 3 ? std::max(1, _wtoi(argv[3])) : 3;
    const int cellSeconds = argc > 4 ? std::max(1, _wtoi(argv[4])) : 1;
    const int64_t cellInterval = cellSeconds * kStripRefTimePerSecond;
    if (::GetFileAttributesW(movie.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "no movie at %ls\n", movie.c_str());
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // The presenter as the player sets it up: the path for this platform, the device made on
    // this thread once the graph runs.
    DXHelper_CL::SetPresentPath(DXHelper_CL::DetectPresentPath());
    SetPresenterFactory(CreateDXHelper);
    SetPresenterSetUpDeferred(true);
    PlayerWindows windows;
    if (!MakeWindows(&windows)) {
        std::fprintf(stderr, "no window\n");
        return 1;
    }

    // The first graphs of a Wine session are slow to build; this round opens both kinds once.
    Round warmUp;
    if (!PlayRound(windows, movie, kWarmUpSeconds, cellInterval, true, &warmUp)) return 1;
    PrintRound("(warm-up)", 0, warmUp);

    std::vector<Round> alone, withWorker;
    for (int index = 1; index <= rounds; ++index) {
        Round without, with;
        if (!PlayRound(windows, movie, seconds, cellInterval, false, &without)) return 1;
        PrintRound("alone", index, without);
        if (!PlayRound(windows, movie, seconds, cellInterval, true, &with)) return 1;
        PrintRound("with worker", index, with);
        alone.push_back(without);
        withWorker.push_back(with);
    }

    auto dropsOf = [](const std::vector<Round>& list) {
        std::vector<long> values;
        for (const Round& round : list) values.push_back(round.dropped);
        return MedianOf(values);
    };
    auto framesOf = [](const std::vector<Round>& list) {
        std::vector<long> values;
        for (const Round& round : list) values.push_back(round.Frames());
        return MedianOf(values);
    };
    auto cpuOf = [](const std::vector<Round>& list) {
        std::vector<double> values;
        for (const Round& round : list) values.push_back(round.cpuMsPerSecond);
        return MedianOf(values);
    };
    std::vector<long> cells;
    for (const Round& round : withWorker) cells.push_back(round.cellsDecoded);
    const long dropsAlone = dropsOf(alone), dropsWith = dropsOf(withWorker);
    const long framesAlone = framesOf(alone), framesWith = framesOf(withWorker);
    const long framesPlayed = std::max(1L, framesAlone);
    const double share = 100.0 * static_cast<double>(dropsWith - dropsAlone) / static_cast<double>(framesPlayed);
    std::printf("dropped frames in %.0f s of 1280x720 H.264 playback, median of %d: alone %ld of %ld, while the "
                "worker fills a strip of %d s cells %ld of %ld (it decoded %ld cells, %.1f a second)\n",
                seconds, rounds, dropsAlone, framesAlone, cellSeconds, dropsWith, framesWith, MedianOf(cells),
                static_cast<double>(MedianOf(cells)) / seconds);
    std::printf("difference: %+ld frames = %+.2f%% of the frames played (aim: <= +1.00%%); process CPU %.0f ms/s "
                "alone, %.0f ms/s with the worker\n",
                dropsWith - dropsAlone, share, cpuOf(alone), cpuOf(withWorker));
    ::DestroyWindow(windows.top);
    ::CoUninitialize();
    for (const Round& round : withWorker) {
        if (round.cellsDecoded == 0 || round.cellsEmpty > 0) {
            std::printf("FAILED: the worker's cells came without pictures; the figure does not measure decoding\n");
            return 1;
        }
    }
    return 0;
}

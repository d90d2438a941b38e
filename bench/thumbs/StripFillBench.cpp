// Strip-fill benchmark: how long the thumbnail worker takes to fill a whole strip of a long
// movie, from the request for its graph (what loading a movie asks of it) to the last cell's
// picture, one cell every 10 s. The movie is made by bench/thumbs/run.sh with ffmpeg (a
// 10-minute 1280 x 720 H.264 movie with a key frame every 2 s), which also times the
// baseline in the same run: "ffmpeg -ss T -i movie -frames:v 1 -s 320x180" once per cell, one
// after another, and hands its median over here to be printed as a ratio.
//   bench_strip_fill MOVIE [BASELINE_MS [ROUNDS [CELL_SECONDS]]]
// CELL_SECONDS (10 by default) changes the interval, to see what cells between key frames cost.
// Each round uses a fresh worker; a first round that is not counted opens the movie once
// (the first graph of a Wine session is slow to build, and the baseline's first run is not
// counted either). Every cell must come with a picture, and the pictures must differ from
// one another (the seeks really moved), or the run fails with exit code 1.

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "bench/thumbs/StripFiller_CL.h"
#include "thumbs/StripRules.h"

namespace {
constexpr int kDefaultCellSeconds = 10;
constexpr int kViewCells = 8;  // a strip along a 1280-pixel window shows about this many cells
constexpr double kRoundTimeoutMs = 300000;

struct Round {
    double totalMs = 0;  // request for the graph to the last cell
    double buildMs = 0;  // ... to the graph's report
    int cells = 0;
    int missing = 0;
    int distinct = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A cheap fingerprint of a cached cell's pixels; 0 when the cell has no picture.
uint64_t PictureFingerprint(ThumbnailThread_CL& worker, int index, int64_t cellInterval) {
    uint64_t fingerprint = 0;
    worker.DrawThumbnail(index, CellTime(index, cellInterval), [&](HBITMAP bitmap) {
        BITMAP info{};
        if (!::GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return;
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = info.bmWidth;
        format.bmiHeader.biHeight = -info.bmHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
        HDC screen = ::GetDC(nullptr);
        const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format,
                                     DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, screen);
        if (rows != info.bmHeight) return;
        fingerprint = 1469598103934665603ull;  // FNV-1a
        for (uint32_t pixel : pixels) fingerprint = (fingerprint ^ (pixel & 0xFFFFFF)) * 1099511628211ull;
    });
    return fingerprint;
}

bool RunRound(const std::wstring& movie, int64_t cellInterval, Round* round) {
    StripFiller_CL filler;
    if (!filler.Start()) {
        std::fprintf(stderr, "the worker or its window did not start\n");
        return false;
    }
    StripFiller_CL::Plan plan;
    plan.interval = cellInterval;
    plan.viewCells = kViewCells;
    filler.Fill(movie, plan);
    const bool done =
        StripFiller_CL::PumpUntil([&] { return filler.FirstStripDone() || filler.Failed(); }, kRoundTimeoutMs);
    if (filler.Failed()) {
        std::fprintf(stderr, "the worker's graph of the movie failed: 0x%08x\n",
                     static_cast<unsigned>(filler.BuildResult()));
        return false;
    }
    if (!done) {
        std::fprintf(stderr, "the strip was not full after %.0f s\n", kRoundTimeoutMs / 1000);
        return false;
    }
    round->totalMs = filler.FirstStripDoneMs() - filler.FillCalledMs();
    round->buildMs = filler.BuiltMs() - filler.FillCalledMs();
    round->cells = filler.CellCount();
    round->missing = filler.FirstStripMissing();
    std::set<uint64_t> fingerprints;
    for (int index = 0; index < round->cells; ++index) {
        const uint64_t fingerprint = PictureFingerprint(filler.Worker(), index, cellInterval);
        if (fingerprint != 0) fingerprints.insert(fingerprint);
    }
    round->distinct = static_cast<int>(fingerprints.size());
    return true;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_strip_fill MOVIE [BASELINE_MS [ROUNDS [CELL_SECONDS]]]\n"
                             "(bench/thumbs/run.sh makes the movie)\n");
        return 2;
    }
    const std::wstring movie = argv[1];
    const double baselineMs = argc > 2 ? std::wcstod(argv[2], nullptr) : 0;
    const int rounds = argc > 3 ? std::max(1, _wtoi(argv[3])) : 3;
    const int cellSeconds = argc > 4 ? std::max(1, _wtoi(argv[4])) : kDefaultCellSeconds;
    const int64_t cellInterval = cellSeconds * kStripRefTimePerSecond;
    if (::GetFileAttributesW(movie.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "no movie at %ls\n", movie.c_str());
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    Round warmUp;
    if (!RunRound(movie, cellInterval, &warmUp)) return 1;
    std::printf("warm-up (not counted): %.0f ms, graph %.0f ms, %d cells\n", warmUp.totalMs, warmUp.buildMs,
                warmUp.cells);
    std::fflush(stdout);

    std::vector<double> totals, builds, decodes;
    bool sound = true;
    for (int index = 0; index < rounds; ++index) {
        Round round;
        if (!RunRound(movie, cellInterval, &round)) return 1;
        std::printf("round %d: %.0f ms (graph %.0f ms, %d cells in %.0f ms), %d without a picture, %d distinct "
                    "pictures\n",
                    index + 1, round.totalMs, round.buildMs, round.cells, round.totalMs - round.buildMs, round.missing,
                    round.distinct);
        std::fflush(stdout);
        totals.push_back(round.totalMs);
        builds.push_back(round.buildMs);
        decodes.push_back(round.totalMs - round.buildMs);
        if (round.missing > 0 || round.distinct < round.cells) sound = false;
    }
    const double total = Median(totals), build = Median(builds), decode = Median(decodes);
    const int cells = warmUp.cells;
    std::printf("strip fill, %d cells (one every %d s), median of %d: %.0f ms (graph %.0f ms, decoding %.0f ms = "
                "%.1f ms per cell)\n",
                cells, cellSeconds, rounds, total, build, decode, cells > 0 ? decode / cells : 0.0);
    if (baselineMs > 0) {
        std::printf("baseline, ffmpeg once per cell: %.0f ms (%.1f ms per cell); ratio %.2fx (aim: <= 1.00)\n",
                    baselineMs, cells > 0 ? baselineMs / cells : 0.0, total / baselineMs);
    }
    if (!sound) {
        std::printf("FAILED: some cells came without a picture or showed the same picture as another\n");
        ::CoUninitialize();
        return 1;
    }
    ::CoUninitialize();
    return 0;
}

#pragma once
// Drives the thumbnail worker the way the strip does, for the strip benchmarks: a hidden
// window of its own is the worker's strip window, a movie is loaded (QueueGraph, as the
// strip's SetContentThumbnail does), and once WM_THUMB_GRAPH_READY reports the graph, every
// cell of a strip is asked for in the order of the strip's prefetch. The window counts the
// WM_THUMB_DECODED answers and notes when the build and the first whole strip were done.
// With keepFilling the cache is dropped and the strip asked for again each time it is full,
// so the worker decodes for as long as the caller pumps messages.
//
// Thread: UI only (one thread pumps the window's messages; the worker posts to it).

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "thumbs/ThumbnailThread_CL.h"

class StripFiller_CL {
public:
    struct Plan {
        int64_t interval = 0;   // reference time between cells
        int viewCells = 8;      // cells on view, from the first: the prefetch starts around them
        bool keepFilling = false;
    };

    StripFiller_CL();
    ~StripFiller_CL();
    StripFiller_CL(const StripFiller_CL&) = delete;
    StripFiller_CL& operator=(const StripFiller_CL&) = delete;

    // Thread: UI. Makes the hidden strip window and starts the worker; false when either fails.
    bool Start();
    // Thread: UI. Asks the worker for a graph of path and fills the strip by plan once it is
    // built. Returns at once; the rest happens while the caller pumps messages.
    void Fill(const std::wstring& path, const Plan& plan);

    // The build's result once reported (E_PENDING until then).
    HRESULT BuildResult() const { return m_buildResult; }
    bool Failed() const { return m_buildResult != E_PENDING && m_buildResult != S_OK; }
    // The movie's length the build found (-1 until then) and the strip's cell count.
    int64_t Length() const { return m_length; }
    int CellCount() const { return m_count; }
    // Times (QueryPerformanceCounter, ms) of Fill, of the build's report and of the last cell
    // of the first whole strip; -1 until they happen.
    double FillCalledMs() const { return m_fillCalledMs; }
    double BuiltMs() const { return m_builtMs; }
    double FirstStripDoneMs() const { return m_firstStripDoneMs; }
    bool FirstStripDone() const { return m_firstStripDoneMs >= 0; }
    // Whole strips finished, cells answered with and without a picture over all strips.
    int StripsDone() const { return m_stripsDone; }
    long CellsWithPicture() const { return m_cellsWithPicture; }
    long CellsWithoutPicture() const { return m_cellsWithoutPicture; }
    // Cells of the first strip that came without a picture.
    int FirstStripMissing() const { return m_firstStripMissing; }

    ThumbnailThread_CL& Worker() { return *m_worker; }

    // Time now in ms on the performance counter.
    static double NowMs();
    // Dispatches this thread's messages until done() holds or timeoutMs have passed; returns
    // done(). done may be empty: then it pumps for the whole time.
    static bool PumpUntil(const std::function<bool()>& done, double timeoutMs);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnGraphReady(uint32_t serial, HRESULT hr);
    void OnDecoded(int index, bool withPicture);
    void RequestStrip();

    HWND m_window = nullptr;
    std::unique_ptr<ThumbnailThread_CL> m_worker;
    Plan m_plan;
    uint32_t m_serial = 0;
    HRESULT m_buildResult = E_PENDING;
    int64_t m_length = -1;
    int m_count = 0;
    std::vector<bool> m_answered;  // this strip's cells answered so far
    int m_answeredCount = 0;
    double m_fillCalledMs = -1, m_builtMs = -1, m_firstStripDoneMs = -1;
    int m_stripsDone = 0;
    long m_cellsWithPicture = 0, m_cellsWithoutPicture = 0;
    int m_firstStripMissing = 0;
};

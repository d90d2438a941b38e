#pragma once
// The thumbnail worker: a thread of the lowest priority with a private filter graph for the
// movie on show, built in thumbnail mode (no clock, our renderer with a frame callback). The
// strip asks for cells while it paints; the worker seeks the paused graph to each cell's time,
// takes the frame the renderer hands to the callback, shrinks it to 320 x 180 and keeps it in
// a bounded cache (ThumbRequestList_CL) until the content changes. Completions are posted:
// WM_THUMB_DECODED and WM_THUMB_GRAPH_READY to the strip window, WM_COMMAND
// IDC_THUMB_STOPPED to its parent.
//
// Threads: the UI thread (requests, stops, the graph's release), the worker (builds and
// decodes) and the graph's streaming thread (the frame callback).
// Two locks, never held together:
// - the queue lock guards m_list and the build's availability record; it is held only for
//   list bookkeeping and the strip's drawing of one cached picture, never for graph calls,
//   so a paint never waits for a build or a seek;
// - the graph lock guards m_graph: held by the worker while it builds or seeks, and by
//   ReleaseFilterGraph. The streaming thread takes neither.
// The bitmap slot passes one frame from the streaming thread to the worker; both sides take
// it by atomic exchange, so each bitmap is deleted by exactly one owner.

#include <windows.h>
#include <dshow.h>
#include <dvdmedia.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/UniqueHandle_CL.h"
#include "media/DShowGraph_CL.h"
#include "thumbs/ThreadBase_CL.h"
#include "thumbs/ThumbRequestList_CL.h"

class CMyRenderer;

class ThumbnailThread_CL : public ThreadBase_CL {
public:
    explicit ThumbnailThread_CL(size_t cacheCapacity = ThumbRequestList_CL::kDefaultCapacity);
    ~ThumbnailThread_CL() override;

    // Thread: UI. The window the worker reports to; its parent (taken now: the strip may be
    // gone when a stop is answered) gets the stops.
    void SetStripWindow(HWND strip) {
        m_stopTarget.store(strip ? ::GetParent(strip) : nullptr);
        m_strip.store(strip);
    }
    HWND StripWindow() const { return m_strip.load(); }

    // Thread: UI. Asks for a graph of path and returns the request's serial at once. Several
    // quick requests build once, for the latest path. With async the strip window is posted
    // WM_THUMB_GRAPH_READY(serial, hr) when the build ends; otherwise the caller waits with
    // WaitPrepareGraphBuildDone and reads LastBuild.
    uint32_t QueueGraph(const std::wstring& path, bool async);
    // Thread: UI. Waits, dispatching this thread's messages, until the latest requested build
    // has finished: S_OK, or E_FAIL after 30 s or when the worker does not run. Keys, the
    // mouse in the client areas and dropped files stay queued for the caller's message loop.
    HRESULT WaitPrepareGraphBuildDone();
    // Thread: any. The serial and result of the last finished build.
    void LastBuild(uint32_t* serial, HRESULT* hr);
    // Thread: any. The seekable range the build of serial found (GetAvailable on its graph, read
    // by the worker right after the build): that call's HRESULT, or E_UNEXPECTED when serial
    // is not the last finished build.
    HRESULT BuildAvailability(uint32_t serial, LONGLONG* earliest, LONGLONG* latest);
    ThumbGraphState State();

    // Thread: UI. Asks for a cell's picture: true when it is in the cache; otherwise the cell
    // is queued (newest first) unless the graph is not ready, a stop is under way or the cell
    // is being decoded, and WM_THUMB_DECODED follows.
    bool RequestThumbnail(int index, int64_t time);
    // Thread: UI. The same, and when the picture is cached, draw(bitmap) runs while the cache
    // is locked: the bitmap must not be kept. Returns whether draw ran.
    bool DrawThumbnail(int index, int64_t time, const std::function<void(HBITMAP)>& draw);
    // Thread: UI. The cells on view, for the cache's choice of what to let go.
    void SetVisibleRange(int first, int last);

    // Thread: any. While a movie plays the worker rests after each cell twice as long as the
    // cell took (up to a second), so that it takes a third of a core at most from playback;
    // a stop, a new graph or the end of playback ends the rest.
    void SetPlaybackRunning(bool running);

    // Thread: UI. Stops accepting and drops the cache. IDC_THUMB_STOPPED with code follows,
    // posted at once or after the decode in flight.
    void StopThumbnails(int code);
    // Thread: any. Drops the cache; from the UI thread also waits (up to 5 s) for a decode
    // in flight to end.
    void FlushThumbnails();
    // Thread: any. Takes the graph down (waiting for a build or seek in progress) and drops
    // the cache and the frame that may be waiting in the slot; the graph state becomes Idle.
    void ReleaseFilterGraph();

    // Thread: any. Bitmaps alive now: the cache's and the slot's. 0 after a stop.
    long LiveBitmapCount() const { return m_liveBitmaps.load(); }
    size_t CacheCapacity();

protected:
    int OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnThreadEnd() override;

private:
    struct Availability {
        uint32_t serial = 0;
        HRESULT hr = E_UNEXPECTED;
        LONGLONG earliest = 0, latest = 0;
    };

    // Thread: UI. The wait's pump.
    static void DispatchAllButInput();
    // Thread: worker.
    void PrepareGraph();
    HRESULT CreateFilterGraph(const std::wstring& path, Availability* found);
    void DecodeNextThumbnail();
    // Thread: streaming. Makes the 320 x 180 picture of a frame and puts it into the slot.
    static void ThumbnailFrameCallback(void* context, const BYTE* data, const VIDEOINFOHEADER2& header);
    HBITMAP MakeThumbnailBitmap(const BYTE* data, const VIDEOINFOHEADER2& header);

    void FreeBitmap(HBITMAP bitmap);
    void FreeBitmaps(const std::vector<HBITMAP>& bitmaps);
    void DropSlot();
    void PostStopped(int code);
    void LogLiveBitmaps(const wchar_t* when);

    KernelHandle_CL m_queueLock;       // Win32 mutex (re-entrant for its owner)
    KernelHandle_CL m_graphLock;       // Win32 mutex
    KernelHandle_CL m_frameEvent;      // auto-reset: a frame reached the slot, or wake a decode
    KernelHandle_CL m_buildDoneEvent;  // auto-reset: a build ended
    KernelHandle_CL m_restEndEvent;    // auto-reset: the worker's rest between cells ends
    ThumbRequestList_CL m_list;        // under m_queueLock
    Availability m_availability;       // under m_queueLock
    DShowGraph_CL m_graph;             // under m_graphLock
    std::atomic<CMyRenderer*> m_frameRenderer{nullptr};  // the renderer that calls back
    std::atomic<HBITMAP> m_slot{nullptr};
    std::atomic<long> m_liveBitmaps{0};
    std::atomic<HWND> m_strip{nullptr};
    std::atomic<HWND> m_stopTarget{nullptr};
    std::atomic<bool> m_playbackRunning{false};
    bool m_prioritySet = false;        // worker only
    std::vector<uint8_t> m_shrinkBuffers[2];  // streaming thread only: the frame made smaller
};

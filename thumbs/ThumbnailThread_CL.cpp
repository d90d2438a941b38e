#include "thumbs/ThumbnailThread_CL.h"

#include <algorithm>
#include <cstdlib>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/MutexLock_CL.h"
#include "media/CMyRenderer.h"
#include "thumbs/FrameHalving.h"
#include "thumbs/ThumbIds.h"

namespace {
constexpr DWORD kFirstFrameWaitMs = 1000;
constexpr DWORD kFrameWaitMs = 5000;
constexpr DWORD kBuildWaitLimitMs = 30000;
constexpr DWORD kBuildWaitSliceMs = 50;
constexpr int kFlushWaitRounds = 50;
constexpr DWORD kFlushWaitRoundMs = 100;
constexpr size_t kPathHeadUnits = 100;
constexpr DWORD kRestPerCellFactor = 2;  // rest twice what a cell took: a third of a core at most
constexpr DWORD kMaxRestMs = 1000;

bool ThumbLog() { return ProcessLogSwitches().log_detail_other; }
unsigned ThreadIdNow() { return static_cast<unsigned>(::GetCurrentThreadId()); }
}  // namespace

ThumbnailThread_CL::ThumbnailThread_CL(size_t cacheCapacity)
    : ThreadBase_CL(L"ThumbnailThread", true),
      m_queueLock(::CreateMutexW(nullptr, FALSE, nullptr)),
      m_graphLock(::CreateMutexW(nullptr, FALSE, nullptr)),
      m_frameEvent(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_buildDoneEvent(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_restEndEvent(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_list(cacheCapacity) {}

ThumbnailThread_CL::~ThumbnailThread_CL() {
    ::SetEvent(m_restEndEvent.Get());
    Stop();  // the worker lets its graph and cache go on its own thread (OnThreadEnd)
    // Never started: whatever is left goes here.
    std::vector<HBITMAP> release;
    {
        MutexLock_CL lock(m_queueLock.Get());
        m_list.ResetForBuild(&release);
    }
    FreeBitmaps(release);
    m_graph.ReleaseFilterGraph();
    DropSlot();
}

// ---- the loop ----

int ThumbnailThread_CL::OnThreadMessage(UINT message, WPARAM, LPARAM) {
    if (!m_prioritySet) {
        // Decoding must never take time from playback.
        ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_LOWEST);
        m_prioritySet = true;
    }
    switch (message) {
        case TM_DECODE_NEXT: DecodeNextThumbnail(); break;
        case TM_PREPARE_GRAPH: PrepareGraph(); break;
        default: break;
    }
    return 0;
}

void ThumbnailThread_CL::OnThreadEnd() {
    std::vector<HBITMAP> release;
    {
        MutexLock_CL lock(m_queueLock.Get());
        m_list.ResetForBuild(&release);
        m_list.ExchangeState(ThumbGraphState::Idle);
    }
    FreeBitmaps(release);
    // The graph was made in this thread's apartment: it goes before COM ends here.
    {
        MutexLock_CL lock(m_graphLock.Get());
        m_graph.ReleaseFilterGraph();
        m_frameRenderer = nullptr;
    }
    DropSlot();
}

// ---- graph builds ----

uint32_t ThumbnailThread_CL::QueueGraph(const std::wstring& path, bool async) {
    ::ResetEvent(m_buildDoneEvent.Get());
    ::SetEvent(m_restEndEvent.Get());
    uint32_t serial = 0;
    {
        MutexLock_CL lock(m_queueLock.Get());
        serial = m_list.QueueBuild(path, async);
    }
    Post(TM_PREPARE_GRAPH);
    return serial;
}

HRESULT ThumbnailThread_CL::WaitPrepareGraphBuildDone() {
    if (!m_buildDoneEvent.IsValid() || !Running()) return E_FAIL;
    const DWORD start = ::GetTickCount();
    for (;;) {
        {
            // The event may belong to an older build that ended late: what counts is the latest.
            MutexLock_CL lock(m_queueLock.Get());
            if (m_list.LatestBuildDone()) return S_OK;
        }
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed > kBuildWaitLimitMs - 1) {
            if (ThumbLog()) LogPrintf(L"ThumbnailThread::WaitPrepareGraphBuildDone: timeout dwMs=%u", kBuildWaitLimitMs);
            return E_FAIL;
        }
        const DWORD slice = std::min<DWORD>(kBuildWaitLimitMs - elapsed, kBuildWaitSliceMs);
        HANDLE event = m_buildDoneEvent.Get();
        const DWORD result = ::MsgWaitForMultipleObjects(1, &event, FALSE, slice, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0 || result == WAIT_TIMEOUT) continue;
        if (result == WAIT_OBJECT_0 + 1) {
            DispatchAllButInput();
            continue;
        }
        if (ThumbLog()) LogPrintf(L"ThumbnailThread::WaitPrepareGraphBuildDone: wait=%u", static_cast<unsigned>(result));
        return E_FAIL;
    }
}

void ThumbnailThread_CL::DispatchAllButInput() {
    // Keys, the mouse in the client areas and dropped files stay queued for the player's own
    // message loop, which acts on them (keys, activity, the window's drag); dispatched from
    // here they would only reach the windows' default handling and be lost. Everything else
    // (paints, timers, the graph's events, sent messages) goes now.
    struct Range {
        UINT first, last;
    };
    constexpr UINT kLastClientMouseMessage = 0x020E;  // WM_MOUSEHWHEEL, whatever the headers' target
    static const Range kRanges[] = {{0, WM_KEYFIRST - 1},
                                    {WM_KEYLAST + 1, WM_MOUSEFIRST - 1},
                                    {kLastClientMouseMessage + 1, WM_DROPFILES - 1},
                                    {WM_DROPFILES + 1, 0xFFFFFFFF}};
    MSG message{};
    for (const Range& range : kRanges) {
        while (::PeekMessageW(&message, nullptr, range.first, range.last, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

void ThumbnailThread_CL::LastBuild(uint32_t* serial, HRESULT* hr) {
    MutexLock_CL lock(m_queueLock.Get());
    if (serial) *serial = m_list.LastBuildSerial();
    if (hr) *hr = m_list.LastBuildResult();
}

HRESULT ThumbnailThread_CL::BuildAvailability(uint32_t serial, LONGLONG* earliest, LONGLONG* latest) {
    MutexLock_CL lock(m_queueLock.Get());
    if (serial == 0 || serial != m_availability.serial) return E_UNEXPECTED;
    if (earliest) *earliest = m_availability.earliest;
    if (latest) *latest = m_availability.latest;
    return m_availability.hr;
}

ThumbGraphState ThumbnailThread_CL::State() {
    MutexLock_CL lock(m_queueLock.Get());
    return m_list.State();
}

size_t ThumbnailThread_CL::CacheCapacity() {
    MutexLock_CL lock(m_queueLock.Get());
    return m_list.Capacity();
}

void ThumbnailThread_CL::PrepareGraph() {
    ThumbRequestList_CL::Build build;
    ThumbGraphState previous = ThumbGraphState::Idle;
    std::vector<HBITMAP> release;
    {
        MutexLock_CL lock(m_queueLock.Get());
        if (!m_list.TakeBuild(&build)) return;  // a later request was built already
        previous = m_list.ExchangeState(ThumbGraphState::Preparing);
        m_list.ResetForBuild(&release);
        m_availability = Availability();
    }
    if (ThumbLog()) {
        LogPrintf(L"ThumbnailThread::PrepareGraph(worker) serial=%u tid=%u state %d->Preparing decodeQ flush",
                  build.serial, ThreadIdNow(), static_cast<int>(previous));
    }
    FreeBitmaps(release);
    DropSlot();

    ReleaseFilterGraph();
    Availability availability;
    const HRESULT hr = CreateFilterGraph(build.path, &availability);

    {
        MutexLock_CL lock(m_queueLock.Get());
        availability.serial = hr == S_OK ? build.serial : 0;
        m_availability = availability;
        m_list.SetBuildResult(build.serial, hr);
        // Ready before the build counts as done: a caller woken by it may prefetch at once.
        m_list.ExchangeState(hr == S_OK ? ThumbGraphState::Ready : ThumbGraphState::Idle);
    }
    ::SetEvent(m_buildDoneEvent.Get());
    if (ThumbLog()) {
        LogPrintf(hr == S_OK ? L"ThumbnailThread::PrepareGraph(worker done) serial=%u Ready hr=0x%08x"
                             : L"ThumbnailThread::PrepareGraph(worker done) serial=%u Idle hr=0x%08x",
                  build.serial, static_cast<unsigned>(hr));
    }
    HWND strip = m_strip.load();
    if (strip && build.async) {
        ::PostMessageW(strip, WM_THUMB_GRAPH_READY, build.serial, static_cast<LPARAM>(hr));
    }
}

HRESULT ThumbnailThread_CL::CreateFilterGraph(const std::wstring& path, Availability* found) {
    const DWORD start = ::GetTickCount();
    if (ThumbLog()) {
        LogPrintf(L"ThumbnailThread::CreateFilterGraph(START): tid=%u pathLen=%u pathHead=\"%ls\"", ThreadIdNow(),
                  static_cast<unsigned>(path.size()), path.substr(0, kPathHeadUnits).c_str());
    }
    HRESULT hr = S_OK;
    Availability availability;
    {
        MutexLock_CL lock(m_graphLock.Get());
        hr = m_graph.CreateFilterGraphWithRetry(path, true, L"ThumbnailThread_CL::CreateFilterGraph");
        CMyRenderer* renderer = SUCCEEDED(hr) ? m_graph.Renderer() : nullptr;
        if (SUCCEEDED(hr) && (!renderer || !m_graph.MediaControl())) hr = E_NOINTERFACE;
        if (SUCCEEDED(hr)) {
            // The callback goes in before the graph first runs: the renderer reads it on the
            // streaming thread, and the first frame then tells that the graph is paused.
            m_frameRenderer = renderer;
            renderer->SetFrameCallback(this, &ThumbnailThread_CL::ThumbnailFrameCallback);
            availability.hr = m_graph.GetAvailable(&availability.earliest, &availability.latest);
            ::ResetEvent(m_frameEvent.Get());
            m_graph.MediaControl()->Run();
            m_graph.MediaControl()->Pause();
        } else {
            // A half-built graph would keep the file open until the next build.
            m_graph.ReleaseFilterGraph();
            m_frameRenderer = nullptr;
        }
    }
    if (SUCCEEDED(hr)) {
        ::WaitForSingleObject(m_frameEvent.Get(), kFirstFrameWaitMs);
        DropSlot();  // the opening frame is nobody's cell
    }
    *found = availability;
    if (ThumbLog()) {
        LogPrintf(L"ThumbnailThread::CreateFilterGraph(END): tid=%u hr=0x%08x elapsedMs=%u", ThreadIdNow(),
                  static_cast<unsigned>(hr), static_cast<unsigned>(::GetTickCount() - start));
    }
    return hr;
}

void ThumbnailThread_CL::ReleaseFilterGraph() {
    const DWORD start = ::GetTickCount();
    if (ThumbLog()) LogPrintf(L"ThumbnailThread::ReleaseFilterGraph(START): tid=%u", ThreadIdNow());
    {
        // Waits for a build or seek of the worker: the graph is never used by two threads.
        MutexLock_CL lock(m_graphLock.Get());
        m_graph.ReleaseFilterGraph();
        m_frameRenderer = nullptr;
    }
    std::vector<HBITMAP> release;
    {
        MutexLock_CL lock(m_queueLock.Get());
        // Without a graph no request can be served and the pictures are of a movie that is
        // gone; a build in progress keeps its state and its (empty) list.
        if (m_list.State() == ThumbGraphState::Ready) {
            m_list.ExchangeState(ThumbGraphState::Idle);
            m_list.BeginFlush(&release);
            m_list.EndFlush();
        }
    }
    FreeBitmaps(release);
    DropSlot();
    ::SetEvent(m_frameEvent.Get());  // a decode waiting for a frame from this graph gives up now
    if (ThumbLog()) {
        LogPrintf(L"ThumbnailThread::ReleaseFilterGraph(END): tid=%u elapsedMs=%u", ThreadIdNow(),
                  static_cast<unsigned>(::GetTickCount() - start));
    }
    LogLiveBitmaps(L"release");
}

// ---- requests ----

bool ThumbnailThread_CL::RequestThumbnail(int index, int64_t time) {
    return DrawThumbnail(index, time, nullptr);
}

bool ThumbnailThread_CL::DrawThumbnail(int index, int64_t time, const std::function<void(HBITMAP)>& draw) {
    MutexLock_CL lock(m_queueLock.Get());
    ThumbRequestList_CL::RequestAnswer answer = m_list.Request(index, time);
    if (answer.wakeWorker) Post(TM_DECODE_NEXT);
    if (answer.answer != ThumbRequestList_CL::Answer::Cached) return false;
    // Under the lock: neither a flush nor an eviction can delete the bitmap while it is drawn.
    if (draw) draw(answer.bitmap);
    return true;
}

void ThumbnailThread_CL::SetVisibleRange(int first, int last) {
    MutexLock_CL lock(m_queueLock.Get());
    m_list.SetView(first, last);
}

// ---- decoding ----

void ThumbnailThread_CL::DecodeNextThumbnail() {
    std::vector<HBITMAP> release;
    ThumbRequest entry;
    int stopCode = -1;
    ThumbRequestList_CL::Next next;
    {
        MutexLock_CL lock(m_queueLock.Get());
        next = m_list.TakeNext(&entry, &stopCode, &release);
    }
    FreeBitmaps(release);
    release.clear();
    if (next == ThumbRequestList_CL::Next::Stopped) {
        DropSlot();
        PostStopped(stopCode);
        return;
    }
    if (next != ThumbRequestList_CL::Next::Decode) return;

    const DWORD started = ::GetTickCount();
    HRESULT seek = E_NOINTERFACE;
    {
        MutexLock_CL lock(m_graphLock.Get());
        if (m_graph.MediaSeeking()) {
            ::ResetEvent(m_frameEvent.Get());
            DropSlot();  // a late frame of an earlier seek is not this cell's
            // Under Wine a graph with sound hangs in its release once it was seeked paused:
            // Seek goes through a stopped graph there, and the pause after it brings the frame.
            seek = m_graph.Seek(entry.time);
        }
    }
    const DWORD waited = SUCCEEDED(seek) ? ::WaitForSingleObject(m_frameEvent.Get(), kFrameWaitMs) : WAIT_FAILED;
    entry.bitmap = m_slot.exchange(nullptr);
    if (ThumbLog()) {
        LogPrintf(L"ThumbnailThread::Decode index=%d time=%lld seek=0x%08x wait=%u picture=%d", entry.index,
                  static_cast<long long>(entry.time), static_cast<unsigned>(seek), static_cast<unsigned>(waited),
                  entry.bitmap ? 1 : 0);
    }

    {
        MutexLock_CL lock(m_queueLock.Get());
        const bool stored = m_list.Finish(entry, &release);
        HWND strip = m_strip.load();
        if (strip) ::PostMessageW(strip, WM_THUMB_DECODED, static_cast<WPARAM>(entry.index), stored ? 1 : 0);
    }
    FreeBitmaps(release);
    // Nothing is in flight while the worker rests: a stop is answered at once.
    if (m_playbackRunning.load()) {
        const DWORD took = ::GetTickCount() - started;
        ::WaitForSingleObject(m_restEndEvent.Get(), std::min(took * kRestPerCellFactor, kMaxRestMs));
    }
    // One decode per message, so that a graph request can run between two decodes.
    Post(TM_DECODE_NEXT);
}

void ThumbnailThread_CL::SetPlaybackRunning(bool running) {
    if (m_playbackRunning.exchange(running) && !running) ::SetEvent(m_restEndEvent.Get());
}

void ThumbnailThread_CL::ThumbnailFrameCallback(void* context, const BYTE* data, const VIDEOINFOHEADER2& header) {
    auto* self = static_cast<ThumbnailThread_CL*>(context);
    HBITMAP bitmap = self->MakeThumbnailBitmap(data, header);
    if (bitmap) {
        HBITMAP earlier = self->m_slot.exchange(bitmap);
        if (earlier) self->FreeBitmap(earlier);
    }
    // Also without a picture: the decode waiting for this frame need not wait out its time.
    ::SetEvent(self->m_frameEvent.Get());
}

HBITMAP ThumbnailThread_CL::MakeThumbnailBitmap(const BYTE* data, const VIDEOINFOHEADER2& header) {
    CMyRenderer* renderer = m_frameRenderer.load();
    if (!renderer || !data) return nullptr;
    // Averaged down while it still covers the thumbnail: the conversion then has a quarter
    // or less of the pixels, and the stretch below less to do.
    const PackedFrame whole{data, header.bmiHeader.biWidth, std::abs(header.bmiHeader.biHeight)};
    const PackedFrame small = ShrinkTowards(whole, renderer->IsRgb32(), ThumbRequestList_CL::kDecodeWidth,
                                            ThumbRequestList_CL::kDecodeHeight, &m_shrinkBuffers[0], &m_shrinkBuffers[1]);
    const int width = small.width;
    const int height = small.height;
    GdiObject_CL frame(renderer->CreateFrameBitmap(small.data, width, height, true));
    if (!frame.IsValid()) return nullptr;
    WindowDC_CL screen(nullptr);
    MemoryDC_CL source(::CreateCompatibleDC(screen.Get()));
    MemoryDC_CL target(::CreateCompatibleDC(screen.Get()));
    if (!source.IsValid() || !target.IsValid()) return nullptr;
    HBITMAP thumbnail = ::CreateCompatibleBitmap(screen.Get(), ThumbRequestList_CL::kDecodeWidth,
                                                 ThumbRequestList_CL::kDecodeHeight);
    if (!thumbnail) return nullptr;
    HGDIOBJ oldSource = ::SelectObject(source.Get(), frame.Get());
    HGDIOBJ oldTarget = ::SelectObject(target.Get(), thumbnail);
    const int oldMode = ::SetStretchBltMode(target.Get(), HALFTONE);
    ::SetBrushOrgEx(target.Get(), 0, 0, nullptr);
    // Stretched to 320 x 180 whatever the movie's shape: the strip stretches it into its cell.
    ::StretchBlt(target.Get(), 0, 0, ThumbRequestList_CL::kDecodeWidth, ThumbRequestList_CL::kDecodeHeight,
                 source.Get(), 0, 0, width, height, SRCCOPY);
    ::SetStretchBltMode(target.Get(), oldMode);
    ::SelectObject(target.Get(), oldTarget);
    ::SelectObject(source.Get(), oldSource);
    ++m_liveBitmaps;
    return thumbnail;
}

// ---- stops ----

void ThumbnailThread_CL::StopThumbnails(int code) {
    ::SetEvent(m_restEndEvent.Get());
    std::vector<HBITMAP> release;
    bool now = false;
    {
        MutexLock_CL lock(m_queueLock.Get());
        now = m_list.Stop(code, &release);
    }
    FreeBitmaps(release);
    if (!now) return;  // the worker answers after the decode in flight
    DropSlot();
    PostStopped(code);
}

void ThumbnailThread_CL::FlushThumbnails() {
    std::vector<HBITMAP> release;
    bool decoding = false;
    {
        MutexLock_CL lock(m_queueLock.Get());
        m_list.BeginFlush(&release);
        decoding = m_list.Decoding();
    }
    FreeBitmaps(release);
    // The worker itself never has a decode in flight while it flushes.
    for (int round = 0; decoding && !OnThread() && round < kFlushWaitRounds; ++round) {
        ::SetEvent(m_frameEvent.Get());
        ::Sleep(kFlushWaitRoundMs);
        MutexLock_CL lock(m_queueLock.Get());
        decoding = m_list.Decoding();
    }
    MutexLock_CL lock(m_queueLock.Get());
    m_list.EndFlush();
}

void ThumbnailThread_CL::PostStopped(int code) {
    LogLiveBitmaps(L"stop");
    HWND parent = m_stopTarget.load();
    if (parent) ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(IDC_THUMB_STOPPED, 0), static_cast<LPARAM>(code));
}

// ---- bitmaps ----

void ThumbnailThread_CL::FreeBitmap(HBITMAP bitmap) {
    if (!bitmap) return;
    ::DeleteObject(bitmap);
    --m_liveBitmaps;
}

void ThumbnailThread_CL::FreeBitmaps(const std::vector<HBITMAP>& bitmaps) {
    for (HBITMAP bitmap : bitmaps) FreeBitmap(bitmap);
}

void ThumbnailThread_CL::DropSlot() { FreeBitmap(m_slot.exchange(nullptr)); }

void ThumbnailThread_CL::LogLiveBitmaps(const wchar_t* when) {
    if (ThumbLog()) LogPrintf(L"ThumbnailThread::LiveBitmaps(%ls) count=%ld", when, m_liveBitmaps.load());
}

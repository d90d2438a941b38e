#pragma once
// The thumbnail worker's bookkeeping: one list that is both the queue of cells waiting to be
// decoded (at the front, the newest first) and the cache of decoded pictures (at the back),
// the flags of the decode in flight and of a stop, the graph's state and the serials of the
// graph builds. Pure: it never creates, draws or deletes a bitmap; every bitmap it lets go is
// handed back in a release list for its owner to delete, so each one has exactly one owner.
//
// The cache holds at most Capacity() pictures (256 MB of 320 x 180 32-bit bitmaps by
// default). Past that, the picture of the cell farthest from the cells on view goes; a cell
// that lost its picture is decoded again when it is asked for.
//
// Thread: any, one at a time: ThumbnailThread_CL calls it only under its queue lock.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

enum class ThumbGraphState : int32_t { Idle = 0, Preparing = 1, Ready = 2 };

struct ThumbRequest {
    int32_t index = 0;
    int64_t time = 0;          // reference time of the cell
    HBITMAP bitmap = nullptr;  // none while waiting, or when no frame came
    bool pending = true;       // waiting to be decoded (false once a decode finished)
};

class ThumbRequestList_CL {
public:
    static constexpr int kDecodeWidth = 320;
    static constexpr int kDecodeHeight = 180;
    static constexpr size_t kBitmapBytes = size_t{kDecodeWidth} * kDecodeHeight * 4;
    static constexpr size_t kCacheBytes = size_t{256} * 1024 * 1024;
    static constexpr size_t kDefaultCapacity = kCacheBytes / kBitmapBytes;
    static_assert(kDefaultCapacity == 1165, "256 MB of 320 x 180 x 4 bytes");

    explicit ThumbRequestList_CL(size_t capacity = kDefaultCapacity);

    // ---- graph builds ----
    struct Build {
        uint32_t serial = 0;
        std::wstring path;
        bool async = true;  // the strip learns the result from a posted message
    };
    // A new build request: the serial goes up by one and the path replaces any earlier one.
    uint32_t QueueBuild(const std::wstring& path, bool async);
    // The latest request, unless it was taken already (quick requests collapse into one).
    bool TakeBuild(Build* build);
    void SetBuildResult(uint32_t serial, HRESULT hr);
    uint32_t RequestedSerial() const { return m_requestedSerial; }
    uint32_t HandledSerial() const { return m_handledSerial; }
    uint32_t LastBuildSerial() const { return m_lastBuildSerial; }
    HRESULT LastBuildResult() const { return m_lastBuildResult; }
    // True once the build of the latest request has finished.
    bool LatestBuildDone() const { return m_lastBuildSerial == m_requestedSerial; }

    ThumbGraphState State() const { return m_state; }
    ThumbGraphState ExchangeState(ThumbGraphState state);

    // Before a build: every entry and flag goes; the bitmaps go to *release.
    void ResetForBuild(std::vector<HBITMAP>* release);

    // ---- requests (the strip's paint and prefetch) ----
    enum class Answer {
        Refused,   // the graph is not ready, or a stop is under way: nothing queued
        Decoding,  // the cell is being decoded now: not queued twice
        Cached,    // its picture is in the cache
        Queued,    // now waiting at the front
    };
    struct RequestAnswer {
        Answer answer = Answer::Refused;
        HBITMAP bitmap = nullptr;  // with Cached; stays owned by the list
        bool wakeWorker = false;   // the worker was idle: post it one decode step
    };
    RequestAnswer Request(int index, int64_t time);

    // The cells on view, first ... last (inclusive): the cache keeps those nearest to them.
    void SetView(int first, int last);

    // ---- decoding (the worker) ----
    enum class Next {
        Decode,   // *entry was taken out of the list: decode it and Finish it
        Idle,     // nothing waits (or the graph is not ready): the worker rests
        Stopped,  // a stop was waiting for the decode in flight: post *stopCode now
    };
    Next TakeNext(ThumbRequest* entry, int* stopCode, std::vector<HBITMAP>* release);
    // Puts a decoded entry back at the end of the cache, or drops it when a stop or flush
    // came meanwhile. Returns true when its picture is in the cache afterwards.
    bool Finish(const ThumbRequest& entry, std::vector<HBITMAP>* release);

    // ---- stops and flushes ----
    // Stops accepting and drops everything. True: nothing was in flight, the caller posts the
    // stop code now. False: a decode is in flight; TakeNext answers Stopped after it.
    bool Stop(int code, std::vector<HBITMAP>* release);
    // A flush: refuses requests and drops everything until EndFlush.
    void BeginFlush(std::vector<HBITMAP>* release);
    void EndFlush();

    // ---- reading ----
    bool Decoding() const { return m_decodingIndex >= 0; }
    int DecodingIndex() const { return m_decodingIndex; }
    bool WorkerRunning() const { return m_workerRunning; }
    bool Cancelled() const { return m_cancel; }
    bool Accepting() const { return m_accepting; }
    int StopCode() const { return m_stopCode; }
    size_t Capacity() const { return m_capacity; }
    size_t BitmapCount() const { return m_bitmapCount; }
    size_t PendingCount() const;
    const std::list<ThumbRequest>& Entries() const { return m_entries; }

    // Which cells a prefetch asks for, in the order it asks: at most capacity cells of
    // 0 ... count - 1, a window around the view, odd offsets from the top down, then even
    // ones from the top down. As each request goes to the front, the worker decodes the
    // window's first cell, the third, ... and then fills in the others.
    static std::vector<int> PrefetchOrder(int count, int viewFirst, int viewLast, size_t capacity);

private:
    void DropAll(std::vector<HBITMAP>* release);
    void EvictOverCapacity(std::vector<HBITMAP>* release);
    int64_t DistanceFromView(int index) const;

    std::list<ThumbRequest> m_entries;
    size_t m_capacity;
    size_t m_bitmapCount = 0;
    bool m_workerRunning = false;  // a TM_DECODE_NEXT is outstanding
    bool m_cancel = false;         // refuse requests; drop the decode in flight
    bool m_stopPending = false;    // the worker posts the stop code after the decode in flight
    bool m_accepting = false;      // decoded pictures enter the cache
    int m_decodingIndex = -1;
    int m_stopCode = -1;
    int m_viewFirst = 0, m_viewLast = 0;
    ThumbGraphState m_state = ThumbGraphState::Idle;
    uint32_t m_requestedSerial = 0;
    uint32_t m_handledSerial = 0;
    std::wstring m_requestedPath;
    bool m_requestedAsync = true;
    uint32_t m_lastBuildSerial = 0;
    HRESULT m_lastBuildResult = E_FAIL;
};

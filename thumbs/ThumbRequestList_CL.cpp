#include "thumbs/ThumbRequestList_CL.h"

#include <algorithm>

ThumbRequestList_CL::ThumbRequestList_CL(size_t capacity) : m_capacity(capacity) {}

uint32_t ThumbRequestList_CL::QueueBuild(const std::wstring& path, bool async) {
    m_requestedPath = path;
    m_requestedAsync = async;
    return ++m_requestedSerial;
}

bool ThumbRequestList_CL::TakeBuild(Build* build) {
    if (m_requestedSerial == m_handledSerial) return false;
    m_handledSerial = m_requestedSerial;
    build->serial = m_handledSerial;
    build->path = m_requestedPath;
    build->async = m_requestedAsync;
    return true;
}

void ThumbRequestList_CL::SetBuildResult(uint32_t serial, HRESULT hr) {
    m_lastBuildSerial = serial;
    m_lastBuildResult = hr;
}

ThumbGraphState ThumbRequestList_CL::ExchangeState(ThumbGraphState state) {
    ThumbGraphState previous = m_state;
    m_state = state;
    return previous;
}

void ThumbRequestList_CL::DropAll(std::vector<HBITMAP>* release) {
    for (ThumbRequest& entry : m_entries) {
        if (entry.bitmap) release->push_back(entry.bitmap);
    }
    m_entries.clear();
    m_bitmapCount = 0;
}

void ThumbRequestList_CL::ResetForBuild(std::vector<HBITMAP>* release) {
    DropAll(release);
    m_workerRunning = false;
    m_decodingIndex = -1;
    m_cancel = false;
    m_accepting = false;
    // A stop that waits for its decode step stays: that step is still in the worker's queue.
}

ThumbRequestList_CL::RequestAnswer ThumbRequestList_CL::Request(int index, int64_t time) {
    RequestAnswer answer;
    if (m_state != ThumbGraphState::Ready || m_cancel || index < 0) return answer;
    m_accepting = true;
    if (index == m_decodingIndex) {
        answer.answer = Answer::Decoding;
        return answer;
    }
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->index != index) continue;
        if (it->bitmap) {
            answer.answer = Answer::Cached;
            answer.bitmap = it->bitmap;
            return answer;
        }
        m_entries.erase(it);  // waiting, or decoded without a picture: asked for again
        break;
    }
    ThumbRequest request;
    request.index = index;
    request.time = time;
    m_entries.push_front(request);
    answer.answer = Answer::Queued;
    if (!m_workerRunning) {
        m_workerRunning = true;
        answer.wakeWorker = true;
    }
    return answer;
}

void ThumbRequestList_CL::SetView(int first, int last) {
    m_viewFirst = std::min(first, last);
    m_viewLast = std::max(first, last);
}

ThumbRequestList_CL::Next ThumbRequestList_CL::TakeNext(ThumbRequest* entry, int* stopCode,
                                                        std::vector<HBITMAP>* release) {
    if (m_stopPending) {
        DropAll(release);
        m_stopPending = false;
        m_cancel = false;
        m_decodingIndex = -1;
        m_workerRunning = false;
        *stopCode = m_stopCode;
        return Next::Stopped;
    }
    if (m_state != ThumbGraphState::Ready) {
        DropAll(release);
        m_decodingIndex = -1;
        m_workerRunning = false;
        return Next::Idle;
    }
    if (m_entries.empty() || !m_entries.front().pending || m_cancel) {
        m_decodingIndex = -1;
        m_workerRunning = false;
        return Next::Idle;
    }
    *entry = m_entries.front();
    m_entries.pop_front();
    m_decodingIndex = entry->index;
    return Next::Decode;
}

bool ThumbRequestList_CL::Finish(const ThumbRequest& entry, std::vector<HBITMAP>* release) {
    // The cell is no longer in flight: a paint that asks for it now finds its picture.
    m_decodingIndex = -1;
    if (m_cancel || !m_accepting) {
        if (entry.bitmap) release->push_back(entry.bitmap);
        return false;
    }
    ThumbRequest done = entry;
    done.pending = false;
    m_entries.push_back(done);
    if (!done.bitmap) return false;
    ++m_bitmapCount;
    EvictOverCapacity(release);
    const auto& last = m_entries.back();
    return last.index == done.index && last.bitmap == done.bitmap;
}

int64_t ThumbRequestList_CL::DistanceFromView(int index) const {
    if (index < m_viewFirst) return int64_t{m_viewFirst} - index;
    if (index > m_viewLast) return int64_t{index} - m_viewLast;
    return 0;
}

void ThumbRequestList_CL::EvictOverCapacity(std::vector<HBITMAP>* release) {
    while (m_bitmapCount > m_capacity) {
        auto farthest = m_entries.end();
        int64_t farthestDistance = -1;
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (!it->bitmap) continue;
            int64_t distance = DistanceFromView(it->index);
            if (distance > farthestDistance) {
                farthestDistance = distance;
                farthest = it;
            }
        }
        if (farthest == m_entries.end()) return;
        release->push_back(farthest->bitmap);
        m_entries.erase(farthest);
        --m_bitmapCount;
    }
}

bool ThumbRequestList_CL::Stop(int code, std::vector<HBITMAP>* release) {
    m_accepting = false;
    m_stopCode = code;
    if (!Decoding()) {
        DropAll(release);
        m_cancel = false;
        m_stopPending = false;  // this stop is answered now; a worker step must not answer again
        return true;
    }
    m_cancel = true;
    m_stopPending = true;
    return false;
}

void ThumbRequestList_CL::BeginFlush(std::vector<HBITMAP>* release) {
    m_accepting = false;
    m_cancel = true;
    DropAll(release);
}

void ThumbRequestList_CL::EndFlush() {
    // A stop that waits for the decode in flight keeps refusing requests until it is answered.
    m_cancel = m_stopPending;
}

size_t ThumbRequestList_CL::PendingCount() const {
    return static_cast<size_t>(std::count_if(m_entries.begin(), m_entries.end(),
                                             [](const ThumbRequest& entry) { return entry.pending; }));
}

std::vector<int> ThumbRequestList_CL::PrefetchOrder(int count, int viewFirst, int viewLast, size_t capacity) {
    std::vector<int> order;
    if (count <= 0 || capacity == 0) return order;
    const int cells = static_cast<int>(std::min<size_t>(static_cast<size_t>(count), capacity));
    int first = std::clamp(std::min(viewFirst, viewLast), 0, count - 1);
    int last = std::clamp(std::max(viewFirst, viewLast), 0, count - 1);
    const int centre = first + (last - first) / 2;
    const int low = std::clamp(centre - cells / 2, 0, count - cells);
    order.reserve(static_cast<size_t>(cells));
    for (int parity : {1, 0}) {
        for (int offset = cells - 1; offset >= 0; --offset) {
            if ((offset & 1) == parity) order.push_back(low + offset);
        }
    }
    return order;
}

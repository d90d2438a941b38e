#include "bench/thumbs/StripFiller_CL.h"

#include <algorithm>

#include "thumbs/StripRules.h"
#include "thumbs/ThumbIds.h"
#include "thumbs/ThumbRequestList_CL.h"

namespace {
constexpr wchar_t kWindowClass[] = L"LumikinoBenchStripWindow";
}  // namespace

StripFiller_CL::StripFiller_CL() : m_worker(std::make_unique<ThumbnailThread_CL>()) {}

StripFiller_CL::~StripFiller_CL() {
    // The worker first: it takes its graph down on its own thread and posts nothing after.
    m_worker.reset();
    if (m_window) ::DestroyWindow(m_window);
}

double StripFiller_CL::NowMs() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool StripFiller_CL::PumpUntil(const std::function<bool()>& done, double timeoutMs) {
    const double start = NowMs();
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (done && done()) return true;
        const double left = timeoutMs - (NowMs() - start);
        if (left <= 0) return done && done();
        // Wakes for the next message or at the deadline, whichever comes first.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

bool StripFiller_CL::Start() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!::GetClassInfoExW(instance, kWindowClass, &windowClass)) {
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &StripFiller_CL::Procedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kWindowClass;
        if (!::RegisterClassExW(&windowClass)) return false;
    }
    // Hidden: the worker only posts to it, and a hidden window costs the screen nothing.
    m_window = ::CreateWindowExW(0, kWindowClass, L"strip", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, instance,
                                 nullptr);
    if (!m_window) return false;
    ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_worker->SetStripWindow(m_window);
    return m_worker->Start();
}

void StripFiller_CL::Fill(const std::wstring& path, const Plan& plan) {
    m_plan = plan;
    m_fillCalledMs = NowMs();
    m_serial = m_worker->QueueGraph(path, true);
}

LRESULT CALLBACK StripFiller_CL::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<StripFiller_CL*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_THUMB_GRAPH_READY) {
        self->OnGraphReady(static_cast<uint32_t>(wParam), static_cast<HRESULT>(lParam));
        return 0;
    }
    if (self && message == WM_THUMB_DECODED) {
        self->OnDecoded(static_cast<int>(wParam), lParam == 1);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void StripFiller_CL::OnGraphReady(uint32_t serial, HRESULT hr) {
    if (serial != m_serial) return;  // an older build, overtaken
    m_builtMs = NowMs();
    if (FAILED(hr)) {
        m_buildResult = hr;
        return;
    }
    LONGLONG earliest = 0, latest = 0;
    const HRESULT found = m_worker->BuildAvailability(serial, &earliest, &latest);
    m_buildResult = found;
    if (found != S_OK) return;
    m_length = latest - earliest;
    m_count = ThumbCellCount(m_length, m_plan.interval);
    if (m_count <= 0) {
        m_buildResult = E_UNEXPECTED;
        return;
    }
    RequestStrip();
}

void StripFiller_CL::RequestStrip() {
    m_answered.assign(static_cast<size_t>(m_count), false);
    m_answeredCount = 0;
    const int lastOnView = std::min(m_count, std::max(1, m_plan.viewCells)) - 1;
    m_worker->SetVisibleRange(0, lastOnView);
    const int64_t interval = EffectiveInterval(m_plan.interval);
    for (int index : ThumbRequestList_CL::PrefetchOrder(m_count, 0, lastOnView, m_worker->CacheCapacity())) {
        m_worker->RequestThumbnail(index, CellTime(index, interval));
    }
}

void StripFiller_CL::OnDecoded(int index, bool withPicture) {
    if (index < 0 || index >= m_count || m_answered[static_cast<size_t>(index)]) return;
    m_answered[static_cast<size_t>(index)] = true;
    ++m_answeredCount;
    if (withPicture) {
        ++m_cellsWithPicture;
    } else {
        ++m_cellsWithoutPicture;
        if (m_stripsDone == 0) ++m_firstStripMissing;
    }
    if (m_answeredCount < m_count) return;
    ++m_stripsDone;
    if (m_firstStripDoneMs < 0) m_firstStripDoneMs = NowMs();
    if (!m_plan.keepFilling) return;
    // The whole strip is in the cache and nothing is in flight: drop it and start again.
    m_worker->FlushThumbnails();
    RequestStrip();
}

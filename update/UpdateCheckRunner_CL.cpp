#include "update/UpdateCheckRunner_CL.h"

#include <process.h>

#include <memory>

namespace {
// What the worker takes along: its own copy of the request, and where to report.
struct UpdateJob {
    UpdateRequest request;
    HWND window = nullptr;
    UINT message = 0;
};
}  // namespace

UpdateCheckRunner_CL::UpdateCheckRunner_CL(UpdateCheck_CL check) : m_check(std::move(check)) {}

UpdateCheckRunner_CL::~UpdateCheckRunner_CL() { Finish(kDestroyWaitMs); }

bool UpdateCheckRunner_CL::IsRunning() const {
    return m_worker.IsValid() && ::WaitForSingleObject(m_worker.Get(), 0) == WAIT_TIMEOUT;
}

bool UpdateCheckRunner_CL::Start(HWND window, UINT message) {
    if (IsRunning()) return false;
    m_worker.Reset();
    if (!m_check.IsDue()) return false;
    m_check.Request().parent = window;

    auto job = std::make_unique<UpdateJob>();
    job->request = m_check.Request();
    job->window = window;
    job->message = message;
    m_window = window;
    m_message = message;
    uintptr_t thread = ::_beginthreadex(nullptr, 0, &WorkerProcedure, job.get(), 0, nullptr);
    if (!thread) return false;
    job.release();  // the worker owns it now
    m_worker.Reset(reinterpret_cast<HANDLE>(thread));
    return true;
}

unsigned __stdcall UpdateCheckRunner_CL::WorkerProcedure(void* parameter) {
    std::unique_ptr<UpdateJob> job(static_cast<UpdateJob*>(parameter));
    auto result = std::make_unique<UpdateFetchResult>(UpdateCheck_CL::Fetch(job->request));
    if (::PostMessageW(job->window, job->message, 0, reinterpret_cast<LPARAM>(result.get()))) {
        result.release();  // the window's thread frees it in OnResult
    }
    return 0;
}

int UpdateCheckRunner_CL::OnResult(LPARAM lParam) {
    std::unique_ptr<UpdateFetchResult> result(reinterpret_cast<UpdateFetchResult*>(lParam));
    // The worker posts last thing before it ends; its handle is not needed any more.
    if (m_worker.IsValid() && ::WaitForSingleObject(m_worker.Get(), 0) != WAIT_TIMEOUT) m_worker.Reset();
    if (!result) return -1;
    return m_check.Apply(*result);
}

void UpdateCheckRunner_CL::DiscardResult(LPARAM lParam) {
    delete reinterpret_cast<UpdateFetchResult*>(lParam);
}

bool UpdateCheckRunner_CL::Finish(DWORD timeoutMs) {
    const bool ended = !m_worker.IsValid() || ::WaitForSingleObject(m_worker.Get(), timeoutMs) != WAIT_TIMEOUT;
    m_worker.Reset();
    // A result queued but not yet handled would go with the window: it is freed here.
    MSG queued{};
    while (m_window && ::PeekMessageW(&queued, m_window, m_message, m_message, PM_REMOVE)) {
        DiscardResult(queued.lParam);
    }
    return ended;
}

#include "app/loading/ContentLoader_CL.h"

#include <winnetwk.h>

#include "app/MainWindowIds.h"
#include "app/loading/ContentLoaderHost_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "media/DShowGraph_CL.h"
#include "store/AppSettings.h"

namespace {
constexpr wchar_t kLoaderName[] = L"LumikinoHDMainWindow_CL::SetContents2";
}  // namespace

void ContentLoader_CL::Trace(const wchar_t* step) {
    if (ProcessLogSwitches().log_detail_graph) LogPrintf(L"%ls", step);
}

void ContentLoader_CL::RequestLoad(const LoadRequest& request) {
    // A load that is running (waiting for a share or a retry) finishes first; the newest
    // request loads after it.
    if (!m_queue.Push(request)) return;
    m_host.LeaveContent();
    // The thumbnail worker stops its job first; its idle command starts the load. Without a
    // job to stop the load starts at once.
    if (!m_host.StopThumbnails()) ::PostMessageW(m_window, WM_COMMAND, MAKEWPARAM(CMD_WORKER_IDLE, 0), 0);
}

void ContentLoader_CL::OnWorkerIdle() {
    // Also posted for interval changes and when the strip goes: only a waiting request loads.
    if (m_closing) return;
    LoadRequest request;
    if (m_queue.TakeNext(&request)) SetContents2(request);
}

void ContentLoader_CL::SetContents2(const LoadRequest& request) {
    m_queue.Begin();
    m_job = Job();
    m_job.request = request;
    if (!m_host.ResolveLoadPath(request, &m_job.path, &m_job.fromList)) {
        End();
        return;
    }
    // The loaded content's path is always in the log, whatever the switches say.
    LogPrintf(L"\"%ls\"", m_job.path.c_str());
    Trace(L"SetContent2(01)");
    m_job.shareServer = LoadQueue_CL::ShareServerOf(m_job.path, &m_job.shareHasSeparator);
    m_job.shareWanted = AppSettings::Process().auth_sharedfolder == 1 && !m_job.shareServer.empty();
    Continue();
}

void ContentLoader_CL::WaitForNextAttempt(UINT delayMs) {
    // The load goes on from the timer; meanwhile the window answers as usual.
    m_waiting = true;
    ::SetTimer(m_window, ID_TIMER_LOAD_ATTEMPT, delayMs, nullptr);
}

void ContentLoader_CL::OnAttemptTimer() {
    ::KillTimer(m_window, ID_TIMER_LOAD_ATTEMPT);
    if (!m_waiting) return;
    m_waiting = false;
    Continue();
}

void ContentLoader_CL::Continue() {
    if (m_job.shareWanted) {
        NETRESOURCEW share{};
        share.dwType = RESOURCETYPE_DISK;
        share.lpRemoteName = m_job.shareServer.data();
        const DWORD error = ::WNetAddConnection2W(&share, nullptr, nullptr, CONNECT_INTERACTIVE);
        ++m_job.shareAttempts;
        if (error != NO_ERROR) {
            if (ProcessLogSwitches().log_detail_other) {
                LogPrintf(L"WNetAddConnection2W(%ls) = %u (%d回目)", m_job.shareServer.c_str(),
                          static_cast<unsigned>(error), m_job.shareAttempts);
            }
            if (LoadQueue_CL::ShareAttemptAgain(m_job.shareAttempts, m_job.shareHasSeparator)) {
                WaitForNextAttempt(LoadQueue_CL::kShareRetryDelayMs);
                return;
            }
        }
        m_job.shareWanted = false;  // connected, or given up: the build reports the rest
    }
    if (m_job.buildAttempts == 0) {
        Trace(L"SetContent2(02)");
        m_host.ReleaseGraph();
        // A path that names nothing or a folder fails at once: no graph, no retries.
        const LoadPathKind kind = LoadQueue_CL::KindOf(m_job.path, ::GetFileAttributesW(m_job.path.c_str()));
        if (kind != LoadPathKind::kFile) {
            Finish(kind == LoadPathKind::kFolder ? HRESULT_FROM_WIN32(ERROR_DIRECTORY)
                                                 : HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
            return;
        }
    }
    const HRESULT hr = m_host.BuildGraph(m_job.path);
    ++m_job.buildAttempts;
    const bool again = DShowGraph_CL::BuildAttemptAgain(hr, m_job.buildAttempts);
    DShowGraph_CL::TraceBuildAttempt(kLoaderName, hr, m_job.buildAttempts, again);
    if (again) {
        m_host.ReleaseGraph();
        WaitForNextAttempt(DShowGraph_CL::kBuildRetryDelayMs);
        return;
    }
    Finish(hr);
}

void ContentLoader_CL::Finish(HRESULT hr) {
    m_host.FinishLoad(m_job.request, m_job.path, m_job.fromList, hr);
    End();
}

void ContentLoader_CL::End() {
    m_queue.End();
    m_waiting = false;
    ::KillTimer(m_window, ID_TIMER_LOAD_ATTEMPT);
    // Requests that came while this one loaded: the newest goes next.
    if (m_queue.HasWaiting() && !m_closing) {
        ::PostMessageW(m_window, WM_COMMAND, MAKEWPARAM(CMD_WORKER_IDLE, 0), 0);
    }
}

bool ContentLoader_CL::StopForClose() {
    m_closing = true;
    if (m_queue.Running() && m_waiting) {
        m_host.ReleaseGraph();
        End();
    }
    return !m_queue.Running();
}

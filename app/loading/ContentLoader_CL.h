#pragma once
// Loads one movie at a time without ever waiting on the user-interface thread, apart from the
// one graph build of each attempt: the request waits for the thumbnail worker (the worker-idle
// command), the network share of a UNC path is connected when the settings ask for it (30
// attempts a second apart), a path that names nothing or a folder fails at once, and a graph
// that cannot be built yet is tried again a second later, all from a window timer. Requests
// that come meanwhile wait; the newest loads next.
// Thread: UI for everything (owned by the main window).

#include <windows.h>

#include <string>

#include "app/loading/LoadQueue_CL.h"

class ContentLoaderHost_CL;

class ContentLoader_CL {
public:
    explicit ContentLoader_CL(ContentLoaderHost_CL& host) : m_host(host) {}

    // Thread: UI. The window whose timer and worker-idle command drive the loads.
    void SetWindow(HWND window) { m_window = window; }

    // Thread: UI. Keeps the request; when no load runs, the movie playing goes and the
    // worker-idle command is posted to start it.
    void RequestLoad(const LoadRequest& request);
    // Thread: UI. The worker-idle command: the waiting request, if any, starts loading.
    void OnWorkerIdle();
    // Thread: UI. ID_TIMER_LOAD_ATTEMPT: the next share or graph attempt.
    void OnAttemptTimer();
    // Thread: UI. The window is closing: nothing more starts, and a load waiting for its next
    // attempt is given up. True when no load runs any more (one showing its dialog still does).
    bool StopForClose();
    bool Running() const { return m_queue.Running(); }

    // The numbered load traces ("SetContent2(01)" ...), written with log_detail_graph.
    static void Trace(const wchar_t* step);

private:
    // Starts the load of one request (the first steps of SetContents2).
    void SetContents2(const LoadRequest& request);
    void Continue();
    void WaitForNextAttempt(UINT delayMs);
    void Finish(HRESULT hr);
    void End();

    // The load that runs and what it has tried so far.
    struct Job {
        LoadRequest request;
        std::wstring path;
        bool fromList = false;
        std::wstring shareServer;  // "\\server" of a UNC path
        bool shareHasSeparator = false;
        bool shareWanted = false;  // the share is still to be connected
        int shareAttempts = 0;
        int buildAttempts = 0;
    };

    ContentLoaderHost_CL& m_host;
    HWND m_window = nullptr;
    LoadQueue_CL m_queue;
    Job m_job;
    bool m_waiting = false;  // the load waits for ID_TIMER_LOAD_ATTEMPT
    bool m_closing = false;
};

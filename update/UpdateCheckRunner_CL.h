#pragma once
// Runs the version check without holding up the main window: the settings are read and the
// decision applied on the UI thread, and only the network step runs on a worker thread.
//
//   Start(window, message)  UI: no thread at all unless a check is due; else a worker fetches
//                           the version file and posts `message` to `window` with a heap
//                           UpdateFetchResult* in lParam (wParam 0). When the post fails the
//                           worker frees the result itself.
//   OnResult(lParam)        UI, from the window's handler of `message`: takes the result over
//                           (always frees it) and applies it: settings, notice, site.
//   Finish(timeoutMs)       UI, at shut-down: waits a bounded time for the worker, then frees
//                           every result already posted and not yet handled.
//
// The worker owns a copy of everything it needs, so the runner may go before it ends (the
// process exit then ends it); the worker never touches the settings.
//
// Thread: UI for every method.

#include <windows.h>

#include "base/UniqueHandle_CL.h"
#include "update/UpdateCheck_CL.h"

class UpdateCheckRunner_CL {
public:
    explicit UpdateCheckRunner_CL(UpdateCheck_CL check);
    // Waits at most kDestroyWaitMs for a worker still running, then lets it go.
    ~UpdateCheckRunner_CL();
    UpdateCheckRunner_CL(const UpdateCheckRunner_CL&) = delete;
    UpdateCheckRunner_CL& operator=(const UpdateCheckRunner_CL&) = delete;

    static constexpr DWORD kDestroyWaitMs = 0;

    // Thread: UI. The window becomes the notice's owner. Returns true when a worker started;
    // false when the check is off, not due, a notice is showing, a worker is still running,
    // or the thread could not be made.
    bool Start(HWND window, UINT message);
    // Thread: UI. Applies the posted result and frees it; returns what the notice answered, or
    // -1 when none was shown (or lParam was null).
    int OnResult(LPARAM lParam);
    // Thread: UI. Frees a posted result without applying it (a window that is closing).
    static void DiscardResult(LPARAM lParam);
    // Thread: UI. Waits up to timeoutMs for the worker; true when none is left running. Results
    // already in the window's queue are freed. A worker that did not end in time is let go (its
    // result, if it still comes, is freed by OnResult or by the failed post).
    bool Finish(DWORD timeoutMs);
    // Thread: UI. True while a worker is running.
    bool IsRunning() const;

    UpdateCheck_CL& Check() { return m_check; }

private:
    static unsigned __stdcall WorkerProcedure(void* parameter);

    UpdateCheck_CL m_check;
    KernelHandle_CL m_worker;
    HWND m_window = nullptr;  // where the last worker posts its result, and with which message
    UINT m_message = 0;
};

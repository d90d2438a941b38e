#pragma once
// The play history's network-metadata job: one thread at a time reads the size, times, name
// and rating of the rows on network shares, so a slow share never freezes the dialog. Each
// result goes to the dialog window in a posted message (kResultMessage) whose LPARAM owns a
// HistoryMetaResult; the receiver takes it with TakeResult. When posting fails (the window
// is gone) the thread frees the result itself.
//
// The thread works on its own copy of the paths and its own reader: it touches nothing of the
// dialog and may outlive it.
// Thread: Start and Finish on the dialog's (UI) thread; the job on its own thread.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/history/HistoryEntry.h"
#include "base/UniqueHandle_CL.h"

// One row's result: whose job it was, which row and path, and the completed entry.
struct HistoryMetaResult {
    HistoryMetaResult();
    ~HistoryMetaResult();
    HistoryMetaResult(const HistoryMetaResult&) = delete;
    HistoryMetaResult& operator=(const HistoryMetaResult&) = delete;

    uint32_t serial = 0;
    int row = -1;
    HistoryEntry entry;  // path, file data, folder flag, name, folder and rating
};

class HistoryMetaJob_CL {
public:
    static constexpr UINT kResultMessage = 0x805E;
    // Completes one network entry on the job's thread.
    using Reader = std::function<void(HistoryEntry& entry)>;
    struct Item {
        int row = -1;
        std::wstring path;
    };

    HistoryMetaJob_CL() = default;
    ~HistoryMetaJob_CL() { Finish(kShutdownWaitMs); }
    HistoryMetaJob_CL(const HistoryMetaJob_CL&) = delete;
    HistoryMetaJob_CL& operator=(const HistoryMetaJob_CL&) = delete;

    static constexpr DWORD kShutdownWaitMs = 15000;

    // Thread: UI. Waits for the previous job (up to waitMs; one still running then is let go
    // and its results are dropped by their serial), then starts one with the next serial over
    // items. False when there is nothing to do or the thread could not start.
    bool Start(HWND window, std::vector<Item> items, Reader reader, DWORD waitMs = kShutdownWaitMs);
    // Thread: UI. Waits for the running job up to waitMs and lets its handle go; true when no
    // job runs any more (a job still running afterwards ends on its own).
    bool Finish(DWORD waitMs);

    uint32_t Serial() const { return m_serial; }

    // Thread: UI. The result a kResultMessage carries, owned from here on.
    static std::unique_ptr<HistoryMetaResult> TakeResult(LPARAM lParam) {
        return std::unique_ptr<HistoryMetaResult>(reinterpret_cast<HistoryMetaResult*>(lParam));
    }

    // Results made and not yet freed (tests see that none is leaked).
    static long LiveResults();

private:
    struct Context;
    static DWORD WINAPI ThreadProc(void* parameter);

    KernelHandle_CL m_thread;
    uint32_t m_serial = 0;
};

#pragma once
// Drives the real Lumikino.exe for end-to-end tests: starts it with arguments, waits for its
// window or files with deadlines, sends it the messages a user's action or another launch
// sends, and reports how it ended. Every wait polls with a deadline; nothing sleeps blindly.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/UniqueHandle_CL.h"

// Polls the condition every few milliseconds until it holds or the time runs out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Starts exe with the arguments, each quoted as CommandLineToArgvW reads it back; workingFolder
// empty keeps the caller's current folder. False when the process could not be made.
bool LaunchProgram(const std::wstring& exe, const std::vector<std::wstring>& args, const std::wstring& workingFolder,
                   KernelHandle_CL* process, DWORD* processId);

class PlayerProcess_CL {
public:
    PlayerProcess_CL() = default;
    ~PlayerProcess_CL();  // a player still running is ended
    PlayerProcess_CL(const PlayerProcess_CL&) = delete;
    PlayerProcess_CL& operator=(const PlayerProcess_CL&) = delete;

    // Lumikino.exe beside the test program.
    static std::wstring PlayerPath();
    // Quotes one argument the way CommandLineToArgvW reads it back.
    static std::wstring QuoteArgument(const std::wstring& arg);

    // Starts the player; workingFolder empty keeps the test's current folder.
    bool Start(const std::vector<std::wstring>& args, const std::wstring& workingFolder = std::wstring());
    DWORD ProcessId() const { return m_processId; }
    HANDLE ProcessHandle() const { return m_process.Get(); }
    bool IsRunning() const;

    // The visible top-level "MainWindowClass" window of this process, or null at the deadline;
    // once found, also waits (within the deadline) until the player's start has finished.
    HWND WaitForMainWindow(DWORD timeoutMs);
    HWND MainWindow() const { return m_window; }

    // WM_COPYDATA as another process sends it; false when the send itself failed or timed out.
    bool SendCopyData(ULONG_PTR dwData, const void* data, DWORD size, LRESULT* result, DWORD timeoutMs = 5000);
    bool PostToWindow(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostClose() { return PostToWindow(WM_CLOSE); }

    // Waits for the process to end; false at the deadline.
    // Waits for the player to end; dialogs it shows meanwhile are closed (see CloseDialogs).
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    // Asks every dialog window of the player to close.
    void CloseDialogs() const;
    // Ends the player if it still runs, and every process it started (a file manager it
    // opened, a helper), whether or not the player itself is still there.
    void Kill();

private:
    KernelHandle_CL m_process;
    DWORD m_processId = 0;
    HWND m_window = nullptr;
};

// Ends every process started by the given one, and theirs in turn. Processes it started live
// on after it ends and keep the test program's output open, which the test runner waits on.
void EndProcessesStartedBy(DWORD processId);

// Every top-level "MainWindowClass" window of the given process (0: of any process).
std::vector<HWND> FindPlayerWindows(DWORD processId);

// Points the user's Documents folder (and so the player's data folder) at a fresh folder for
// one test, through the per-user shell folder setting, and puts the old value back after.
class DocumentsRedirect_CL {
public:
    explicit DocumentsRedirect_CL(const std::wstring& folder);
    ~DocumentsRedirect_CL();
    DocumentsRedirect_CL(const DocumentsRedirect_CL&) = delete;
    DocumentsRedirect_CL& operator=(const DocumentsRedirect_CL&) = delete;

private:
    bool m_hadValue = false;
    std::wstring m_oldValue;
};

// The trace log as text (UTF-16 LE without its byte-order mark).
std::wstring ReadLogText(const std::wstring& path);
// Lines of a UTF-16 text split at CR LF.
std::vector<std::wstring> SplitLines(const std::wstring& text);

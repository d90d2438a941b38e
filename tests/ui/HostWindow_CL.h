#pragma once
// A plain top-level window for the toolkit tests to put controls on; it records the
// commands its children send, and pumps the thread's messages for tests that post.

#include <windows.h>

#include <functional>
#include <vector>

class HostWindow_CL {
public:
    explicit HostWindow_CL(RECT rect = RECT{100, 100, 700, 500}, bool visible = true);
    ~HostWindow_CL();
    HostWindow_CL(const HostWindow_CL&) = delete;
    HostWindow_CL& operator=(const HostWindow_CL&) = delete;

    HWND Get() const { return m_window; }
    const std::vector<UINT>& Commands() const { return m_commands; }

    // Dispatches this thread's messages until done() holds or timeoutMs passed; returns done().
    static bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
    // Dispatches what is queued now.
    static void PumpPending();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window = nullptr;
    std::vector<UINT> m_commands;
};

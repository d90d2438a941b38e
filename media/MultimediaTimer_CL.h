#pragma once
// Owner of one periodic multimedia timer (winmm timeSetEvent). The callback runs on the
// platform's timer thread. Kill (and the destructor) returns only when no callback is running
// and none will start again: the timer is made with TIME_KILL_SYNCHRONOUS.
// Thread: Start and Kill on one thread (UI); the callback on the timer thread.

#include <windows.h>

class MultimediaTimer_CL {
public:
    using Callback = void (*)(void* context);

    MultimediaTimer_CL() = default;
    ~MultimediaTimer_CL() { Kill(); }
    MultimediaTimer_CL(const MultimediaTimer_CL&) = delete;
    MultimediaTimer_CL& operator=(const MultimediaTimer_CL&) = delete;

    // Thread: UI. Starts the periodic timer; a running one is killed first.
    [[nodiscard]] HRESULT Start(UINT periodMs, UINT resolutionMs, Callback callback, void* context);
    // Thread: UI. Stops it; harmless when none runs.
    void Kill();
    bool IsRunning() const { return m_id != 0; }

private:
    static void CALLBACK TimerProc(UINT id, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    UINT m_id = 0;
    Callback m_callback = nullptr;
    void* m_context = nullptr;
};

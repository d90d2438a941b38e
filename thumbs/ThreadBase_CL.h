#pragma once
// A thread that runs a message loop of thread messages (TM_FIRST ... TM_LAST) and hands each
// one to OnThreadMessage. COM is initialised multithreaded for the thread's whole life: what
// it builds (a filter graph) lives in that apartment and is let go in OnThreadEnd, before COM
// ends on the thread.
//
// Thread: Start, Stop and Wake from the owner's thread (UI); OnThreadMessage and the hooks on
// the thread itself. A derived class must call Stop() in its own destructor: the loop calls
// its virtual functions, which must not run while the derived part is being torn down.

#include <windows.h>

#include <atomic>
#include <string>

#include "base/UniqueHandle_CL.h"

class ThreadBase_CL {
public:
    // startOnce: a second Start is ignored while the thread exists.
    ThreadBase_CL(const std::wstring& name, bool startOnce);
    virtual ~ThreadBase_CL();
    ThreadBase_CL(const ThreadBase_CL&) = delete;
    ThreadBase_CL& operator=(const ThreadBase_CL&) = delete;

    // Thread: owner. Starts the thread and returns once its message queue exists, so that
    // messages posted afterwards are never lost. False when the thread could not start.
    bool Start();
    // Thread: owner. Posts TM_QUIT and waits (without limit) until the thread has ended.
    void Stop();
    // Thread: any. Posts TM_WAKE.
    void Wake();
    // Thread: any. Posts a thread message; false when the thread does not run or its queue is full.
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    bool Running() const { return m_thread.IsValid(); }
    DWORD ThreadId() const { return m_threadId.load(); }
    bool OnThread() const { return ::GetCurrentThreadId() == m_threadId.load(); }
    const std::wstring& Name() const { return m_name; }

protected:
    // Thread: own. One message of the loop; the loop ends after TM_QUIT when this returns 0.
    virtual int OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Thread: own. After COM is initialised, before the first message.
    virtual void OnThreadStart() {}
    // Thread: own. After the loop, before COM ends on the thread.
    virtual void OnThreadEnd() {}

private:
    static DWORD WINAPI ThreadProc(void* parameter);
    DWORD Run();

    KernelHandle_CL m_thread;
    std::atomic<DWORD> m_threadId{0};
    KernelHandle_CL m_startedEvent;  // auto-reset; signalled once the queue exists
    std::wstring m_name;
    bool m_startOnce;
};

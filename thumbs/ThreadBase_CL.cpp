#include "thumbs/ThreadBase_CL.h"

#include <objbase.h>

#include "thumbs/ThumbIds.h"

namespace {
// COM for one thread, from its top to its end.
class ThreadComScope_CL {
public:
    ThreadComScope_CL() : m_hr(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ThreadComScope_CL() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ThreadComScope_CL(const ThreadComScope_CL&) = delete;
    ThreadComScope_CL& operator=(const ThreadComScope_CL&) = delete;

private:
    HRESULT m_hr;
};
}  // namespace

ThreadBase_CL::ThreadBase_CL(const std::wstring& name, bool startOnce) : m_name(name), m_startOnce(startOnce) {}

ThreadBase_CL::~ThreadBase_CL() {
    // The derived class has stopped the thread already; this only catches a thread that was
    // started by a class without a destructor of its own.
    Stop();
}

bool ThreadBase_CL::Start() {
    if (m_thread.IsValid()) {
        if (m_startOnce) return true;
        Stop();
    }
    m_startedEvent.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!m_startedEvent.IsValid()) return false;
    DWORD id = 0;
    m_thread.Reset(::CreateThread(nullptr, 0, &ThreadBase_CL::ThreadProc, this, 0, &id));
    if (!m_thread.IsValid()) {
        m_startedEvent.Reset();
        return false;
    }
    m_threadId = id;
    ::WaitForSingleObject(m_startedEvent.Get(), INFINITE);
    return true;
}

void ThreadBase_CL::Stop() {
    if (!m_thread.IsValid()) return;
    // A full queue would swallow the quit; try until it is taken or the thread is gone.
    while (!::PostThreadMessageW(m_threadId.load(), TM_QUIT, 0, 0)) {
        if (::WaitForSingleObject(m_thread.Get(), 10) == WAIT_OBJECT_0) break;
    }
    ::WaitForSingleObject(m_thread.Get(), INFINITE);
    m_thread.Reset();
    m_threadId = 0;
    m_startedEvent.Reset();
}

void ThreadBase_CL::Wake() { Post(TM_WAKE); }

bool ThreadBase_CL::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD id = m_threadId.load();
    return id != 0 && ::PostThreadMessageW(id, message, wParam, lParam) != FALSE;
}

DWORD WINAPI ThreadBase_CL::ThreadProc(void* parameter) { return static_cast<ThreadBase_CL*>(parameter)->Run(); }

DWORD ThreadBase_CL::Run() {
    m_threadId = ::GetCurrentThreadId();  // the creator stores it too, maybe later than this
    ThreadComScope_CL com;
    MSG message{};
    // The queue exists from this call on; the owner may post once the event is signalled.
    ::PeekMessageW(&message, nullptr, TM_FIRST, TM_LAST, PM_NOREMOVE);
    OnThreadStart();
    ::SetEvent(m_startedEvent.Get());
    for (;;) {
        BOOL got = ::GetMessageW(&message, nullptr, TM_FIRST, TM_LAST);
        if (got == -1 || got == 0) break;
        int result = OnThreadMessage(message.message, message.wParam, message.lParam);
        if (message.message == TM_QUIT && result == 0) break;
    }
    OnThreadEnd();
    return 0;
}

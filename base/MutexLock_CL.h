#pragma once
// Holds a Win32 mutex for a scope.

#include <windows.h>

class MutexLock_CL {
public:
    explicit MutexLock_CL(HANDLE mutex) : m_mutex(mutex) {
        DWORD result = ::WaitForSingleObject(m_mutex, INFINITE);
        // An abandoned mutex is still ours: its owner died, the data it guarded is ours to fix.
        m_held = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
    ~MutexLock_CL() {
        if (m_held) ::ReleaseMutex(m_mutex);
    }
    MutexLock_CL(const MutexLock_CL&) = delete;
    MutexLock_CL& operator=(const MutexLock_CL&) = delete;

private:
    HANDLE m_mutex;
    bool m_held = false;
};

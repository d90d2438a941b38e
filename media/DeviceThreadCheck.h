#pragma once
// A check, compiled into every build, that the Direct3D device is created, reset, tested for
// loss (TestCooperativeLevel) and finally released only on its owner thread, the user-interface
// thread. Windows resets a device from the thread of its window; a reset made elsewhere can
// wait on that thread while it waits for the drawing lock, which no test under Wine would show.
//
// Switched on by the environment: LK_DEVICE_THREAD_CHECK names a report file (a line is
// appended for every call made off the owner thread), or is "1" to count and log only. Off,
// it costs one load of a cached flag. Thread: any.

#include <windows.h>

class DeviceThreadCheck {
public:
    // Notes a device call of the given kind; when the check is on and the calling thread is not
    // the owner, it is counted, logged and reported.
    static void Note(const wchar_t* call, DWORD ownerThread);
    // Calls made off the owner thread since the process started (0 while the check is off).
    static int Violations();
    static bool Enabled();
    // While set, calls off the owner thread are counted but not reported: for the test that
    // makes them on purpose to see the check work.
    static void SetDeliberate(bool deliberate);
};

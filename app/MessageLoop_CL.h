#pragma once
// The one message loop of the UI thread, with the input handling that happens before messages
// reach a window: remote-control key sequences, held arrows, Alt+Enter and file drops.
// Thread: UI.

#include <windows.h>

#include <cstdint>

#include "app/KeySequence_CL.h"

class LumikinoHDMainWindow_CL;

class MessageLoop_CL {
public:
    explicit MessageLoop_CL(LumikinoHDMainWindow_CL& window);

    // Runs until WM_QUIT; returns its wParam.
    int Run();

private:
    // True when the message was fully handled here (swallowed).
    bool PreHandle(MSG& message);
    void Deliver(MSG& message, unsigned key);
    void KeepMessagesComingWhileArrowHeld();

    static constexpr UINT kHeldArrowTickMs = 20;

    LumikinoHDMainWindow_CL& m_window;
    KeySequence_CL m_keys;
    uint64_t m_lastTickMs;
    UINT_PTR m_heldArrowTimer = 0;  // thread timer, running only while an arrow is held
    POINT m_lastMouse{-1, -1};  // where the last real mouse movement ended
};

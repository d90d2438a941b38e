#pragma once
// The one message loop of the UI thread, with the input handling that happens before messages
// reach a window: remote-control key sequences, held arrows, Alt+Enter and file drops. The
// registered modeless dialogs are served first and apart: their messages go through
// IsDialogMessageW (Tab, Enter, Escape and typing in their boxes) and never through the
// player's rules, so a digit typed into a dialog's box is not a player command.
// Thread: UI.

#include <windows.h>

#include <cstdint>

#include "app/KeySequence_CL.h"
#include "app/ModelessDialogs_CL.h"

class MessageLoopHost_CL;

class MessageLoop_CL {
public:
    explicit MessageLoop_CL(MessageLoopHost_CL& host);

    // Thread: UI. Runs until WM_QUIT; returns its wParam.
    int Run();

    // Thread: UI. A modeless dialog's messages (its own and its controls') go to the dialog
    // from now on. A dialog should remove itself when its window goes; one destroyed without
    // that is dropped by the loop.
    void AddModelessDialog(HWND dialog);
    // Thread: UI.
    void RemoveModelessDialog(HWND dialog);

private:
    // True when the message belonged to a registered dialog and was handled for it.
    bool RouteToDialog(MSG& message);
    // True when the message was fully handled here (swallowed).
    bool PreHandle(MSG& message);
    void Deliver(MSG& message, unsigned key);
    void KeepMessagesComingWhileArrowHeld();

    static constexpr UINT kHeldArrowTickMs = 20;

    MessageLoopHost_CL& m_host;
    KeySequence_CL m_keys;
    ModelessDialogs_CL m_dialogs;
    uint64_t m_lastTickMs;
    UINT_PTR m_heldArrowTimer = 0;  // thread timer, running only while an arrow is held
};

#pragma once
// What the message loop asks of the player's main window: the keys left after the loop's
// keyboard rules, the mouse before dispatch, file drops and user activity. The main window
// implements it; tests drive the real loop with a stand-in that records the calls.
// Thread: UI; every call comes from within MessageLoop_CL::Run.

#include <windows.h>
#include <shellapi.h>

class MessageLoopHost_CL {
public:
    virtual ~MessageLoopHost_CL() = default;

    // Thread: UI. A keyboard command: a key that passed the loop's rules (held arrows after
    // their delay, remote-control sequences as F7/F8, Alt+Enter as Escape).
    virtual void KeyHandler(UINT virtualKey) = 0;
    // A window that takes the left and right arrows itself (the thumbnail strip moving its
    // selection): its arrow keys skip the held-arrow rule and KeyHandler.
    virtual bool TakesArrowKeys(HWND) const { return false; }
    // Thread: UI. Any key, click, wheel or real pointer movement: ends the idle state.
    virtual void NoteUserActivity() = 0;
    // Thread: UI. Files dropped on the player; the host finishes the drop (DragFinish).
    virtual void OnDropFiles(HDROP drop) = 0;

    // Thread: UI. The mouse before the message is dispatched (the window drag by the picture,
    // the edge resize, the zoom selection, the wheel with the left button held). A move that
    // really moved the pointer is user activity; the host tells it from the moves windows send
    // at rest. message.pt is in screen coordinates; the message is dispatched afterwards.
    virtual void OnLoopMouseMove(const MSG& message) = 0;
    virtual void OnLoopLeftButtonDown(const MSG& message) = 0;
    virtual void OnLoopLeftButtonUp(const MSG& message) = 0;
    virtual void OnLoopMouseWheel(const MSG& message) = 0;
};

#pragma once
// The modeless dialogs open beside the player (the play history, the play list): the windows
// whose messages the message loop hands to IsDialogMessageW instead of the player's own
// input rules.
// Thread: UI only.

#include <windows.h>

#include <vector>

class ModelessDialogs_CL {
public:
    // Thread: UI. Registers a dialog window; null and a second registration are ignored.
    void Add(HWND dialog);
    // Thread: UI. Unregisters it; a window that is not registered is ignored.
    void Remove(HWND dialog);

    // Thread: UI. The registered dialog that is target or holds it (a control of the dialog),
    // else nullptr. Dialogs destroyed without being removed are dropped on the way.
    HWND DialogHolding(HWND target);

    size_t Count() const { return m_dialogs.size(); }

private:
    std::vector<HWND> m_dialogs;  // a handful at most: a linear search is the fastest
};

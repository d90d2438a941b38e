#pragma once
// The failure notice as the user sees it: a message box with an OK button over the owner.
// Thread: UI.

#include <windows.h>

#include "store/RecordFailureNotice_CL.h"

class RecordFailureMessageBox_CL : public RecordFailureNotice_CL {
public:
    explicit RecordFailureMessageBox_CL(HWND owner) : m_owner(owner) {}
    void ShowShareWriteFailure() override;

private:
    HWND m_owner;  // borrowed
};

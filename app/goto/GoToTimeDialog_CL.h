#pragma once
// Ctrl+G's dialog: the single-line input asking for a time. OK (or Enter) takes a time the
// rules accept and closes; a text that is not a time shows how to write one and the dialog
// stays open; Escape and the close box cancel (unlike the favourite-name input, which must
// give a name back).
// Thread: UI only.

#include <windows.h>

#include <string>

#include "ui/SingleEdit_CL.h"

class GoToTimeDialog_CL : public SingleEdit_CL {
public:
    static constexpr wchar_t kCaption[] = L"指定した時間へ移動";
    static constexpr wchar_t kBadTimeText[] = L"時間の形式が正しくありません。（例：1:23:45、83:10、4990）";
    static constexpr int kLimit = 32;

    GoToTimeDialog_CL();

    // Thread: UI. True with the time in seconds when OK took one; false when cancelled.
    bool Ask(HWND parent, double* seconds);

protected:
    void OnInitDialog() override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;
    void OnClose() override;

private:
    std::wstring m_text;
    double m_seconds = 0;
};

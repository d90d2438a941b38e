#pragma once
// The stock single-line input (names of favourites): a caption, an edit field 20 columns
// wide and one row high with the initial text and a length limit, and "　ＯＫ　" to its
// right. OK stores the text and ends the dialog with 0. Closing the window and the Enter
// and Escape keys do nothing: the only way out is OK, so a name is always given back.
//
// Thread: UI only.

#include <windows.h>

#include <string>

#include "ui/SubClassDialogBase_CL.h"

class Edit_CL;

class SingleEdit_CL : public SubClassDialogBase_CL {
public:
    static constexpr int kColumns = 20;
    static constexpr int kMarginPixels96 = 12;       // left, top and between field and button
    static constexpr int kRightMarginPixels96 = 20;
    static constexpr int kBottomMarginPixels96 = 32;

    // text receives the input at OK; it must outlive the dialog. limitCharacters 0: no limit.
    SingleEdit_CL(const std::wstring& caption, const std::wstring& initialText, int limitCharacters,
                  std::wstring* text);

    // Thread: UI, while open.
    Edit_CL* Field();
    HWND OkButton();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog() override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;
    void OnClose() override {}

private:
    std::wstring m_caption;
    std::wstring m_initialText;
    int m_limitCharacters;
    std::wstring* m_text;
    int m_editIndex = -1;
    int m_okIndex = -1;
};

#pragma once
// The pick-and-close input (tags): a prompt, an input line in the GUI font at twice its
// size with "　ＯＫ　" beside it, and below them one push button per given word, left to
// right in rows that wrap at the dialog's width. A word button appends its word to the
// input (with a separating space when needed); OK takes the input and closes; closing the
// window discards it. Enter and Escape do nothing.
//
// Thread: UI only.

#include <windows.h>

#include <string>
#include <vector>

#include "ui/ControlFactory_CL.h"
#include "ui/SubClassDialogBase_CL.h"

class Edit_CL;

class EasySelectDialog_CL : public SubClassDialogBase_CL {
public:
    // The word buttons are numbered from here in the order of the words.
    static constexpr UINT kFirstWordButtonId = 0x3300;
    static constexpr int kClientWidth96 = 560;
    static constexpr int kMarginPixels96 = 10;
    static constexpr int kGapPixels96 = 4;
    static constexpr double kInputFontFactor = 2.0;

    EasySelectDialog_CL(const std::wstring& caption, const std::wstring& prompt,
                        const std::wstring& initialText, int limitCharacters,
                        const std::vector<std::wstring>& words);

    // Thread: UI. IDOK when OK took the input, 0 when the window was closed (Text() is then
    // empty), -1 when the dialog could not be made.
    INT_PTR DoModal(HWND parent) override;
    // The input taken by OK.
    const std::wstring& Text() const { return m_text; }

    // Thread: UI, while open.
    Edit_CL* Field();
    HWND OkButton();
    HWND WordButton(size_t index) const;
    size_t WordButtonCount() const { return m_wordButtons.Count(); }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog() override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;
    void OnClose() override;

private:
    std::wstring m_caption;
    std::wstring m_prompt;
    std::wstring m_initialText;
    int m_limitCharacters;
    std::vector<std::wstring> m_words;
    std::wstring m_text;
    int m_editIndex = -1;
    int m_okIndex = -1;
    ControlFactory_CL m_wordButtons{kFirstWordButtonId};
};

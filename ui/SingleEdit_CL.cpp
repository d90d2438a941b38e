#include "ui/SingleEdit_CL.h"

#include <algorithm>

#include "ui/Button_CL.h"
#include "ui/DpiScale.h"
#include "ui/Edit_CL.h"
#include "ui/UiTexts.h"
#include "ui/WindowCentering.h"

namespace {
// The field is multi-line by the toolkit's edit style; Enter and Escape would put a line
// break in the name or make the field send WM_CLOSE, so the field swallows both.
LRESULT SwallowEnterAndEscape(ControlBase_CL&, UINT message, WPARAM wParam, LPARAM, bool& handled) {
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        handled = true;
    } else if (message == WM_CHAR && (wParam == L'\r' || wParam == L'\n' || wParam == 0x1B)) {
        handled = true;
    }
    return 0;
}
}  // namespace

SingleEdit_CL::SingleEdit_CL(const std::wstring& caption, const std::wstring& initialText,
                             int limitCharacters, std::wstring* text)
    : m_caption(caption), m_initialText(initialText), m_limitCharacters(limitCharacters), m_text(text) {}

Edit_CL* SingleEdit_CL::Field() { return Controls().Get<Edit_CL>(m_editIndex); }

HWND SingleEdit_CL::OkButton() {
    ControlBase_CL* ok = Controls().At(m_okIndex);
    return ok ? ok->Window() : nullptr;
}

void SingleEdit_CL::OnInitDialog() {
    HWND window = Window();
    ::SetWindowTextW(window, m_caption.c_str());
    const int margin = ScaleForDpi(kMarginPixels96);

    m_editIndex = Controls().AddEdit(window, margin, margin, kColumns, 1, m_initialText);
    int right = margin;
    int bottom = margin;
    if (Edit_CL* edit = Field()) {
        edit->SetLimit(m_limitCharacters);
        edit->SetMessageCallback(&SwallowEnterAndEscape);
        RECT rect = edit->RectInParent();
        right = rect.right;
        bottom = rect.bottom;
    }
    m_okIndex = Controls().AddButton(window, right + margin, margin, kTextOk);
    if (ControlBase_CL* ok = Controls().At(m_okIndex)) {
        RECT rect = ok->RectInParent();
        right = rect.right;
        bottom = std::max<int>(bottom, rect.bottom);
    }
    SetClientSize(right + ScaleForDpi(kRightMarginPixels96), bottom + ScaleForDpi(kBottomMarginPixels96));
    CenterDialogOnParent(Parent(), window);

    if (Edit_CL* edit = Field()) {
        ::SetFocus(edit->Window());
        edit->MoveCaretToEnd();
    }
}

void SingleEdit_CL::OnCommand(UINT controlId, UINT notifyCode, HWND) {
    ControlBase_CL* ok = Controls().At(m_okIndex);
    if (!ok || controlId != ok->Id() || notifyCode != BN_CLICKED) return;
    if (m_text) {
        Edit_CL* edit = Field();
        *m_text = edit ? edit->Text() : std::wstring();
    }
    EndWith(0);
}

INT_PTR SingleEdit_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) return TRUE;
    INT_PTR result = SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
    // The focus was set on the field; a TRUE would move it to the first tab stop again.
    if (message == WM_INITDIALOG) return FALSE;
    return result;
}

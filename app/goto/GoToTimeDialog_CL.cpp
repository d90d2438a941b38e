#include "app/goto/GoToTimeDialog_CL.h"

#include "app/goto/GoToTime.h"
#include "ui/Edit_CL.h"

namespace {
constexpr INT_PTR kTaken = 1;
constexpr INT_PTR kCancelled = 2;
}  // namespace

GoToTimeDialog_CL::GoToTimeDialog_CL() : SingleEdit_CL(kCaption, L"", kLimit, &m_text) {}

bool GoToTimeDialog_CL::Ask(HWND parent, double* seconds) {
    if (DoModal(parent) != kTaken) return false;
    *seconds = m_seconds;
    return true;
}

void GoToTimeDialog_CL::OnInitDialog() {
    SingleEdit_CL::OnInitDialog();
    // The field is multi-line by the toolkit's edit style: Enter would break the line and
    // Escape would reach nothing. Here Enter is OK and Escape cancels.
    if (Edit_CL* field = Field()) {
        HWND dialog = Window();
        field->SetMessageCallback([dialog](ControlBase_CL&, UINT message, WPARAM wParam, LPARAM, bool& handled) -> LRESULT {
            const bool enter = wParam == VK_RETURN, escape = wParam == VK_ESCAPE;
            if ((message == WM_KEYDOWN || message == WM_KEYUP) && (enter || escape)) {
                handled = true;
                if (message == WM_KEYDOWN) {
                    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(enter ? IDOK : IDCANCEL, BN_CLICKED), 0);
                }
            } else if (message == WM_CHAR && (wParam == L'\r' || wParam == L'\n' || wParam == 0x1B)) {
                handled = true;
            }
            return 0;
        });
    }
}

void GoToTimeDialog_CL::OnCommand(UINT controlId, UINT notifyCode, HWND control) {
    if (controlId == IDCANCEL) {
        EndWith(kCancelled);
        return;
    }
    const HWND ok = OkButton();
    const bool isOk = controlId == IDOK || (ok && control == ok && notifyCode == BN_CLICKED);
    if (!isOk) return;
    Edit_CL* field = Field();
    const std::wstring text = field ? field->Text() : std::wstring();
    double seconds = 0;
    if (!ParseGoToTime(text, &seconds)) {
        ::MessageBoxW(Window(), kBadTimeText, kCaption, MB_OK | MB_ICONWARNING);
        if (field) ::SetFocus(field->Window());
        return;
    }
    m_text = text;
    m_seconds = seconds;
    EndWith(kTaken);
}

void GoToTimeDialog_CL::OnClose() { EndWith(kCancelled); }

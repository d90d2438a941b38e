#include "ui/PropertyPage_CL.h"

#include <commctrl.h>
#include <prsht.h>

PropertyPage_CL::PropertyPage_CL(std::wstring title) : m_title(std::move(title)) { SetStyle(kPageStyle); }

void PropertyPage_CL::Changed() {
    if (m_loading || !Window()) return;
    if (HWND sheet = ::GetParent(Window())) ::SendMessageW(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(Window()), 0);
}

void PropertyPage_CL::OnCommand(UINT controlId, UINT notifyCode, HWND control) {
    (void)controlId;
    if (!control) return;  // menus and accelerators change nothing here
    switch (notifyCode) {
    case BN_CLICKED:
    case CBN_SELCHANGE:
    case EN_CHANGE:
        Changed();
        break;
    default:
        break;
    }
}

INT_PTR PropertyPage_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        // The sheet shows the page; it is only filled here.
        m_opened = true;
        BuildControls(Window());
        m_loading = true;
        LoadValues();
        m_loading = false;
        return TRUE;
    case WM_HSCROLL:
        if (lParam) {
            OnSlider(reinterpret_cast<HWND>(lParam));
            Changed();
        }
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header) return FALSE;
        if (header->code == static_cast<UINT>(PSN_APPLY)) {
            ApplyValues();
            ++m_applyCount;
            ::SetWindowLongPtrW(Window(), DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        }
        if (header->code == static_cast<UINT>(PSN_RESET)) {
            CancelValues();
            return TRUE;
        }
        return SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
    }
    default:
        return SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
    }
}

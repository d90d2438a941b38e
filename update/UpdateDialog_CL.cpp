#include "update/UpdateDialog_CL.h"

#include <algorithm>

#include "ui/ControlBase_CL.h"
#include "ui/DpiScale.h"
#include "ui/WindowCentering.h"
#include "update/UpdateDecision.h"
#include "update/UpdateTexts.h"
#include "update/VersionFile.h"

UpdateDialog_CL::UpdateDialog_CL(const std::wstring& caption, const std::wstring& remoteVersion,
                                 const std::wstring& ownVersion)
    : m_caption(caption), m_text(MakeNoticeText(remoteVersion, ownVersion)) {
    SetStyle(kStyle);
}

int UpdateDialog_CL::ResultOfMessageBox(int answer) {
    if (answer == IDYES) return kNoticeGoToSite;
    if (answer == IDNO) return kNoticeLater;
    return kNoticeClosed;
}

int UpdateDialog_CL::Show(HWND parent, const std::wstring& caption, const std::wstring& remoteVersion,
                          const std::wstring& ownVersion) {
    if (parent) {
        UpdateDialog_CL dialog(caption, remoteVersion, ownVersion);
        INT_PTR result = dialog.DoModal(parent);
        if (result >= 0) return static_cast<int>(result);
    }
    const std::wstring text = MakeNoticeText(remoteVersion, ownVersion);
    return ResultOfMessageBox(::MessageBoxW(parent, text.c_str(), caption.c_str(), MB_YESNOCANCEL));
}

HWND UpdateDialog_CL::NoticeLabel() const {
    ControlBase_CL* label = Controls().At(m_labelIndex);
    return label ? label->Window() : nullptr;
}

HWND UpdateDialog_CL::SiteButton() const {
    ControlBase_CL* button = m_siteButton.At(0);
    return button ? button->Window() : nullptr;
}

HWND UpdateDialog_CL::LaterButton() const {
    ControlBase_CL* button = m_laterButton.At(0);
    return button ? button->Window() : nullptr;
}

void UpdateDialog_CL::OnInitDialog() {
    HWND window = Window();
    ::SetWindowTextW(window, m_caption.c_str());
    int width = ScaleForDpi(kClientWidth96);
    int height = ScaleForDpi(kClientHeight96);
    const int margin = ScaleForDpi(kMarginPixels96);
    const int gap = ScaleForDpi(kGapPixels96);

    m_labelIndex = Controls().AddStaticText(window, margin, margin, m_text);
    m_siteButton.Clear();
    m_laterButton.Clear();
    m_siteButton.AddButton(window, 0, 0, kTextGoToSite);
    m_laterButton.AddButton(window, 0, 0, kTextNotifyLater);

    // The buttons side by side at the bottom right, the later one last.
    ControlBase_CL* site = m_siteButton.At(0);
    ControlBase_CL* later = m_laterButton.At(0);
    int buttonsWidth = (site ? site->Size().cx + gap : 0) + (later ? later->Size().cx : 0);
    int buttonHeight = 0;
    if (site) buttonHeight = std::max<int>(buttonHeight, site->Size().cy);
    if (later) buttonHeight = std::max<int>(buttonHeight, later->Size().cy);
    // A substituted font may draw the notice wider or taller than the usual one: the dialog
    // then grows, so that no line of the notice is cut.
    if (ControlBase_CL* label = Controls().At(m_labelIndex)) {
        SIZE text = label->Size();
        width = std::max<int>(width, text.cx + 2 * margin);
        height = std::max<int>(height, margin + text.cy + gap + buttonHeight + margin);
    }
    width = std::max<int>(width, buttonsWidth + 2 * margin);
    int right = width - margin;
    const int top = height - margin - buttonHeight;
    if (later) {
        later->MoveTo(right - later->Size().cx, top);
        right -= later->Size().cx + gap;
    }
    if (site) site->MoveTo(right - site->Size().cx, top);

    SetClientSize(width, height);
    CenterDialogOnParent(Parent(), window);
    if (site) ::SetFocus(site->Window());
}

void UpdateDialog_CL::OnCommand(UINT controlId, UINT notifyCode, HWND) {
    if (controlId == IDCANCEL) {  // Escape, as closing the window
        EndWith(kNoticeClosed);
        return;
    }
    if (notifyCode != BN_CLICKED) return;
    if (controlId == ID_GO_TO_SITE) {
        EndWith(kNoticeGoToSite);
    } else if (controlId == ID_NOTIFY_LATER) {
        EndWith(kNoticeLater);
    }
}

INT_PTR UpdateDialog_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        m_siteButton.Clear();
        m_laterButton.Clear();
    }
    INT_PTR result = SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
    if (message == WM_INITDIALOG) return FALSE;  // the focus is on the site button already
    return result;
}

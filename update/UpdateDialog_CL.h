#pragma once
// The notice of a newer version: the notice text above two buttons, "　サイトへ移動する　"
// (ends with 1) and "後日通知する　" (ends with 2); closing the window or Escape ends with 0.
// 360 × 160 pixels of client area at 96 dpi, scaled with the display, centred on the parent,
// without minimise and maximise boxes. Without a parent a message box asks the same.
//
// Thread: UI only.

#include <windows.h>

#include <string>

#include "ui/ControlFactory_CL.h"
#include "ui/SubClassDialogBase_CL.h"

class UpdateDialog_CL : public SubClassDialogBase_CL {
public:
    // Fixed command numbers of the two buttons.
    static constexpr UINT ID_GO_TO_SITE = 4096;
    static constexpr UINT ID_NOTIFY_LATER = 4098;
    static constexpr int kClientWidth96 = 360;
    static constexpr int kClientHeight96 = 160;
    static constexpr int kMarginPixels96 = 10;
    static constexpr int kGapPixels96 = 8;
    // Pop-up, caption, system menu and modal frame; no minimise or maximise box.
    static constexpr DWORD kStyle = kDefaultStyle & ~static_cast<DWORD>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);

    UpdateDialog_CL(const std::wstring& caption, const std::wstring& remoteVersion,
                    const std::wstring& ownVersion);

    // Thread: UI. Asks the user: 1 go to the site, 2 notify later, 0 closed. With a parent the
    // dialog, else (or when the dialog cannot be made) a Yes/No/Cancel message box.
    static int Show(HWND parent, const std::wstring& caption, const std::wstring& remoteVersion,
                    const std::wstring& ownVersion);
    // Pure: the message box's answer as the notice's result (Yes 1, No 2, anything else 0).
    static int ResultOfMessageBox(int answer);

    // Thread: UI, while open.
    HWND NoticeLabel() const;
    HWND SiteButton() const;
    HWND LaterButton() const;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog() override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;

private:
    std::wstring m_caption;
    std::wstring m_text;
    int m_labelIndex = -1;
    // One factory per button, so each gets its fixed number.
    ControlFactory_CL m_siteButton{ID_GO_TO_SITE};
    ControlFactory_CL m_laterButton{ID_NOTIFY_LATER};
};

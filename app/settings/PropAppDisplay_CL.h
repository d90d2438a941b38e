#pragma once
// The page 表示設定: the strip's side, the window's opacity (previewed on the player while
// the slider moves), mouse pass-through, and what the picture's overlay shows.
//
// The preview makes the main window layered and topmost at the slider's opacity and starts a
// 5-second timer; the timer, an apply, a cancel and the page's end each put the window back
// to its configured transparency and topmost state, so no preview outlives the page.
// Thread: UI only.

#include "app/settings/BoundSettingsPage_CL.h"

class SettingsHost_CL;

class PropAppDisplay_CL : public BoundSettingsPage_CL {
public:
    static constexpr UINT_PTR kPreviewTimer = 1;
    static constexpr UINT kPreviewMs = 5000;

    PropAppDisplay_CL(AppSettings& settings, SettingsHost_CL& host);

    bool PreviewRunning() const { return m_previewing; }

protected:
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;
    void OnSlider(HWND slider) override;
    void ApplyValues() override;
    void CancelValues() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void EndPreview();

    SettingsHost_CL& m_host;
    bool m_previewing = false;
};

#pragma once
// One page of a property sheet, built like every other dialog of the player: no template
// controls, the controls made in code at WM_INITDIALOG and sized from their texts. A page
// shows the current values when it opens, tells its sheet of any change the user makes (so
// "適用" lights up), writes its values when the sheet applies them (OK or Apply) and writes
// nothing when the sheet is cancelled.
//
// Thread: UI only. The page object outlives its sheet's run.

#include <windows.h>

#include <string>

#include "ui/SubClassDialogBase_CL.h"

class PropertyPage_CL : public SubClassDialogBase_CL {
public:
    // Child, control parent, 3-D look: what a sheet expects of a page.
    static constexpr DWORD kPageStyle = WS_CHILD | DS_CONTROL | DS_3DLOOK;

    explicit PropertyPage_CL(std::wstring title);

    const std::wstring& Title() const { return m_title; }

    // Thread: UI. Makes the page's controls as children of parent (the page's window, or a
    // hidden window when the sheet measures the page) and returns the area they take, margins
    // included, in pixels.
    virtual SIZE BuildControls(HWND parent) = 0;

    // The page's window was made (the user looked at it) during the sheet's run.
    bool WasOpened() const { return m_opened; }
    // How often the page wrote its values during the sheet's run.
    int ApplyCount() const { return m_applyCount; }
    bool WasApplied() const { return m_applyCount > 0; }

protected:
    // After BuildControls in the page's own window: show the current values. Changes made
    // here are not the user's and do not light "適用".
    virtual void LoadValues() {}
    // PSN_APPLY: write the values shown.
    virtual void ApplyValues() = 0;
    // PSN_RESET: the sheet was cancelled; nothing may be written.
    virtual void CancelValues() {}
    // WM_HSCROLL from a slider of the page.
    virtual void OnSlider(HWND slider) { (void)slider; }

    // Thread: UI. Tells the sheet that a value changed (PSM_CHANGED), unless values load.
    void Changed();
    bool Loading() const { return m_loading; }

    // Check boxes, combo boxes and edits report their changes to the sheet; a page that
    // overrides this calls it for the changes it does not handle itself.
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A page never ends itself: the sheet destroys it.
    void OnClose() override {}

private:
    std::wstring m_title;
    bool m_opened = false;
    int m_applyCount = 0;
    bool m_loading = false;
};

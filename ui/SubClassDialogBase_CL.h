#pragma once
// Base of every dialog of the player. There are no dialog resources: the template is built
// in memory (style only, no controls) and the controls are made at WM_INITDIALOG through the
// dialog's ControlFactory_CL, sized from their texts in the dialog font, so Japanese labels
// fit whatever font the system substitutes.
//
// A derived dialog overrides OnInitDialog to make and place its controls and OnCommand /
// OnNotify for their messages; HandleMessage sees every message first for anything else.
//
// Thread: UI only; one dialog object shows at most one window at a time.

#include <windows.h>
#include <prsht.h>

#include <optional>
#include <string>
#include <vector>

#include "base/UniqueHandle_CL.h"
#include "ui/ControlFactory_CL.h"

class SubClassDialogBase_CL {
public:
    // Pop-up, caption, system menu, modal frame and minimise box.
    static constexpr DWORD kDefaultStyle = 0x80CA0080;
    static constexpr size_t kTemplateBytes = 1024;
    static constexpr short kTemplateWidthDlu = 320;
    static constexpr short kTemplateHeightDlu = 240;

    SubClassDialogBase_CL() = default;
    // Destroys a modeless window still open.
    virtual ~SubClassDialogBase_CL();
    SubClassDialogBase_CL(const SubClassDialogBase_CL&) = delete;
    SubClassDialogBase_CL& operator=(const SubClassDialogBase_CL&) = delete;

    // Thread: UI. Runs the dialog modally over parent (may be nullptr); returns the value
    // given to EndWith, or -1 when the dialog could not be made.
    virtual INT_PTR DoModal(HWND parent);
    // Thread: UI. Shows the dialog modelessly; the caller's message loop must pass its
    // messages through IsDialogMessageW. Ends with DestroyWindow or EndWith.
    [[nodiscard]] HRESULT CreateModeless(HWND parent);

    // Thread: UI. Makes the dialog a page of a property sheet: an in-memory template of this
    // size in dialog units, the title on the page's tab, and a procedure that finds this object
    // in the page's WM_INITDIALOG. The sheet creates, shows and destroys the window.
    void PrepareSheetPage(PROPSHEETPAGEW& page, const std::wstring& title, SIZE sizeDlu);
    bool IsSheetPage() const { return m_sheetPage; }

    // The dialog window while it is open, else nullptr.
    HWND Window() const { return m_window; }
    HWND Parent() const { return m_parent; }
    bool IsModal() const { return m_modal; }

    // Before DoModal / CreateModeless: the style of the template.
    void SetStyle(DWORD style) { m_style = style; }
    DWORD Style() const { return m_style; }
    // Before DoModal / CreateModeless: *out receives the window handle at WM_INITDIALOG and
    // is set back to nullptr when the window is gone.
    void SetWindowHandleOut(HWND* out) { m_windowOut = out; }

    ControlFactory_CL& Controls() { return m_controls; }
    const ControlFactory_CL& Controls() const { return m_controls; }

    // Pure: the in-memory template: the style, no extended style, no controls, position 0, 0,
    // size 320 × 240 dialog units (or the size given), no menu, the default class and an
    // empty title.
    static void BuildTemplate(DWORD style, std::vector<DWORD>& buffer,
                              SIZE sizeDlu = SIZE{kTemplateWidthDlu, kTemplateHeightDlu});

protected:
    // Thread: UI. Every message from WM_INITDIALOG on. Returns the dialog procedure's result.
    // The base cracks WM_INITDIALOG, WM_COMMAND, WM_NOTIFY and WM_CLOSE into the handlers
    // below and shows the dialog once OnInitDialog has placed it.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    virtual void OnInitDialog() {}
    virtual void OnCommand(UINT controlId, UINT notifyCode, HWND control) {
        (void)controlId, (void)notifyCode, (void)control;
    }
    // The result goes back through DWLP_MSGRESULT.
    virtual LRESULT OnNotify(const NMHDR& header) {
        (void)header;
        return 0;
    }
    // Ends the dialog with 0.
    virtual void OnClose() { EndWith(0); }

    // Thread: UI. Ends a modal dialog with result; destroys a modeless one.
    void EndWith(INT_PTR result);
    // Thread: UI. Gives the dialog this client size, keeping its position.
    void SetClientSize(int width, int height);

    HDC DialogDC() const { return m_dc ? m_dc->Get() : nullptr; }
    HFONT DialogFont() const { return m_font; }

private:
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window);
    void Detach();

    HWND m_window = nullptr;
    HWND m_parent = nullptr;
    HWND* m_windowOut = nullptr;
    bool m_modal = false;
    bool m_sheetPage = false;
    std::wstring m_pageTitle;  // the tab's text; the sheet reads it while it runs
    DWORD m_style = kDefaultStyle;
    std::optional<WindowDC_CL> m_dc;  // from WM_INITDIALOG to WM_DESTROY
    HFONT m_font = nullptr;           // the stock GUI font: shared, never deleted
    std::vector<DWORD> m_template;    // DWORD elements keep the template aligned
    ControlFactory_CL m_controls;
};

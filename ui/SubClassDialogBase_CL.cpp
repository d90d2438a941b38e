#include "ui/SubClassDialogBase_CL.h"

#include <cstring>

#include "base/LogFile_CL.h"

SubClassDialogBase_CL::~SubClassDialogBase_CL() {
    if (m_window && !m_modal && !m_sheetPage) ::DestroyWindow(m_window);
}

void SubClassDialogBase_CL::PrepareSheetPage(PROPSHEETPAGEW& page, const std::wstring& title, SIZE sizeDlu) {
    m_sheetPage = true;
    m_modal = false;
    m_pageTitle = title;
    BuildTemplate(m_style, m_template, sizeDlu);
    page = PROPSHEETPAGEW{};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    page.hInstance = ::GetModuleHandleW(nullptr);
    page.pResource = reinterpret_cast<const DLGTEMPLATE*>(m_template.data());
    page.pszTitle = m_pageTitle.c_str();
    page.pfnDlgProc = &PageProcedure;
    page.lParam = reinterpret_cast<LPARAM>(this);
}

void SubClassDialogBase_CL::BuildTemplate(DWORD style, std::vector<DWORD>& buffer, SIZE sizeDlu) {
    // Allocated once on first use and reused for every showing.
    if (buffer.size() != kTemplateBytes / sizeof(DWORD)) buffer.assign(kTemplateBytes / sizeof(DWORD), 0);
    std::memset(buffer.data(), 0, kTemplateBytes);

    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer.data());
    dialog->style = style;
    dialog->dwExtendedStyle = 0;
    dialog->cdit = 0;
    dialog->x = 0;
    dialog->y = 0;
    dialog->cx = static_cast<short>(sizeDlu.cx);
    dialog->cy = static_cast<short>(sizeDlu.cy);
    // After the fixed part: menu, class and title, each one WORD 0 here (none, default,
    // empty). The zeroed buffer already holds them.
}

INT_PTR SubClassDialogBase_CL::DoModal(HWND parent) {
    if (m_window) return -1;
    m_parent = parent;
    m_modal = true;
    BuildTemplate(m_style, m_template);
    INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                                               reinterpret_cast<DLGTEMPLATE*>(m_template.data()), parent,
                                               &DialogProcedure, reinterpret_cast<LPARAM>(this));
    if (result == -1) LogPrintf(L"DialogBoxIndirectParamW failed: %u", ::GetLastError());
    return result;
}

HRESULT SubClassDialogBase_CL::CreateModeless(HWND parent) {
    if (m_window) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    m_parent = parent;
    m_modal = false;
    BuildTemplate(m_style, m_template);
    HWND window = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                               reinterpret_cast<DLGTEMPLATE*>(m_template.data()), parent,
                                               &DialogProcedure, reinterpret_cast<LPARAM>(this));
    if (!window) {
        HRESULT hr = HRESULT_FROM_WIN32(::GetLastError());
        LogPrintf(L"CreateDialogIndirectParamW failed: 0x%08x", static_cast<unsigned>(hr));
        return FAILED(hr) ? hr : E_FAIL;
    }
    return S_OK;
}

void SubClassDialogBase_CL::Attach(HWND window) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_window = window;
    if (m_sheetPage) m_parent = ::GetParent(window);  // the sheet
    if (m_windowOut) *m_windowOut = window;
    m_dc.emplace(window);
    m_font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
}

void SubClassDialogBase_CL::Detach() {
    if (m_window) ::SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
    m_window = nullptr;
    if (m_windowOut) *m_windowOut = nullptr;
    // The child windows are gone already; the objects go too, and the next showing numbers
    // its controls from 0x1100 again.
    m_controls.Clear();
}

INT_PTR CALLBACK SubClassDialogBase_CL::PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A page's WM_INITDIALOG carries the sheet's copy of its page description, whose own
    // parameter is the object; from then on the page is served like any other dialog.
    if (message == WM_INITDIALOG) {
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        if (!page) return FALSE;
        lParam = page->lParam;
    }
    return DialogProcedure(window, message, wParam, lParam);
}

INT_PTR CALLBACK SubClassDialogBase_CL::DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                                        LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<SubClassDialogBase_CL*>(lParam);
        self->Attach(window);
        return self->HandleMessage(message, wParam, lParam);
    }
    auto* self = reinterpret_cast<SubClassDialogBase_CL*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return 0;  // before WM_INITDIALOG (WM_SETFONT, WM_NCCREATE, ...)

    INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_DESTROY) {
        self->m_dc.reset();
        self->m_font = nullptr;  // the stock font is shared; nothing to delete
    } else if (message == WM_NCDESTROY) {
        self->Detach();
    }
    return result;
}

INT_PTR SubClassDialogBase_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        if (m_window) ::ShowWindow(m_window, SW_SHOW);
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header) return FALSE;
        LRESULT result = OnNotify(*header);
        ::SetWindowLongPtrW(m_window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_CLOSE:
        OnClose();
        return TRUE;
    default:
        return FALSE;
    }
}

void SubClassDialogBase_CL::EndWith(INT_PTR result) {
    if (!m_window) return;
    if (m_modal) {
        ::EndDialog(m_window, result);
    } else {
        ::DestroyWindow(m_window);
    }
}

void SubClassDialogBase_CL::SetClientSize(int width, int height) {
    if (!m_window) return;
    RECT rect{0, 0, width, height};
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_window, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_window, GWL_EXSTYLE));
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    ::SetWindowPos(m_window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

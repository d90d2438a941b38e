#include "ui/PropertySheet_CL.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstring>

#include "base/LogFile_CL.h"
#include "ui/PropertyPage_CL.h"
#include "ui/WindowCentering.h"

namespace {

// The sheet that runs on this thread: the sheet callback has no parameter of its own.
thread_local PropertySheet_CL* t_running = nullptr;

constexpr WORD kApplyButtonId = 0x3021;  // the sheet's "適用" button

// A hidden dialog in the sheets' own font ("MS Shell Dlg", 8 points).
INT_PTR CALLBACK QuietProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

SIZE SheetFontBaseUnits() {
    // DLGTEMPLATE, then menu, class and title (empty), then the point size and face name.
    std::vector<WORD> buffer(64, 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer.data());
    dialog->style = WS_POPUP | DS_SETFONT | DS_SHELLFONT;
    dialog->cx = 100;
    dialog->cy = 100;
    WORD* tail = reinterpret_cast<WORD*>(dialog + 1);
    tail += 3;       // no menu, default class, empty title
    *tail++ = 8;     // points
    const wchar_t face[] = L"MS Shell Dlg";
    std::memcpy(tail, face, sizeof(face));
    HWND probe = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), dialog, nullptr, &QuietProcedure, 0);
    const LONG base = ::GetDialogBaseUnits();
    SIZE units{LOWORD(base), HIWORD(base)};
    if (probe) {
        RECT rect{0, 0, 4, 8};
        if (::MapDialogRect(probe, &rect)) units = SIZE{rect.right, rect.bottom};
        ::DestroyWindow(probe);
    }
    return units;
}

SIZE PropertySheet_CL::PixelsToDialogUnits(SIZE pixels, SIZE baseUnits) {
    const LONG unitX = std::max<LONG>(1, baseUnits.cx), unitY = std::max<LONG>(1, baseUnits.cy);
    return SIZE{(pixels.cx * 4 + unitX - 1) / unitX, (pixels.cy * 8 + unitY - 1) / unitY};
}

PropertySheet_CL::PropertySheet_CL(std::wstring caption, std::vector<PropertyPage_CL*> pages)
    : m_caption(std::move(caption)), m_pages(std::move(pages)) {}

SIZE PropertySheet_CL::MeasurePages() const {
    SIZE largest{0, 0};
    for (PropertyPage_CL* page : m_pages) {
        HWND scratch = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr);
        if (!scratch) continue;
        const SIZE size = page->BuildControls(scratch);
        page->Controls().Clear();
        ::DestroyWindow(scratch);
        largest.cx = std::max(largest.cx, size.cx);
        largest.cy = std::max(largest.cy, size.cy);
    }
    return largest;
}

int PropertySheet_CL::ApplyCount() const {
    int count = 0;
    for (const PropertyPage_CL* page : m_pages) count += page->ApplyCount();
    return count;
}

INT_PTR PropertySheet_CL::DoModal(HWND owner) {
    if (m_pages.empty() || t_running) return -1;
    const SIZE pageDlu = PixelsToDialogUnits(MeasurePages(), SheetFontBaseUnits());
    std::vector<PROPSHEETPAGEW> pages(m_pages.size());
    for (size_t i = 0; i < m_pages.size(); ++i) m_pages[i]->PrepareSheetPage(pages[i], m_pages[i]->Title(), pageDlu);

    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.hInstance = ::GetModuleHandleW(nullptr);
    header.pszCaption = m_caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    header.pfnCallback = &SheetCallback;

    t_running = this;
    const INT_PTR result = ::PropertySheetW(&header);
    t_running = nullptr;
    m_window = nullptr;
    m_previous = nullptr;
    if (result < 0) {
        LogPrintf(L"PropertySheetW failed: %u", static_cast<unsigned>(::GetLastError()));
        return -1;
    }
    return ApplyCount() > 0 ? 1 : 0;
}

int CALLBACK PropertySheet_CL::SheetCallback(HWND window, UINT message, LPARAM) {
    PropertySheet_CL* self = t_running;
    if (message != PSCB_INITIALIZED || !self || !window) return 0;
    // The sheet's own data may live in its user data: the procedure is swapped and the
    // previous one kept here instead.
    self->m_window = window;
    self->m_previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SheetProcedure)));
    return 0;
}

LRESULT CALLBACK PropertySheet_CL::SheetProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PropertySheet_CL* self = t_running;
    if (!self || !self->m_previous) return ::DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC previous = self->m_previous;
    if (message == WM_SHOWWINDOW && wParam) {
        const LRESULT result = ::CallWindowProcW(previous, window, message, wParam, lParam);
        // Over its owner, whole on the owner's screen.
        PlaceOverOwnerOnScreen(::GetWindow(window, GW_OWNER), window);
        return result;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == kApplyButtonId)) {
        // The sheet sends PSN_APPLY to its pages from here; once they wrote, the owner follows.
        const int before = self->ApplyCount();
        const LRESULT result = ::CallWindowProcW(previous, window, message, wParam, lParam);
        if (self->ApplyCount() > before && self->m_applied) self->m_applied();
        return result;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        self->m_previous = nullptr;
        return ::CallWindowProcW(previous, window, message, wParam, lParam);
    }
    return ::CallWindowProcW(previous, window, message, wParam, lParam);
}

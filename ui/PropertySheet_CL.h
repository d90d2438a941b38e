#pragma once
// The property sheet helper: a modal sheet of PropertyPage_CL pages with OK, キャンセル and
// 適用. Before the sheet is made, every page is built once on a hidden window to learn the
// area its controls take, so the sheet is as large as its largest page in whatever font the
// system gives. The sheet window is sub-classed when it is initialised: each time it is shown
// it centres itself over its owner (or the screen, when the owner is minimised).
//
// Thread: UI only; one sheet runs at a time on a thread.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class PropertyPage_CL;

class PropertySheet_CL {
public:
    // Called once each time the user applied (OK or 適用), after every opened page wrote its
    // values and before an OK closes the sheet.
    using AppliedCallback = std::function<void()>;

    PropertySheet_CL(std::wstring caption, std::vector<PropertyPage_CL*> pages);

    void SetAppliedCallback(AppliedCallback callback) { m_applied = std::move(callback); }

    // Thread: UI. Runs the sheet over owner; 1 when the user applied at least once, 0 when
    // the sheet was cancelled with nothing applied, -1 when it could not be made.
    INT_PTR DoModal(HWND owner);

    // The sheet window while it runs, else nullptr.
    HWND Window() const { return m_window; }

    // Pure: a page area of pixels in dialog units of a font with these base units (the
    // average character width and the height), rounded up.
    static SIZE PixelsToDialogUnits(SIZE pixels, SIZE baseUnits);

private:
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);
    static LRESULT CALLBACK SheetProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The largest page's area in pixels, every page built once on a hidden window.
    SIZE MeasurePages() const;
    int ApplyCount() const;

    std::wstring m_caption;
    std::vector<PropertyPage_CL*> m_pages;
    AppliedCallback m_applied;
    HWND m_window = nullptr;
    WNDPROC m_previous = nullptr;
};

// Thread: UI. The base units (average character width, height) of the font property sheets
// lay their pages out in, measured on a hidden dialog of that font.
SIZE SheetFontBaseUnits();

#pragma once
// The scrolling grid of equal cells that the thumbnail strip is built on. It is not a window
// of its own: the owner window's procedure hands it every message first (HandleMessage), and
// it keeps the scroll state, the selection (anchor and caret), the mouse drag and the key and
// wheel moves, and paints by calling the owner's cell painter for each cell in view.
//
// The grid: cells of CellWidth × CellHeight pixels, Columns() = content width ÷ cell width
// (at least 1), cell index = row × columns + column; the cells are 0 ... count - 1. The owner
// sets the content extent (for a strip, StripContentExtent of CellGrid.h).
//
// Messages it acts on: WM_SIZE, WM_HSCROLL, WM_VSCROLL (every code), WM_PAINT, WM_NCHITTEST
// (answered as a plain window does, so an owner made from a "Static" control still gets the
// mouse), WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_CAPTURECHANGED, WM_KEYDOWN (Enter,
// the arrows, Page Up and Page Down), WM_MOUSEWHEEL, WM_NCDESTROY (forgets the window).
// At count 0 clicks, keys and the selection do nothing.
//
// Thread: UI only.

#include <windows.h>

#include <cstdint>
#include <functional>

#include "ui/CellGrid.h"

class ImageListViewBase_CL {
public:
    // Draws one cell. dc is an off-screen buffer of the whole client area (shown when all cells
    // are drawn), cellRect the cell in client coordinates, index row × columns + column. Called
    // for every grid position of the columns that meets the client area while count > 0,
    // including positions at or past the count (the painter draws those empty). The owner's
    // state (its user data) travels in the function's captures.
    using CellPainter = std::function<void(HDC dc, const RECT& cellRect, int index)>;
    // A cell was activated: clicked (the caret after the click), or Enter pressed.
    using ActivateHandler = std::function<void(int index)>;

    ImageListViewBase_CL() = default;
    virtual ~ImageListViewBase_CL() = default;
    ImageListViewBase_CL(const ImageListViewBase_CL&) = delete;
    ImageListViewBase_CL& operator=(const ImageListViewBase_CL&) = delete;

    // Thread: UI. Works on window from now on: reads its client size and sets its scroll bars.
    // HandleMessage attaches the window it is given when none is attached.
    void Attach(HWND window);
    void Detach();
    HWND Window() const { return m_window; }

    // Thread: UI. Call first in the owner's window procedure with every message. Returns true
    // when the view acted on the message; *result (may be nullptr) is then what the procedure
    // should return. The owner may still act on any message after the view.
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    void SetCellPainter(CellPainter painter) { m_painter = std::move(painter); }
    void SetActivateHandler(ActivateHandler handler) { m_activate = std::move(handler); }

    // Thread: UI. The grid. Each keeps the scroll position inside the new limits, clamps the
    // selection to the cells, updates the scroll bars and repaints. Sizes below 1 count as 1.
    void SetCellSize(int width, int height);
    void SetCount(int count);
    void SetContentExtent(int64_t width, int64_t height);
    // All three at once, with one repaint.
    void SetGrid(int cellWidth, int cellHeight, int count, int64_t contentWidth, int64_t contentHeight);

    const CellGrid& Grid() const { return m_grid; }
    int CellWidth() const { return m_grid.CellWidth(); }
    int CellHeight() const { return m_grid.CellHeight(); }
    int Count() const { return m_grid.Count(); }
    int Columns() const { return m_grid.Columns(); }
    ContentRect ContentExtent() const { return {0, 0, m_grid.ContentWidth(), m_grid.ContentHeight()}; }

    // The selection: the anchor keeps its outline; the cells from anchor to caret (either
    // order, both included) are selected.
    int Anchor() const { return m_selection.anchor; }
    int Caret() const { return m_selection.caret; }
    CellSelection Selection() const { return m_selection; }
    bool IsSelected(int index) const { return IsInSelection(m_selection, index); }
    bool IsDragging() const { return m_dragging; }
    // Thread: UI. Both clamped to the cells; repaints when they change.
    void SetSelection(int anchor, int caret);

    // The scroll position (the content point at the client's top-left) and the visible
    // rectangle in content coordinates.
    ContentPoint ScrollPosition() const { return m_scroll; }
    ContentRect VisibleRect() const;
    SIZE ClientSize() const { return m_clientSize; }
    // The grid position at the top-left of the view.
    int FirstVisibleIndex() const { return m_grid.FirstVisibleIndex(m_scroll); }
    // Cell index in client coordinates (may lie outside the client area).
    RECT CellClientRect(int index) const;
    // Whether cell index meets the visible area; edges that only touch count.
    bool CellTouchesView(int index) const { return m_grid.CellTouchesView(index, VisibleRect()); }
    // The cell under a client point, or -1.
    int HitTestClient(int x, int y) const;

    // Thread: UI. Scrolls as little as needed to show cell index (clamped to the cells), then
    // anchor := caret := index; repaints. Nothing at count 0.
    void ScrollToIndex(int index);
    // Thread: UI. anchor := caret := index (clamped), and the cell's row and column go to the
    // top-left, clamped so the view does not pass the content's end; repaints. Nothing at
    // count 0.
    void ShowIndex(int index);
    // Thread: UI. Puts grid position index at the top-left (clamped) without touching the
    // selection.
    void ScrollIndexToTopLeft(int index);
    // Thread: UI. Scrolls to a content point, clamped; repaints when it moved.
    void ScrollTo(int64_t x, int64_t y);

    // Thread: UI. Invalidates the client area (erased only at count 0); now also paints at once.
    void Repaint(bool now = false);

protected:
    // Called when a cell is activated; calls the activate handler.
    virtual void OnActivate(int index);

private:
    void OnSize();
    void OnScroll(int bar, int code, int thumbPosition16);
    void OnPaint();
    void OnButtonDown(int x, int y, bool shift);
    void OnMouseMove(int x, int y);
    void EndDrag(bool releaseCapture);
    bool OnKeyDown(UINT key);
    void OnWheel(int delta);
    void ReadClientSize();
    void ApplyGridChange(const CellGrid& grid);
    // Moves to scroll (clamped); updates the bars; true when the position changed.
    bool SetScroll(ContentPoint scroll);
    void UpdateScrollBars();

    HWND m_window = nullptr;
    CellGrid m_grid;
    ContentPoint m_scroll;
    SIZE m_clientSize{0, 0};
    CellSelection m_selection;
    bool m_dragging = false;
    int m_sizeDepth = 0;  // WM_SIZE may nest when a scroll bar shows or hides
    CellPainter m_painter;
    ActivateHandler m_activate;
};

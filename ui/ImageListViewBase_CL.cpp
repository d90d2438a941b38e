#include "ui/ImageListViewBase_CL.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>

#include "base/UniqueHandle_CL.h"

namespace {
LONG ToLong(int64_t value) { return static_cast<LONG>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }

bool MapKey(UINT key, CellKey* cellKey) {
    switch (key) {
        case VK_RETURN: *cellKey = CellKey::kEnter; return true;
        case VK_LEFT: *cellKey = CellKey::kLeft; return true;
        case VK_RIGHT: *cellKey = CellKey::kRight; return true;
        case VK_UP: *cellKey = CellKey::kUp; return true;
        case VK_DOWN: *cellKey = CellKey::kDown; return true;
        case VK_PRIOR: *cellKey = CellKey::kPageUp; return true;
        case VK_NEXT: *cellKey = CellKey::kPageDown; return true;
        default: return false;
    }
}
}  // namespace

void ImageListViewBase_CL::Attach(HWND window) {
    m_window = window;
    m_dragging = false;
    if (!m_window) return;
    ReadClientSize();
    m_scroll = m_grid.ClampScroll(m_scroll, m_clientSize.cx, m_clientSize.cy);
    UpdateScrollBars();
}

void ImageListViewBase_CL::Detach() {
    if (m_dragging) EndDrag(true);
    m_window = nullptr;
}

bool ImageListViewBase_CL::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT* result) {
    if (!window) return false;
    if (!m_window) Attach(window);
    if (window != m_window) return false;
    LRESULT answer = 0;
    bool acted = true;
    switch (message) {
        case WM_NCHITTEST:
            // A "Static" control answers HTTRANSPARENT and its clicks would go to the parent.
            answer = ::DefWindowProcW(window, message, wParam, lParam);
            break;
        case WM_SIZE:
            OnSize();
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (lParam != 0) {  // from a scroll bar control of a child, not our own bars
                acted = false;
                break;
            }
            OnScroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam), HIWORD(wParam));
            break;
        case WM_PAINT:
            OnPaint();
            break;
        case WM_LBUTTONDOWN:
            OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_SHIFT) != 0);
            break;
        case WM_MOUSEMOVE:
            acted = m_dragging;
            if (acted) OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            break;
        case WM_LBUTTONUP:
            acted = m_dragging;
            if (acted) EndDrag(true);
            break;
        case WM_CAPTURECHANGED:
            // Another window took the mouse (a menu, a message box): the drag is over.
            if (m_dragging && reinterpret_cast<HWND>(lParam) != window) m_dragging = false;
            acted = false;
            break;
        case WM_KEYDOWN:
            acted = OnKeyDown(static_cast<UINT>(wParam));
            break;
        case WM_MOUSEWHEEL:
            if ((GET_KEYSTATE_WPARAM(wParam) & MK_LBUTTON) == 0) OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            break;
        case WM_NCDESTROY:
            m_window = nullptr;
            m_dragging = false;
            acted = false;
            break;
        default:
            acted = false;
            break;
    }
    if (acted && result) *result = answer;
    return acted;
}

void ImageListViewBase_CL::SetCellSize(int width, int height) {
    ApplyGridChange(CellGrid(width, height, m_grid.Count(), m_grid.ContentWidth(), m_grid.ContentHeight()));
}

void ImageListViewBase_CL::SetCount(int count) {
    ApplyGridChange(CellGrid(m_grid.CellWidth(), m_grid.CellHeight(), count, m_grid.ContentWidth(),
                             m_grid.ContentHeight()));
}

void ImageListViewBase_CL::SetContentExtent(int64_t width, int64_t height) {
    ApplyGridChange(CellGrid(m_grid.CellWidth(), m_grid.CellHeight(), m_grid.Count(), width, height));
}

void ImageListViewBase_CL::SetGrid(int cellWidth, int cellHeight, int count, int64_t contentWidth,
                                   int64_t contentHeight) {
    ApplyGridChange(CellGrid(cellWidth, cellHeight, count, contentWidth, contentHeight));
}

void ImageListViewBase_CL::ApplyGridChange(const CellGrid& grid) {
    m_grid = grid;
    m_selection = {m_grid.Clamp(m_selection.anchor), m_grid.Clamp(m_selection.caret)};
    m_scroll = m_grid.ClampScroll(m_scroll, m_clientSize.cx, m_clientSize.cy);
    UpdateScrollBars();
    Repaint();
}

void ImageListViewBase_CL::SetSelection(int anchor, int caret) {
    CellSelection selection{m_grid.Clamp(anchor), m_grid.Clamp(caret)};
    if (selection == m_selection) return;
    m_selection = selection;
    Repaint();
}

ContentRect ImageListViewBase_CL::VisibleRect() const {
    return {m_scroll.x, m_scroll.y, m_scroll.x + m_clientSize.cx, m_scroll.y + m_clientSize.cy};
}

RECT ImageListViewBase_CL::CellClientRect(int index) const {
    ContentRect cell = m_grid.CellRect(index);
    return {ToLong(cell.left - m_scroll.x), ToLong(cell.top - m_scroll.y), ToLong(cell.right - m_scroll.x),
            ToLong(cell.bottom - m_scroll.y)};
}

int ImageListViewBase_CL::HitTestClient(int x, int y) const {
    return m_grid.HitTest(m_scroll.x + x, m_scroll.y + y);
}

void ImageListViewBase_CL::ScrollToIndex(int index) {
    if (m_grid.Count() == 0) return;
    int cell = m_grid.Clamp(index);
    SetScroll(m_grid.ScrollToShow(cell, m_scroll, m_clientSize.cx, m_clientSize.cy));
    m_selection = {cell, cell};
    Repaint();
}

void ImageListViewBase_CL::ShowIndex(int index) {
    if (m_grid.Count() == 0) return;
    int cell = m_grid.Clamp(index);
    SetScroll(m_grid.ScrollToTopLeft(cell, m_clientSize.cx, m_clientSize.cy));
    m_selection = {cell, cell};
    Repaint();
}

void ImageListViewBase_CL::ScrollIndexToTopLeft(int index) {
    if (SetScroll(m_grid.ScrollToTopLeft(std::max(index, 0), m_clientSize.cx, m_clientSize.cy))) Repaint();
}

void ImageListViewBase_CL::ScrollTo(int64_t x, int64_t y) {
    if (SetScroll({x, y})) Repaint();
}

void ImageListViewBase_CL::Repaint(bool now) {
    if (!m_window) return;
    // With cells the painter covers the whole client area; without, the owner's background does.
    ::InvalidateRect(m_window, nullptr, m_grid.Count() == 0 ? TRUE : FALSE);
    if (now) ::UpdateWindow(m_window);
}

void ImageListViewBase_CL::OnActivate(int index) {
    if (m_activate) m_activate(index);
}

void ImageListViewBase_CL::ReadClientSize() {
    RECT client{};
    if (m_window && ::GetClientRect(m_window, &client)) {
        m_clientSize = {client.right - client.left, client.bottom - client.top};
    } else {
        m_clientSize = {0, 0};
    }
}

void ImageListViewBase_CL::OnSize() {
    // The cell at the top-left stays there: a resize must not lose the user's place.
    int first = FirstVisibleIndex();
    ReadClientSize();
    m_scroll = m_grid.ScrollToTopLeft(first, m_clientSize.cx, m_clientSize.cy);
    // Showing or hiding a scroll bar changes the client size and sends WM_SIZE again from
    // inside SetScrollInfo; two levels settle it, a third would only repeat them.
    if (m_sizeDepth < 2) {
        ++m_sizeDepth;
        UpdateScrollBars();
        --m_sizeDepth;
    }
    Repaint();
}

bool ImageListViewBase_CL::SetScroll(ContentPoint scroll) {
    ContentPoint clamped = m_grid.ClampScroll(scroll, m_clientSize.cx, m_clientSize.cy);
    if (clamped == m_scroll) return false;
    m_scroll = clamped;
    UpdateScrollBars();
    return true;
}

void ImageListViewBase_CL::UpdateScrollBars() {
    if (!m_window) return;
    struct Axis {
        int bar;
        int64_t extent;
        LONG view;
        int64_t position;
    };
    // The horizontal bar first: hiding it makes the client taller, which the vertical bar's
    // page must then see (the nested WM_SIZE reads the new client size).
    const Axis axes[] = {{SB_HORZ, m_grid.ContentWidth(), m_clientSize.cx, m_scroll.x},
                         {SB_VERT, m_grid.ContentHeight(), m_clientSize.cy, m_scroll.y}};
    for (const Axis& axis : axes) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = axis.extent > 0 ? ToLong(axis.extent - 1) : 0;
        info.nPage = static_cast<UINT>(std::max<LONG>(axis.view, 0));
        info.nPos = ToLong(axis.position);
        ::SetScrollInfo(m_window, axis.bar, &info, TRUE);
        if (!m_window) return;  // destroyed from inside a nested message
    }
}

void ImageListViewBase_CL::OnScroll(int bar, int code, int thumbPosition16) {
    bool horizontal = bar == SB_HORZ;
    int64_t position = horizontal ? m_scroll.x : m_scroll.y;
    int64_t line = horizontal ? m_grid.CellWidth() : m_grid.CellHeight();
    int64_t page = std::max<int64_t>(line, horizontal ? m_clientSize.cx : m_clientSize.cy);
    int64_t wanted = position;
    switch (code) {
        case SB_LINEUP: wanted = position - line; break;
        case SB_LINEDOWN: wanted = position + line; break;
        case SB_PAGEUP: wanted = position - page; break;
        case SB_PAGEDOWN: wanted = position + page; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: {
            // The message carries only 16 bits of the position; a longer range is read from
            // the bar, which keeps all 32 while the thumb is dragged.
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_TRACKPOS | SIF_RANGE;
            if (!::GetScrollInfo(m_window, bar, &info)) return;
            wanted = info.nMax <= 0xFFFF ? thumbPosition16 : info.nTrackPos;
            break;
        }
        case SB_TOP: wanted = 0; break;
        case SB_BOTTOM: wanted = INT64_MAX / 2; break;  // clamped to the end below
        default: return;                                 // SB_ENDSCROLL
    }
    ContentPoint scroll = m_scroll;
    (horizontal ? scroll.x : scroll.y) = wanted;
    if (SetScroll(scroll)) Repaint();
}

void ImageListViewBase_CL::OnPaint() {
    PAINTSTRUCT paint{};
    HDC screen = ::BeginPaint(m_window, &paint);
    if (!screen) return;
    const RECT& dirty = paint.rcPaint;
    if (m_grid.Count() > 0 && m_painter && dirty.right > dirty.left && dirty.bottom > dirty.top) {
        // Cells are drawn into a buffer and shown at once, so a repaint while dragging or
        // scrolling never shows a half-drawn strip.
        MemoryDC_CL buffer(::CreateCompatibleDC(screen));
        GdiObject_CL bitmap;
        if (buffer.IsValid()) {
            bitmap.Reset(::CreateCompatibleBitmap(screen, std::max<LONG>(m_clientSize.cx, 1),
                                                  std::max<LONG>(m_clientSize.cy, 1)));
        }
        HDC target = screen;
        HGDIOBJ oldBitmap = nullptr;
        if (bitmap.IsValid()) {
            oldBitmap = ::SelectObject(buffer.Get(), bitmap.Get());
            target = buffer.Get();
        }  // else draw straight onto the window: flicker, but the cells still show

        // Right of the grid's columns there are no cells; the owner's background colour of
        // an empty strip fills it.
        LONG gridRight = ToLong(static_cast<int64_t>(m_grid.Columns()) * m_grid.CellWidth() - m_scroll.x);
        if (gridRight < dirty.right) {
            RECT outside{std::max(gridRight, dirty.left), dirty.top, dirty.right, dirty.bottom};
            ::FillRect(target, &outside, static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH)));
        }

        ContentRect area{m_scroll.x + dirty.left, m_scroll.y + dirty.top, m_scroll.x + dirty.right,
                         m_scroll.y + dirty.bottom};
        CellSpan span = m_grid.CellsMeeting(area);
        int64_t columns = m_grid.Columns();
        for (int64_t row = span.firstRow; !span.IsEmpty() && row <= span.lastRow; ++row) {
            for (int column = span.firstColumn; column <= span.lastColumn; ++column) {
                int64_t index = row * columns + column;
                if (index > INT_MAX) break;
                RECT cell = CellClientRect(static_cast<int>(index));
                m_painter(target, cell, static_cast<int>(index));
            }
        }

        if (target != screen) {
            ::BitBlt(screen, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, target,
                     dirty.left, dirty.top, SRCCOPY);
            ::SelectObject(buffer.Get(), oldBitmap);
        }
    }
    ::EndPaint(m_window, &paint);
}

void ImageListViewBase_CL::OnButtonDown(int x, int y, bool shift) {
    if (m_grid.Count() == 0) return;
    int index = HitTestClient(x, y);
    if (index < 0) return;
    ::SetCapture(m_window);
    m_dragging = true;
    m_selection.anchor = index;
    if (!shift) m_selection.caret = index;
    Repaint();
    OnActivate(m_selection.caret);
}

void ImageListViewBase_CL::OnMouseMove(int x, int y) {
    int index = HitTestClient(x, y);
    if (index < 0 || index == m_selection.caret) return;
    m_selection.caret = index;
    Repaint(true);
}

void ImageListViewBase_CL::EndDrag(bool releaseCapture) {
    // Cleared first: ReleaseCapture sends WM_CAPTURECHANGED from inside.
    m_dragging = false;
    if (releaseCapture && m_window && ::GetCapture() == m_window) ::ReleaseCapture();
}

bool ImageListViewBase_CL::OnKeyDown(UINT key) {
    CellKey cellKey;
    if (!MapKey(key, &cellKey) || m_grid.Count() == 0) return false;
    bool shift = ::GetKeyState(VK_SHIFT) < 0;
    CellKeyResult moved = ApplyCellKey(m_grid, m_selection, cellKey, shift, m_dragging,
                                       m_grid.PageCells(m_clientSize.cx, m_clientSize.cy));
    if (moved.activate) {
        OnActivate(moved.target);
        return true;
    }
    bool changed = !(moved.selection == m_selection);
    m_selection = moved.selection;
    if (moved.scrollIntoView) {
        changed |= SetScroll(m_grid.ScrollToShow(moved.target, m_scroll, m_clientSize.cx, m_clientSize.cy));
    }
    if (changed) Repaint();
    return true;
}

void ImageListViewBase_CL::OnWheel(int delta) {
    if (delta == 0) return;
    // One cell per message whatever the wheel's step; towards the user moves forward.
    int64_t direction = delta < 0 ? 1 : -1;
    ContentPoint scroll = m_scroll;
    if (m_grid.ScrollsHorizontally()) {
        scroll.x += direction * m_grid.CellWidth();
    } else {
        scroll.y += direction * m_grid.CellHeight();
    }
    if (SetScroll(scroll)) Repaint();
}

#include "ui/Edit_CL.h"

SIZE Edit_CL::CellsToPixels(HWND reference, HFONT font, int columns, int rows) {
    SIZE w = MeasureText(reference, font, L"W");
    SIZE m = MeasureText(reference, font, L"M");
    return SIZE{columns * w.cx + kBorderPixels, rows * m.cy + kBorderPixels};
}

HRESULT Edit_CL::Create(HWND parent, UINT id, int x, int y, int columns, int rows,
                        const std::wstring& text) {
    SIZE size = CellsToPixels(parent, Font(), columns, rows);
    return CreateControlWindow(parent, id, WS_EX_CLIENTEDGE, L"Edit", text, kStyle, x, y, size.cx,
                               size.cy);
}

void Edit_CL::FitToCells(int columns, int rows) {
    HWND window = Window();
    if (!window) return;
    SIZE size = CellsToPixels(window, Font(), columns, rows);
    Move(size.cx, size.cy, true);
}

void Edit_CL::SetLimit(int characters) {
    if (HWND window = Window()) {
        ::SendMessageW(window, EM_SETLIMITTEXT, characters > 0 ? characters : 0, 0);
    }
}

void Edit_CL::MoveCaretToEnd() {
    if (HWND window = Window()) {
        int length = ::GetWindowTextLengthW(window);
        ::SendMessageW(window, EM_SETSEL, length, length);
    }
}

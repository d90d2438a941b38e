#pragma once
// An edit field sized in character cells of its font. Thread: UI only.

#include "ui/ControlBase_CL.h"

class Edit_CL : public ControlBase_CL {
public:
    static constexpr ControlKind kKind = ControlKind::Edit;
    // Child, visible, clip siblings/children, vertical scroll bar, tab stop, multi-line,
    // auto vertical scroll, want return.
    static constexpr DWORD kStyle = 0x56211044;
    static constexpr int kBorderPixels = 6;  // the client edge and the inner margin

    explicit Edit_CL(ControlFactory_CL* owner) : ControlBase_CL(kKind, owner) {}

    // Thread: UI. columns times the width of "W" and rows times the height of "M" of the
    // control font, plus the border.
    [[nodiscard]] HRESULT Create(HWND parent, UINT id, int x, int y, int columns, int rows,
                                 const std::wstring& text);
    // Thread: UI. The same sizing again, in the font the control has now (after SetFont).
    void FitToCells(int columns, int rows);
    // Thread: UI. Characters the user may type; 0 lifts the limit.
    void SetLimit(int characters);
    // Thread: UI. Puts the caret after the last character.
    void MoveCaretToEnd();

    // Pure: the pixel size for columns × rows in font, as Create computes it.
    static SIZE CellsToPixels(HWND reference, HFONT font, int columns, int rows);
};

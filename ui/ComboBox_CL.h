#pragma once
// A drop-down list of the extended combo box class, sized in character cells.
// Thread: UI only.

#include "ui/ControlBase_CL.h"

class ComboBox_CL : public ControlBase_CL {
public:
    static constexpr ControlKind kKind = ControlKind::ComboBox;
    // Child, visible, clip siblings/children, both scroll bars, tab stop, auto horizontal
    // scroll, drop-down.
    static constexpr DWORD kDefaultStyle = 0x56310042;
    static constexpr DWORD kRequiredStyle = 0x56010002;  // combined with a given style

    explicit ComboBox_CL(ControlFactory_CL* owner) : ControlBase_CL(kKind, owner) {}

    // Thread: UI. columns times the width of "W"; rows times the height of "M" (the height
    // includes the dropped list). style 0 takes the default style.
    [[nodiscard]] virtual HRESULT Create(HWND parent, UINT id, int x, int y, int columns, int rows,
                                         DWORD style);

    // Thread: UI. Appends an entry; returns its index or -1.
    int AddItem(const std::wstring& text);
    int Count() const;
    // -1 when nothing is selected.
    int Selection() const;
    void Select(int index);
    std::wstring ItemText(int index) const;
};

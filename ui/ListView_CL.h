#pragma once
// A report-view list, given its size. Thread: UI only.

#include "ui/ControlBase_CL.h"

class ListView_CL : public ControlBase_CL {
public:
    static constexpr ControlKind kKind = ControlKind::ListView;
    // Child, visible, clip siblings/children, both scroll bars, tab stop, report view,
    // selection shown always; combined with a given style.
    static constexpr DWORD kRequiredStyle = 0x56310009;

    explicit ListView_CL(ControlFactory_CL* owner) : ControlBase_CL(kKind, owner) {}

    [[nodiscard]] HRESULT Create(HWND parent, UINT id, int x, int y, int width, int height,
                                 DWORD style);

    // Thread: UI. Each returns the new index or -1.
    int AddColumn(const std::wstring& title, int widthPixels);
    int AddRow(const std::wstring& firstColumnText);
    bool SetCellText(int row, int column, const std::wstring& text);
    std::wstring CellText(int row, int column) const;
    int RowCount() const;
    void SetExtendedStyle(DWORD extendedStyle);
};

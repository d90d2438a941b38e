#include "ui/ListView_CL.h"

#include <commctrl.h>

HRESULT ListView_CL::Create(HWND parent, UINT id, int x, int y, int width, int height, DWORD style) {
    return CreateControlWindow(parent, id, WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style | kRequiredStyle,
                               x, y, width, height);
}

int ListView_CL::AddColumn(const std::wstring& title, int widthPixels) {
    HWND window = Window();
    if (!window) return -1;
    HWND header = reinterpret_cast<HWND>(::SendMessageW(window, LVM_GETHEADER, 0, 0));
    int index = header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.cx = widthPixels;
    column.iSubItem = index;
    return static_cast<int>(::SendMessageW(window, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
}

int ListView_CL::AddRow(const std::wstring& firstColumnText) {
    HWND window = Window();
    if (!window) return -1;
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = const_cast<wchar_t*>(firstColumnText.c_str());
    return static_cast<int>(::SendMessageW(window, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListView_CL::SetCellText(int row, int column, const std::wstring& text) {
    HWND window = Window();
    if (!window) return false;
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return ::SendMessageW(window, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::wstring ListView_CL::CellText(int row, int column) const {
    HWND window = Window();
    if (!window) return std::wstring();
    wchar_t buffer[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(sizeof(buffer) / sizeof(buffer[0]));
    int length = static_cast<int>(::SendMessageW(window, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
    return std::wstring(buffer, length > 0 ? length : 0);
}

int ListView_CL::RowCount() const {
    HWND window = Window();
    return window ? static_cast<int>(::SendMessageW(window, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

void ListView_CL::SetExtendedStyle(DWORD extendedStyle) {
    if (HWND window = Window()) {
        ::SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, extendedStyle, extendedStyle);
    }
}

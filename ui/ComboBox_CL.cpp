#include "ui/ComboBox_CL.h"

#include <commctrl.h>

HRESULT ComboBox_CL::Create(HWND parent, UINT id, int x, int y, int columns, int rows, DWORD style) {
    SIZE w = MeasureInOwnFont(parent, L"W");
    SIZE m = MeasureInOwnFont(parent, L"M");
    DWORD fullStyle = style == 0 ? kDefaultStyle : (style | kRequiredStyle);
    return CreateControlWindow(parent, id, 0, WC_COMBOBOXEXW, L"", fullStyle, x, y, columns * w.cx,
                               rows * m.cy);
}

int ComboBox_CL::AddItem(const std::wstring& text) {
    HWND window = Window();
    if (!window) return -1;
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = -1;  // at the end
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return static_cast<int>(::SendMessageW(window, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int ComboBox_CL::Count() const {
    HWND window = Window();
    return window ? static_cast<int>(::SendMessageW(window, CB_GETCOUNT, 0, 0)) : 0;
}

int ComboBox_CL::Selection() const {
    HWND window = Window();
    return window ? static_cast<int>(::SendMessageW(window, CB_GETCURSEL, 0, 0)) : -1;
}

void ComboBox_CL::Select(int index) {
    if (HWND window = Window()) ::SendMessageW(window, CB_SETCURSEL, index, 0);
}

std::wstring ComboBox_CL::ItemText(int index) const {
    HWND window = Window();
    if (!window) return std::wstring();
    wchar_t buffer[512] = {};
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(sizeof(buffer) / sizeof(buffer[0]));
    if (!::SendMessageW(window, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return std::wstring();
    return std::wstring(item.pszText ? item.pszText : L"");
}

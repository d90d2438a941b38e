#include "ui/CheckBox_CL.h"

#include <algorithm>

namespace {
constexpr DWORD kCheckBoxStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | BS_AUTOCHECKBOX;
}

HRESULT CheckBox_CL::Create(HWND parent, UINT id, int x, int y, const std::wstring& text) {
    SIZE size = MeasureInOwnFont(parent, text);
    int boxWidth = ::GetSystemMetrics(SM_CXMENUCHECK);
    int boxHeight = ::GetSystemMetrics(SM_CYMENUCHECK);
    // The platform draws the box and a focus rectangle around the label; room for both.
    int width = boxWidth + kGapPixels + size.cx + 4;
    int height = std::max<int>(boxHeight, size.cy) + 4;
    return CreateControlWindow(parent, id, 0, L"Button", text, kCheckBoxStyle, x, y, width, height);
}

bool CheckBox_CL::IsChecked() const {
    HWND window = Window();
    return window && ::SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox_CL::SetChecked(bool checked) {
    if (HWND window = Window()) {
        ::SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

#include "ui/GroupBox_CL.h"

#include <algorithm>

namespace {
constexpr DWORD kGroupStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX;
constexpr int kCaptionInsetPixels = 16;  // the frame starts the caption a little way in
}

HRESULT GroupBox_CL::Create(HWND parent, UINT id, int x, int y, int width, int height,
                            const std::wstring& text) {
    SIZE size = MeasureInOwnFont(parent, text);
    width = std::max<int>(width, size.cx + kCaptionInsetPixels);
    height = std::max<int>(height, size.cy);
    return CreateControlWindow(parent, id, 0, L"Button", text, kGroupStyle, x, y, width, height);
}

#include "ui/Button_CL.h"

HRESULT Button_CL::Create(HWND parent, UINT id, int x, int y, const std::wstring& text) {
    SIZE size = MeasureInOwnFont(parent, text);
    return CreateControlWindow(parent, id, 0, L"Button", text, kStyle | BS_PUSHBUTTON, x, y,
                               size.cx + kPaddingPixels, size.cy + kPaddingPixels);
}

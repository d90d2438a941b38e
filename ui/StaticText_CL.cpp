#include "ui/StaticText_CL.h"

namespace {
constexpr DWORD kStaticStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SS_NOPREFIX;
}

HRESULT StaticText_CL::Create(HWND parent, UINT id, int x, int y, const std::wstring& text) {
    SIZE size = MeasureInOwnFont(parent, text);
    return CreateControlWindow(parent, id, 0, L"Static", text, kStaticStyle, x, y, size.cx, size.cy);
}

void StaticText_CL::SetTextAndFit(const std::wstring& text) {
    HWND window = Window();
    if (!window) return;
    SetText(text);
    SIZE size = MeasureInOwnFont(window, text);
    Move(size.cx, size.cy, true);
}

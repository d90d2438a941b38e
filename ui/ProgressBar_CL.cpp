#include "ui/ProgressBar_CL.h"

#include <commctrl.h>

namespace {
constexpr DWORD kProgressStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

HRESULT ProgressBar_CL::Create(HWND parent, UINT id, int x, int y, int width, int height) {
    return CreateControlWindow(parent, id, 0, PROGRESS_CLASSW, L"", kProgressStyle, x, y, width, height);
}

void ProgressBar_CL::SetRange(int minimum, int maximum) {
    if (HWND window = Window()) ::SendMessageW(window, PBM_SETRANGE32, minimum, maximum);
}

void ProgressBar_CL::SetPosition(int position) {
    if (HWND window = Window()) ::SendMessageW(window, PBM_SETPOS, position, 0);
}

int ProgressBar_CL::Position() const {
    HWND window = Window();
    return window ? static_cast<int>(::SendMessageW(window, PBM_GETPOS, 0, 0)) : 0;
}

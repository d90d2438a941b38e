#include "ui/TrackBar_CL.h"

#include <commctrl.h>

namespace {
constexpr long long kMaxTicks = 50;
constexpr DWORD kTrackStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS;
}

HRESULT TrackBar_CL::Create(HWND parent, UINT id, int x, int y, int width, int height) {
    return CreateControlWindow(parent, id, 0, TRACKBAR_CLASSW, L"", kTrackStyle, x, y, width, height);
}

void TrackBar_CL::SetRange(int minimum, int maximum) {
    if (HWND window = Window()) {
        const long long span = static_cast<long long>(maximum) - minimum;
        const long long frequency = span > kMaxTicks ? span / kMaxTicks : 1;
        ::SendMessageW(window, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
        ::SendMessageW(window, TBM_SETRANGEMIN, FALSE, minimum);
        ::SendMessageW(window, TBM_SETRANGEMAX, TRUE, maximum);
        // Some versions of the control place the thumb anew only when the position changes:
        // it is moved away and back so it stands where the new range puts it.
        const LRESULT position = ::SendMessageW(window, TBM_GETPOS, 0, 0);
        ::SendMessageW(window, TBM_SETPOS, FALSE, position == minimum ? maximum : minimum);
        ::SendMessageW(window, TBM_SETPOS, TRUE, position);
    }
}

void TrackBar_CL::SetSteps(int line, int page) {
    if (HWND window = Window()) {
        ::SendMessageW(window, TBM_SETLINESIZE, 0, line);
        ::SendMessageW(window, TBM_SETPAGESIZE, 0, page);
    }
}

void TrackBar_CL::SetPosition(int position) {
    HWND window = Window();
    if (!window) return;
    // As in SetRange: a position equal to the last one would not move the thumb.
    if (::SendMessageW(window, TBM_GETPOS, 0, 0) == position) {
        const LRESULT minimum = ::SendMessageW(window, TBM_GETRANGEMIN, 0, 0);
        const LRESULT maximum = ::SendMessageW(window, TBM_GETRANGEMAX, 0, 0);
        ::SendMessageW(window, TBM_SETPOS, FALSE, position == minimum ? maximum : minimum);
    }
    ::SendMessageW(window, TBM_SETPOS, TRUE, position);
}

int TrackBar_CL::Position() const {
    HWND window = Window();
    return window ? static_cast<int>(::SendMessageW(window, TBM_GETPOS, 0, 0)) : 0;
}

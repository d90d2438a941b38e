#include "tests/ui/HostWindow_CL.h"

namespace {
constexpr wchar_t kClassName[] = L"LumikinoUiTestHost";

void RegisterOnce(WNDPROC procedure) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = procedure;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kClassName;
    registered = ::RegisterClassExW(&cls) != 0;
}
}  // namespace

HostWindow_CL::HostWindow_CL(RECT rect, bool visible) {
    RegisterOnce(&Procedure);
    m_window = ::CreateWindowExW(0, kClassName, L"ホスト", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect.left,
                                 rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), this);
    if (m_window && visible) {
        ::ShowWindow(m_window, SW_SHOWNORMAL);
        ::UpdateWindow(m_window);
    }
}

HostWindow_CL::~HostWindow_CL() {
    if (m_window && ::IsWindow(m_window)) ::DestroyWindow(m_window);
}

LRESULT CALLBACK HostWindow_CL::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow_CL*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COMMAND) self->m_commands.push_back(LOWORD(wParam));
    if (self && message == WM_NCDESTROY) self->m_window = nullptr;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool HostWindow_CL::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    while (!done()) {
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return done();
        // Wakes for the next message; the timeout only bounds a test that went wrong.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        PumpPending();
    }
    return true;
}

void HostWindow_CL::PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

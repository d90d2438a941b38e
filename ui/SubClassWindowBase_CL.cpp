#include "ui/SubClassWindowBase_CL.h"

SubClassWindowBase_CL::~SubClassWindowBase_CL() { UnSubClass(); }

HRESULT SubClassWindowBase_CL::SubClass(HWND window) {
    if (!window || !::IsWindow(window)) return E_INVALIDARG;
    if (m_window) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    if (::GetWindowLongPtrW(window, GWLP_USERDATA) != 0) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);

    // The user data is set first: the procedure may run as soon as it is in place.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetLastError(0);
    LONG_PTR previous = ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    if (previous == 0) {
        DWORD error = ::GetLastError();
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    m_previous = reinterpret_cast<WNDPROC>(previous);
    m_window = window;
    return S_OK;
}

void SubClassWindowBase_CL::UnSubClass() {
    if (!m_window) return;
    HWND window = m_window;
    m_window = nullptr;
    if (::IsWindow(window)) {
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    m_previous = nullptr;
    OnDetached();
}

LRESULT SubClassWindowBase_CL::OnSubClassMessage(UINT, WPARAM, LPARAM) { return 0; }

LRESULT SubClassWindowBase_CL::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_previous) return ::DefWindowProcW(m_window, message, wParam, lParam);
    return ::CallWindowProcW(m_previous, m_window, message, wParam, lParam);
}

LRESULT CALLBACK SubClassWindowBase_CL::Procedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    auto* self = reinterpret_cast<SubClassWindowBase_CL*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->m_window != window) {
        // Not ours any more (user data changed under us): nothing sensible but the default.
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    WNDPROC previous = self->m_previous;

    // A handler may send messages to its own window; each level keeps its own flag.
    bool outerHandled = self->m_handled;
    self->m_handled = false;
    LRESULT result = self->OnSubClassMessage(message, wParam, lParam);
    bool handled = self->m_handled;
    self->m_handled = outerHandled;

    if (message == WM_DESTROY) {
        // The control's own procedure must see its WM_DESTROY and WM_NCDESTROY to free
        // what it allocated, so it is put back first and then given the message.
        self->UnSubClass();
        LRESULT plain = ::CallWindowProcW(previous, window, message, wParam, lParam);
        return handled ? result : plain;
    }
    if (handled) return result;
    return ::CallWindowProcW(previous, window, message, wParam, lParam);
}

#include "ui/ControlBase_CL.h"

#include <vector>

#include "base/LogFile_CL.h"

namespace {
// Keeps a font selected into a device context for a scope.
class SelectedFont {
public:
    SelectedFont(HDC dc, HFONT font) : m_dc(dc), m_old(::SelectObject(dc, font)) {}
    ~SelectedFont() {
        if (m_old) ::SelectObject(m_dc, m_old);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};
}  // namespace

ControlBase_CL::~ControlBase_CL() {
    if (HWND window = Window()) {
        UnSubClass();
        ::DestroyWindow(window);
    }
}

SIZE ControlBase_CL::MeasureText(HWND reference, HFONT font, const std::wstring& text) {
    WindowDC_CL dc(reference);
    if (!dc.Get()) return SIZE{0, 0};
    SelectedFont selected(dc.Get(), font);
    RECT rect{0, 0, 0, 0};
    if (text.empty()) {
        // An empty label still takes one line's height.
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc.Get(), &metrics);
        return SIZE{0, metrics.tmHeight};
    }
    ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
                DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

SIZE ControlBase_CL::MeasureInOwnFont(HWND reference, const std::wstring& text) const {
    return MeasureText(reference, m_font, text);
}

HRESULT ControlBase_CL::CreateControlWindow(HWND parent, UINT id, DWORD exStyle,
                                            const wchar_t* className, const std::wstring& text,
                                            DWORD style, int x, int y, int width, int height) {
    if (!parent) return E_INVALIDARG;
    if (Window()) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    HWND window = ::CreateWindowExW(exStyle, className, text.c_str(), style, x, y, width, height,
                                    parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                    ::GetModuleHandleW(nullptr), this);
    if (!window) {
        HRESULT hr = HRESULT_FROM_WIN32(::GetLastError());
        if (SUCCEEDED(hr)) hr = E_FAIL;
        LogPrintf(L"CreateWindowExW(%ls) failed: 0x%08x", className, static_cast<unsigned>(hr));
        return hr;
    }
    m_id = id;
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    HRESULT hr = SubClass(window);
    if (FAILED(hr)) {
        ::DestroyWindow(window);
        return hr;
    }
    return S_OK;
}

LRESULT ControlBase_CL::OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_callback) return 0;
    bool handled = false;
    LRESULT result = m_callback(*this, message, wParam, lParam, handled);
    SetHandled(handled);
    return result;
}

RECT ControlBase_CL::RectInParent() const {
    RECT rect{0, 0, 0, 0};
    HWND window = Window();
    if (!window) return rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE ControlBase_CL::Size() const {
    RECT rect = RectInParent();
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void ControlBase_CL::Move(int width, int height, bool repaint) {
    HWND window = Window();
    if (!window) return;
    RECT rect = RectInParent();
    ::MoveWindow(window, rect.left, rect.top, width, height, repaint ? TRUE : FALSE);
}

void ControlBase_CL::MoveTo(int x, int y) {
    if (HWND window = Window()) {
        ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ControlBase_CL::SetFont(GdiObject_CL font) {
    if (!font.IsValid()) return;
    HFONT handle = static_cast<HFONT>(font.Get());
    if (HWND window = Window()) {
        ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
    }
    // The old font is freed only after the control has let go of it.
    m_font = handle;
    m_ownedFont = std::move(font);
}

std::wstring ControlBase_CL::Text() const {
    HWND window = Window();
    if (!window) return std::wstring();
    int length = ::GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
    return std::wstring(buffer.data(), copied > 0 ? copied : 0);
}

void ControlBase_CL::SetText(const std::wstring& text) {
    if (HWND window = Window()) ::SetWindowTextW(window, text.c_str());
}

void ControlBase_CL::Enable(bool enabled) {
    if (HWND window = Window()) ::EnableWindow(window, enabled ? TRUE : FALSE);
}

void ControlBase_CL::Show(bool visible) {
    if (HWND window = Window()) ::ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
}

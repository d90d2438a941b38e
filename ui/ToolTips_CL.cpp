#include "ui/ToolTips_CL.h"

#include <commctrl.h>

#include "base/LogFile_CL.h"
#include "ui/CommonControls.h"

namespace {
// The older library rejects the newer structure size; this one is accepted by both.
TTTOOLINFOW MakeToolInfo(HWND window, UINT toolId) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = window;
    info.uId = toolId;
    return info;
}
}  // namespace

ToolTips_CL::~ToolTips_CL() {
    if (m_window && ::IsWindow(m_window)) ::DestroyWindow(m_window);
}

HRESULT ToolTips_CL::Create(HWND owner) {
    if (m_window) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    EnsureCommonControls();
    m_window = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, ::GetModuleHandleW(nullptr),
                                 nullptr);
    if (!m_window) {
        HRESULT hr = HRESULT_FROM_WIN32(::GetLastError());
        LogPrintf(L"ToolTips: window not created: 0x%08x", static_cast<unsigned>(hr));
        return FAILED(hr) ? hr : E_FAIL;
    }
    return S_OK;
}

bool ToolTips_CL::AddTool(HWND window, UINT toolId, const RECT& rect, const std::wstring& text) {
    if (!m_window) return false;
    TTTOOLINFOW info = MakeToolInfo(window, toolId);
    info.uFlags = 0;
    info.rect = rect;
    info.hinst = nullptr;
    info.lpszText = const_cast<wchar_t*>(text.c_str());  // copied by the tip window
    return ::SendMessageW(m_window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool ToolTips_CL::SetToolRect(HWND window, UINT toolId, const RECT& rect) {
    if (!m_window) return false;
    TTTOOLINFOW info = MakeToolInfo(window, toolId);
    info.rect = rect;
    ::SendMessageW(m_window, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

std::wstring ToolTips_CL::ToolText(HWND window, UINT toolId) const {
    if (!m_window) return std::wstring();
    // Texts of tool tips stay short; the older library takes no buffer size, so the
    // buffer is large enough for any text the player gives.
    wchar_t buffer[512] = {};
    TTTOOLINFOW info = MakeToolInfo(window, toolId);
    info.lpszText = buffer;
    ::SendMessageW(m_window, TTM_GETTEXTW, sizeof(buffer) / sizeof(buffer[0]), reinterpret_cast<LPARAM>(&info));
    return std::wstring(buffer);
}

int ToolTips_CL::ToolCount() const {
    return m_window ? static_cast<int>(::SendMessageW(m_window, TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

void ToolTips_CL::RelayEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_window) return;
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        break;
    default:
        return;
    }
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(::GetMessageTime());
    DWORD pos = ::GetMessagePos();
    msg.pt.x = static_cast<short>(LOWORD(pos));
    msg.pt.y = static_cast<short>(HIWORD(pos));
    ::SendMessageW(m_window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

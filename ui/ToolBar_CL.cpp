#include "ui/ToolBar_CL.h"

#include <commctrl.h>

#include "base/LogFile_CL.h"
#include "ui/CommonControls.h"
#include "ui/ImageList_CL.h"

namespace {
constexpr DWORD kToolBarStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | CCS_TOP | CCS_NODIVIDER;
}

ToolBar_CL::~ToolBar_CL() {
    if (HWND window = Window()) {
        UnSubClass();
        ::DestroyWindow(window);
    }
}

HRESULT ToolBar_CL::Create(HWND parent, UINT controlId, const ImageList_CL& images,
                           const std::vector<ToolBarButton>& buttons) {
    if (!parent || buttons.size() > kMaxButtons || !images.Get()) return E_INVALIDARG;
    if (Window()) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    EnsureCommonControls();

    HWND window = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, kToolBarStyle, 0, 0, 0, 0, parent,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        HRESULT hr = HRESULT_FROM_WIN32(::GetLastError());
        LogPrintf(L"ToolBar: window not created: 0x%08x", static_cast<unsigned>(hr));
        return FAILED(hr) ? hr : E_FAIL;
    }
    ::SendMessageW(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(window, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Get()));

    std::vector<TBBUTTON> table;
    table.reserve(buttons.size());
    for (const ToolBarButton& button : buttons) {
        TBBUTTON entry{};
        entry.iBitmap = button.commandId == 0 ? 0 : button.imageIndex;
        entry.idCommand = static_cast<int>(button.commandId);
        entry.fsState = TBSTATE_ENABLED;
        entry.fsStyle = button.commandId == 0 ? BTNS_SEP : BTNS_BUTTON;
        entry.iString = -1;
        table.push_back(entry);
    }
    if (!table.empty() &&
        !::SendMessageW(window, TB_ADDBUTTONSW, table.size(), reinterpret_cast<LPARAM>(table.data()))) {
        ::DestroyWindow(window);
        return E_FAIL;
    }
    ::SendMessageW(window, TB_AUTOSIZE, 0, 0);

    HRESULT hr = SubClass(window);
    if (FAILED(hr)) {
        ::DestroyWindow(window);
        return hr;
    }
    // The tips belong to the top-level window, so they show above it and go with it.
    HWND owner = ::GetAncestor(parent, GA_ROOT);
    if (SUCCEEDED(m_tips.Create(owner ? owner : parent))) {
        m_commandIds.clear();
        for (const ToolBarButton& button : buttons) {
            if (button.commandId == 0 || button.tooltip.empty()) continue;
            m_tips.AddTool(window, button.commandId, ButtonRect(button.commandId), button.tooltip);
            m_commandIds.push_back(button.commandId);
        }
    }
    return S_OK;
}

void ToolBar_CL::Layout() {
    if (HWND window = Window()) {
        ::SendMessageW(window, TB_AUTOSIZE, 0, 0);
        UpdateTipRects();
    }
}

void ToolBar_CL::UpdateTipRects() {
    for (UINT commandId : m_commandIds) m_tips.SetToolRect(Window(), commandId, ButtonRect(commandId));
}

int ToolBar_CL::Height() const {
    RECT rect{};
    if (HWND window = Window()) ::GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

int ToolBar_CL::ButtonCount() const {
    HWND window = Window();
    return window ? static_cast<int>(::SendMessageW(window, TB_BUTTONCOUNT, 0, 0)) : 0;
}

RECT ToolBar_CL::ButtonRect(UINT commandId) const {
    RECT rect{0, 0, 0, 0};
    if (HWND window = Window()) ::SendMessageW(window, TB_GETRECT, commandId, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void ToolBar_CL::SetChecked(UINT commandId, bool checked) {
    if (HWND window = Window()) ::SendMessageW(window, TB_CHECKBUTTON, commandId, MAKELPARAM(checked ? 1 : 0, 0));
}

void ToolBar_CL::SetEnabled(UINT commandId, bool enabled) {
    if (HWND window = Window()) ::SendMessageW(window, TB_ENABLEBUTTON, commandId, MAKELPARAM(enabled ? 1 : 0, 0));
}

LRESULT ToolBar_CL::OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    m_tips.RelayEvent(Window(), message, wParam, lParam);
    switch (message) {
    case WM_SIZE:
        // The buttons may have moved; the plain procedure moves them first.
        {
            LRESULT result = CallPrevious(message, wParam, lParam);
            UpdateTipRects();
            SetHandled();
            return result;
        }
    default:
        break;
    }
    return 0;
}

#pragma once
// A tool tip window with fixed texts for rectangles of other windows. The windows whose
// tools it shows relay their mouse messages to it (RelayEvent), which works the same with
// both versions of the common controls and needs no second sub-classing of those windows.
//
// Thread: UI only.

#include <windows.h>

#include <string>

class ToolTips_CL {
public:
    ToolTips_CL() = default;
    // Destroys the tip window if it still lives (it also goes with its owner).
    ~ToolTips_CL();
    ToolTips_CL(const ToolTips_CL&) = delete;
    ToolTips_CL& operator=(const ToolTips_CL&) = delete;

    // Thread: UI. A tip window owned by owner.
    [[nodiscard]] HRESULT Create(HWND owner);
    // Thread: UI. A tip text for rect (client coordinates of window), known by toolId.
    bool AddTool(HWND window, UINT toolId, const RECT& rect, const std::wstring& text);
    bool SetToolRect(HWND window, UINT toolId, const RECT& rect);
    std::wstring ToolText(HWND window, UINT toolId) const;
    int ToolCount() const;
    // Thread: UI. Hands one message of a tool's window to the tip window when it is a mouse
    // move or button message (the ones a tip window reads); any other message is left alone,
    // so a window procedure may pass every message it sees.
    void RelayEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND Window() const { return m_window; }

private:
    HWND m_window = nullptr;
};

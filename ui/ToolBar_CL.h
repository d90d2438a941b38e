#pragma once
// The tool bar: picture buttons from an image list, each with a command id and a tool tip.
// A click sends WM_COMMAND with the command id to the parent, as any tool bar does. The
// tool bar is sub-classed so that it hands its mouse messages to its own tip window.
//
// Thread: UI only. The image list must outlive the tool bar (the tool bar only borrows it).

#include <windows.h>

#include <string>
#include <vector>

#include "ui/SubClassWindowBase_CL.h"
#include "ui/ToolTips_CL.h"

class ImageList_CL;

struct ToolBarButton {
    UINT commandId;       // 0 makes a separator
    int imageIndex;       // in the image list
    std::wstring tooltip;
};

class ToolBar_CL : public SubClassWindowBase_CL {
public:
    static constexpr size_t kMaxButtons = 32;

    ToolBar_CL() = default;
    ~ToolBar_CL() override;

    // Thread: UI. A flat tool bar across the top of parent with the buttons in order.
    // E_INVALIDARG for more than kMaxButtons buttons or an empty image list.
    [[nodiscard]] HRESULT Create(HWND parent, UINT controlId, const ImageList_CL& images,
                                 const std::vector<ToolBarButton>& buttons);

    // Thread: UI. After the parent's size changed: fits the bar and moves the tips along.
    void Layout();
    int Height() const;
    int ButtonCount() const;
    // Thread: UI. The button's rectangle in the tool bar's client area (empty when unknown).
    RECT ButtonRect(UINT commandId) const;
    void SetChecked(UINT commandId, bool checked);
    void SetEnabled(UINT commandId, bool enabled);

    const ToolTips_CL& Tips() const { return m_tips; }

protected:
    LRESULT OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateTipRects();

    ToolTips_CL m_tips;
    std::vector<UINT> m_commandIds;  // buttons with a tip, in order
};

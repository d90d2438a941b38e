#pragma once
// A check box sized to its box and label. Thread: UI only.

#include "ui/ControlBase_CL.h"

class CheckBox_CL : public ControlBase_CL {
public:
    static constexpr ControlKind kKind = ControlKind::CheckBox;
    static constexpr int kGapPixels = 6;  // between the box and the label

    explicit CheckBox_CL(ControlFactory_CL* owner) : ControlBase_CL(kKind, owner) {}

    // Thread: UI. An automatic check box at x, y of parent.
    [[nodiscard]] HRESULT Create(HWND parent, UINT id, int x, int y, const std::wstring& text);

    bool IsChecked() const;
    void SetChecked(bool checked);
};

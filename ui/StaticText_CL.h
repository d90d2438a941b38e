#pragma once
// A label sized to its text. Thread: UI only.

#include "ui/ControlBase_CL.h"

class StaticText_CL : public ControlBase_CL {
public:
    static constexpr ControlKind kKind = ControlKind::StaticText;
    explicit StaticText_CL(ControlFactory_CL* owner) : ControlBase_CL(kKind, owner) {}

    // Thread: UI. "Static" at x, y of parent, exactly as large as the text in the control font.
    [[nodiscard]] HRESULT Create(HWND parent, UINT id, int x, int y, const std::wstring& text);
    // Thread: UI. Replaces the text and fits the size to it again.
    void SetTextAndFit(const std::wstring& text);
};

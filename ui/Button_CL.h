#pragma once
// A push button sized to its label. Thread: UI only.

#include "ui/ControlBase_CL.h"

class Button_CL : public ControlBase_CL {
public:
    static constexpr ControlKind kKind = ControlKind::Button;
    static constexpr DWORD kStyle = 0x56010000;  // child, visible, clip siblings/children, tab stop
    static constexpr int kPaddingPixels = 8;       // added to the label's width and height

    explicit Button_CL(ControlFactory_CL* owner) : ControlBase_CL(kKind, owner) {}

    // Thread: UI. A push button at x, y of parent: the label's extent plus the padding.
    [[nodiscard]] HRESULT Create(HWND parent, UINT id, int x, int y, const std::wstring& text);
};

#pragma once
// A framed group with a caption, given its size. Thread: UI only.

#include "ui/ControlBase_CL.h"

class GroupBox_CL : public ControlBase_CL {
public:
    static constexpr ControlKind kKind = ControlKind::GroupBox;
    explicit GroupBox_CL(ControlFactory_CL* owner) : ControlBase_CL(kKind, owner) {}

    // Thread: UI. A width × height frame at x, y of parent; the size grows to hold the
    // caption when it is given smaller.
    [[nodiscard]] HRESULT Create(HWND parent, UINT id, int x, int y, int width, int height,
                                 const std::wstring& text);
};

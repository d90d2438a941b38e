#pragma once
// A horizontal slider, given its size. Thread: UI only.

#include "ui/ControlBase_CL.h"

class TrackBar_CL : public ControlBase_CL {
public:
    static constexpr ControlKind kKind = ControlKind::TrackBar;
    explicit TrackBar_CL(ControlFactory_CL* owner) : ControlBase_CL(kKind, owner) {}

    [[nodiscard]] HRESULT Create(HWND parent, UINT id, int x, int y, int width, int height);

    // Thread: UI.
    // Tick marks at most every fiftieth of the range: the control keeps one entry per mark, and
    // a range of millions (the colour controls' raw values) would otherwise cost millions.
    void SetRange(int minimum, int maximum);
    // Thread: UI. The step of Page Up / Page Down and of the arrow keys.
    void SetSteps(int line, int page);
    void SetPosition(int position);
    int Position() const;
};

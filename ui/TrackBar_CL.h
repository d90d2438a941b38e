#pragma once
// A horizontal slider, given its size. Thread: UI only.

#include "ui/ControlBase_CL.h"

class TrackBar_CL : public ControlBase_CL {
public:
    static constexpr ControlKind kKind = ControlKind::TrackBar;
    explicit TrackBar_CL(ControlFactory_CL* owner) : ControlBase_CL(kKind, owner) {}

    [[nodiscard]] HRESULT Create(HWND parent, UINT id, int x, int y, int width, int height);

    // Thread: UI.
    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    int Position() const;
};

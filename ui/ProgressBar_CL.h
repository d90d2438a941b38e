#pragma once
// A progress bar, given its size. Thread: UI only.

#include "ui/ControlBase_CL.h"

class ProgressBar_CL : public ControlBase_CL {
public:
    static constexpr ControlKind kKind = ControlKind::ProgressBar;
    explicit ProgressBar_CL(ControlFactory_CL* owner) : ControlBase_CL(kKind, owner) {}

    [[nodiscard]] HRESULT Create(HWND parent, UINT id, int x, int y, int width, int height);

    // Thread: UI.
    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    int Position() const;
};

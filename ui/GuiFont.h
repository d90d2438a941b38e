#pragma once
// The font helper: a control's font replaced by the stock GUI font grown by a factor, for
// inputs and lists that must read from a distance (the tag input at 2, the full-screen
// play list at 3).

#include <windows.h>

#include "base/UniqueHandle_CL.h"

class ControlBase_CL;

// Thread: any. The stock GUI font with weight 100 and its height and width times factor;
// an empty owner when the font could not be made.
GdiObject_CL MakeScaledGuiFont(double factor);

// Thread: UI. Gives control that font; returns false when it could not be made.
bool ApplyScaledGuiFont(ControlBase_CL& control, double factor);

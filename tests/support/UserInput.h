#pragma once
// Input the way a user makes it: through the system's input queue (SendInput), to whatever
// window is under the pointer or has the keyboard focus.

#include <windows.h>

void MouseTo(POINT screen);
void LeftButton(bool down);
void RightButton(bool down);
// A key pressed and released.
void PressKey(WORD virtualKey);

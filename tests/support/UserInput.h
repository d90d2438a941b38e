#pragma once
// Input the way a user makes it: through the system's input queue (SendInput), to whatever
// window is under the pointer or has the keyboard focus.

#include <windows.h>

#include <string>

void MouseTo(POINT screen);
void LeftButton(bool down);
void RightButton(bool down);
// The pointer moved to point and the left button clicked there (twice: a double click).
void ClickAt(POINT screen, bool twice = false);
// A key pressed and released.
void PressKey(WORD virtualKey);
// Characters typed as a keyboard that sends characters (an input method) does: each arrives
// as WM_CHAR in the window with the keyboard focus, whatever the keyboard layout.
void TypeText(const std::wstring& text);

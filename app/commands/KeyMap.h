#pragma once
// The key table: which command each key of the player runs. Keys and menus meet in the
// command router, so a key and its menu item or button always do the same thing.
// Pure. Thread: any.

#include <windows.h>

// The command a key-down of virtualKey runs, with Ctrl held when control is set; 0 when the
// key does nothing.
WORD CommandForKey(UINT virtualKey, bool control = false);

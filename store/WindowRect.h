#pragma once
// Saving and restoring window rectangles in the settings file. Both always use the path of the
// process's long-lived settings instance, whatever file the caller otherwise works on.
// Thread: UI.

#include <windows.h>

#include <string>

class Inifile_CL;
class MultiScreen_CL;

// Writes the window's rectangle as a 16-byte profile struct; false (nothing written) when the
// window is minimised or maximised or its top-left corner lies on no monitor.
bool SaveWindowRect(HWND window, const std::wstring& section, const std::wstring& key);
// The stored rectangle, or the default when none is stored, it is damaged, or its top-left
// corner lies on no monitor attached now.
RECT LoadWindowRect(const std::wstring& section, const std::wstring& key, const RECT& defaultRect);

// The same against a given file and monitor set.
bool SaveWindowRectTo(const Inifile_CL& file, const MultiScreen_CL& screens, HWND window,
                      const std::wstring& section, const std::wstring& key);
RECT LoadWindowRectFrom(const Inifile_CL& file, const MultiScreen_CL& screens, const std::wstring& section,
                        const std::wstring& key, const RECT& defaultRect);

// Pure: a window rectangle that is sane on a work area: one narrower or lower than the least
// size, or wider or taller than the work area, becomes defaultSize centred on the work area;
// one that reaches past the work area is moved back onto it.
RECT SaneWindowRect(const RECT& rect, const RECT& workArea, SIZE leastSize, SIZE defaultSize);

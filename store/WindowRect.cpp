#include "store/WindowRect.h"

#include "store/AppSettings.h"
#include "store/Inifile_CL.h"
#include "store/MultiScreen_CL.h"

static_assert(sizeof(RECT) == 16, "the stored rectangle is a 16-byte profile struct");

bool SaveWindowRectTo(const Inifile_CL& file, const MultiScreen_CL& screens, HWND window,
                      const std::wstring& section, const std::wstring& key) {
    if (::IsIconic(window) || ::IsZoomed(window)) return false;
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) return false;
    if (!screens.Contains(POINT{rect.left, rect.top})) return false;
    return file.WriteStruct(section, key, &rect, sizeof(rect));
}

RECT LoadWindowRectFrom(const Inifile_CL& file, const MultiScreen_CL& screens, const std::wstring& section,
                        const std::wstring& key, const RECT& defaultRect) {
    RECT rect{};
    if (!file.GetStruct(section, key, &rect, sizeof(rect))) return defaultRect;
    if (!screens.Contains(POINT{rect.left, rect.top})) return defaultRect;
    return rect;
}

bool SaveWindowRect(HWND window, const std::wstring& section, const std::wstring& key) {
    return SaveWindowRectTo(AppSettings::Process().File(), MultiScreen_CL(), window, section, key);
}

RECT LoadWindowRect(const std::wstring& section, const std::wstring& key, const RECT& defaultRect) {
    return LoadWindowRectFrom(AppSettings::Process().File(), MultiScreen_CL(), section, key, defaultRect);
}

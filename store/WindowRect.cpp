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

RECT SaneWindowRect(const RECT& rect, const RECT& workArea, SIZE leastSize, SIZE defaultSize) {
    const LONG areaWidth = workArea.right - workArea.left, areaHeight = workArea.bottom - workArea.top;
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width < leastSize.cx || height < leastSize.cy || width > areaWidth || height > areaHeight) {
        const LONG w = defaultSize.cx < areaWidth ? defaultSize.cx : areaWidth;
        const LONG h = defaultSize.cy < areaHeight ? defaultSize.cy : areaHeight;
        const LONG left = workArea.left + (areaWidth - w) / 2, top = workArea.top + (areaHeight - h) / 2;
        return RECT{left, top, left + w, top + h};
    }
    RECT sane = rect;
    if (sane.right > workArea.right) OffsetRect(&sane, workArea.right - sane.right, 0);
    if (sane.bottom > workArea.bottom) OffsetRect(&sane, 0, workArea.bottom - sane.bottom);
    if (sane.left < workArea.left) OffsetRect(&sane, workArea.left - sane.left, 0);
    if (sane.top < workArea.top) OffsetRect(&sane, 0, workArea.top - sane.top);
    return sane;
}

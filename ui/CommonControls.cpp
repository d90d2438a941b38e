#include "ui/CommonControls.h"

#include <windows.h>

#include <commctrl.h>

#include <mutex>

#include "base/LogFile_CL.h"

bool EnsureCommonControls() {
    static std::once_flag once;
    static bool registered = false;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX init{};
        init.dwSize = sizeof(init);
        init.dwICC = ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES |
                     ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES;
        registered = ::InitCommonControlsEx(&init) != FALSE;
        if (!registered) LogPrintf(L"InitCommonControlsEx failed: %u", ::GetLastError());
    });
    return registered;
}

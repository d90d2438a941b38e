#include "base/Platform.h"

#include <windows.h>

bool RunningUnderWine() {
    static const bool wine = [] {
        HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

HMODULE LoadTrustedLibrary(const wchar_t* name, LibraryFolders folders) {
    DWORD flags = LOAD_LIBRARY_SEARCH_SYSTEM32;
    if (folders == LibraryFolders::kSystemAndProgram) flags |= LOAD_LIBRARY_SEARCH_APPLICATION_DIR;
    return ::LoadLibraryExW(name, nullptr, flags);
}

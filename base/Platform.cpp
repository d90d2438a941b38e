#include "base/Platform.h"

#include <windows.h>

bool RunningUnderWine() {
    static const bool wine = [] {
        HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

unsigned long OperatingSystemMajorVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&info)) return 0;
#pragma GCC diagnostic pop
    return info.dwMajorVersion;
}

HMODULE LoadTrustedLibrary(const wchar_t* name, LibraryFolders folders) {
    DWORD flags = LOAD_LIBRARY_SEARCH_SYSTEM32;
    if (folders == LibraryFolders::kSystemAndProgram) flags |= LOAD_LIBRARY_SEARCH_APPLICATION_DIR;
    return ::LoadLibraryExW(name, nullptr, flags);
}

std::wstring ProgramFilePath() {
    std::wstring module(MAX_PATH, L'\0');
    for (;;) {
        const DWORD units = ::GetModuleFileNameW(nullptr, &module[0], static_cast<DWORD>(module.size()));
        if (units == 0) return std::wstring();
        if (units < module.size()) {
            module.resize(units);
            return module;
        }
        // Cut off: a longer buffer, so that callers that check the length see the real path.
        module.resize(module.size() * 2);
    }
}

std::wstring ProgramFolder() {
    const std::wstring path = ProgramFilePath();
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

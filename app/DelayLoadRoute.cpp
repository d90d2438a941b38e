#include "app/DelayLoadRoute.h"

#include <string>

#include "base/Platform.h"

FARPROC WINAPI DelayLoadFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
    // Library names in the import records are plain ASCII.
    std::wstring name;
    for (const char* c = info->szDll; *c; ++c) name.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return reinterpret_cast<FARPROC>(LoadTrustedLibrary(name.c_str(), LibraryFolders::kSystemOnly));
}

void RouteDelayLoadsToSystemFolder() { __pfnDliNotifyHook2 = DelayLoadFromSystemFolder; }

#pragma once
// What the program needs to know about the platform it runs on, found once.

// True under Wine (ntdll exports wine_get_version). Some platform parts behave differently
// there and the program works around them: see the callers.
bool RunningUnderWine();

// The operating system's major version as GetVersionExW reports it (0 when it cannot say).
// Which layouts and features the program offers follows it, as the version is reported.
unsigned long OperatingSystemMajorVersion();

#include <windows.h>

#include <string>

// The full path of the running program's file, however long; empty when the system cannot say.
std::wstring ProgramFilePath();
// The folder of that file, without a trailing separator; empty when the system cannot say.
std::wstring ProgramFolder();

// Where LoadTrustedLibrary looks: the system folder always, the program's own folder when asked.
enum class LibraryFolders { kSystemOnly, kSystemAndProgram };

// Loads a library by its file name from the trusted folders only, never from the current folder
// or the search path, where a planted copy could wait beside a movie. Null when it is missing.
HMODULE LoadTrustedLibrary(const wchar_t* name, LibraryFolders folders);

// An entry point of a loaded library as a function pointer of type Fn; null when the library or
// the entry is missing.
template <typename Fn>
Fn LibraryEntry(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

#include "tests/support/ProcessFigures.h"

#include <psapi.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A /proc file through Wine's Z: drive (its size reads as 0: read until the end).
std::string ReadWhole(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

std::string Narrow(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1) ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// The entries of a folder, "." and ".." left out; -1 when it cannot be listed.
int CountEntries(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") ++count;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return count;
}

// The number after a "Name:" line of /proc/<pid>/status, or -1.
double StatusValue(const std::string& status, const char* name) {
    const size_t at = status.find(std::string("\n") + name);
    if (at == std::string::npos) return -1;
    return std::strtod(status.c_str() + at + 1 + std::strlen(name), nullptr);
}

bool ReadLinuxFolderFigures(const std::wstring& processFolder, ProcessFigures* figures);

bool ReadLinuxFigures(const std::wstring& program, const std::wstring& commandLineMark, ProcessFigures* figures) {
    const std::string programName = Narrow(program), mark = Narrow(commandLineMark);
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    std::wstring processFolder;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        const std::wstring folder = L"Z:\\proc\\" + name;
        const std::string commandLine = ReadWhole(folder + L"\\cmdline");
        if (commandLine.find(programName) != std::string::npos && commandLine.find(mark) != std::string::npos) {
            processFolder = folder;
            break;
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return !processFolder.empty() && ReadLinuxFolderFigures(processFolder, figures);
}

bool ReadLinuxFolderFigures(const std::wstring& processFolder, ProcessFigures* figures) {
    const std::string status = ReadWhole(processFolder + L"\\status");
    const double threads = StatusValue(status, "Threads:");
    const double anonymousKb = StatusValue(status, "RssAnon:");
    const int descriptors = CountEntries(processFolder + L"\\fd");
    if (threads <= 0 || anonymousKb <= 0 || descriptors <= 0) return false;
    figures->handles = threads + descriptors;
    figures->privateBytes = anonymousKb * 1024;
    figures->fromLinux = true;
    figures->threads = threads;
    return true;
}

}  // namespace

bool ReadProcessFigures(HANDLE process, const std::wstring& commandLineMark, ProcessFigures* figures) {
    DWORD handles = 0;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (::GetProcessHandleCount(process, &handles) && handles > 0 &&
        ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters)) &&
        counters.PrivateUsage > 0) {
        figures->handles = handles;
        figures->privateBytes = static_cast<double>(counters.PrivateUsage);
        figures->fromLinux = false;
        return true;
    }
    return ReadLinuxFigures(L"Lumikino.exe", commandLineMark, figures);
}

bool ReadOwnProcessFigures(ProcessFigures* figures) {
    DWORD handles = 0;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (::GetProcessHandleCount(::GetCurrentProcess(), &handles) && handles > 0 &&
        ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof(counters)) &&
        counters.PrivateUsage > 0) {
        figures->handles = handles;
        figures->privateBytes = static_cast<double>(counters.PrivateUsage);
        figures->fromLinux = false;
        return true;
    }
    // Not /proc/self: under Wine that names the process that serves every Wine process.
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring name = module;
    name = name.substr(name.find_last_of(L"\\/") + 1);
    return ReadLinuxFigures(name, name, figures);
}

#include "store/FindIniFile_CL.h"

#include <windows.h>

#include "base/UniqueHandle_CL.h"
#include "store/ContentRecordKeys.h"
#include "store/Inifile_CL.h"

FindIniFile_CL::KeyRead FindIniFile_CL::ReadMatchKeys(const std::wstring& path, uint32_t* hash,
                                                      std::wstring* linkName) {
    // Bound, not opened: opening would create a file that vanished meanwhile as an empty record.
    Inifile_CL file;
    file.Bind(path);
    *hash = static_cast<uint32_t>(file.GetInt(kSectionMovieInfo, kKeyHash, 0));
    *linkName = file.GetString(kSectionMovieInfo, kKeyLinkName, L"");
    if (*hash != 0 || !linkName->empty()) return KeyRead::Read;
    // The profile functions read a missing file and one they cannot open alike, as empty; a
    // record another program holds locked must not look like a record of no movie.
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return KeyRead::Gone;
    FileHandle_CL probe(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.IsValid()) return ::GetLastError() == ERROR_FILE_NOT_FOUND ? KeyRead::Gone : KeyRead::Unreadable;
    return KeyRead::Read;
}

std::vector<FindIniFile_CL::Entry> FindIniFile_CL::Scan(const std::wstring& folder) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found{};
    FindHandle_CL find(::FindFirstFileW((folder + L"\\*.ini").c_str(), &found));
    if (!find.IsValid()) return entries;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::wstring name = found.cFileName;
        if (name == L"Lumikino.ini") continue;  // exact: the settings file is no record
        Entry entry;
        entry.path = folder + L"\\" + name;
        Inifile_CL file;
        file.Bind(entry.path);
        entry.hash = static_cast<uint32_t>(file.GetInt(kSectionMovieInfo, kKeyHash, 0));
        entry.linkName = file.GetString(kSectionMovieInfo, kKeyLinkName, L"");
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(find.Get(), &found));
    return entries;
}

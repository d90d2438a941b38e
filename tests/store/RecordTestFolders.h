#pragma once
// A private data folder for record tests: contents\000 ... 099, an album folder and a folder of
// movies, inside a TempFolder_CL; and small readers of the record files the tests check.

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/TextFormat.h"
#include "store/ContentRecordStore_CL.h"
#include "store/RecordFailureNotice_CL.h"
#include "tests/support/TempFolder_CL.h"

class RecordTestFolders {
public:
    RecordTestFolders() {
        contents = temp.Join(L"contents");
        albums = temp.Join(L"Kinoshelf");
        movies = temp.Join(L"movies");
        ::CreateDirectoryW(contents.c_str(), nullptr);
        for (int bucket = 0; bucket < 100; ++bucket) {
            ::CreateDirectoryW((contents + FormatString(L"\\%03d", bucket)).c_str(), nullptr);
        }
        ::CreateDirectoryW(albums.c_str(), nullptr);
        ::CreateDirectoryW(movies.c_str(), nullptr);
    }

    ContentRecordStore_CL::Options Options() const {
        ContentRecordStore_CL::Options options;
        options.contentsFolder = contents;
        options.albumRoot = albums;
        return options;
    }

    // A movie file of a few bytes in the movies folder; returns its path.
    std::wstring Movie(const std::wstring& name) const {
        std::wstring path = movies + L"\\" + name;
        WriteFileBytes(path, "movie");
        return path;
    }

    // Every "*" entry of a folder (files and folders), sorted by name.
    static std::vector<std::wstring> Listing(const std::wstring& folder) {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder_CL temp;
    std::wstring contents;
    std::wstring albums;
    std::wstring movies;
};

// Counts the failure notices instead of showing a message box.
class CountingNotice : public RecordFailureNotice_CL {
public:
    void ShowShareWriteFailure() override { ++shown; }
    int shown = 0;
};

// The text of a UTF-16 LE file after its byte-order mark.
inline std::wstring Utf16Text(const std::string& bytes) {
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE", 2) != 0) return std::wstring();
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                       (static_cast<unsigned char>(bytes[3 + 2 * i]) << 8));
    }
    return text;
}

// "[SECTION]" and "key" lines of a UTF-16 INI file, in file order: "SECTION/key" per key.
inline std::vector<std::wstring> KeysInFileOrder(const std::string& bytes) {
    std::vector<std::wstring> keys;
    std::wstring text = Utf16Text(bytes);
    std::wstring section;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        start = end + 1;
        if (line.empty()) continue;
        if (line.front() == L'[' && line.back() == L']') {
            section = line.substr(1, line.size() - 2);
        } else if (line.find(L'=') != std::wstring::npos) {
            keys.push_back(section + L"/" + line.substr(0, line.find(L'=')));
        }
    }
    return keys;
}

// Holds a file open without sharing, as another program may: no read, write or rename.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path)
        : m_handle(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~LockedFile() {
        if (m_handle != INVALID_HANDLE_VALUE) ::CloseHandle(m_handle);
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    bool IsLocked() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

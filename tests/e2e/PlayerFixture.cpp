#include "tests/e2e/PlayerFixture.h"

#include <windows.h>

void PlayerFixture::WriteSettings(const std::wstring& text) const {
    ::CreateDirectoryW(DataFolder().c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(DataPath(L"Lumikino.ini"), Utf16File(text)));
}

std::vector<std::wstring> PlayerFixture::ContentRecordPaths() const {
    std::vector<std::wstring> paths;
    const std::wstring contents = DataPath(L"contents");
    WIN32_FIND_DATAW bucket;
    HANDLE buckets = ::FindFirstFileW((contents + L"\\*").c_str(), &bucket);
    if (buckets == INVALID_HANDLE_VALUE) return paths;
    do {
        if (!(bucket.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || bucket.cFileName[0] == L'.') continue;
        const std::wstring folder = contents + L"\\" + bucket.cFileName;
        WIN32_FIND_DATAW record;
        HANDLE records = ::FindFirstFileW((folder + L"\\*.ini").c_str(), &record);
        if (records == INVALID_HANDLE_VALUE) continue;
        do {
            paths.push_back(folder + L"\\" + record.cFileName);
        } while (::FindNextFileW(records, &record));
        ::FindClose(records);
    } while (::FindNextFileW(buckets, &bucket));
    ::FindClose(buckets);
    return paths;
}

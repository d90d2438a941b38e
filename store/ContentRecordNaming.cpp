#include "store/ContentRecordNaming.h"

#include "base/TextFormat.h"

uint32_t HashPath(const std::wstring& path) {
    uint32_t hash = static_cast<uint32_t>(path.size());
    for (wchar_t unit : path) hash = hash * 3u + static_cast<uint16_t>(unit);
    return hash;
}

std::wstring RecordBucketFolder(const std::wstring& contentsFolder, int bucket) {
    return contentsFolder + FormatString(L"\\%03d", bucket);
}

std::wstring LocalRecordName(int bucket, int index) {
    return FormatString(L"contents%03d-%05d.ini", bucket, index);
}

std::wstring LocalRecordPath(const std::wstring& contentsFolder, int bucket, int index) {
    return RecordBucketFolder(contentsFolder, bucket) + L"\\" + LocalRecordName(bucket, index);
}

int ParseLocalRecordIndex(const std::wstring& fileName, int bucket) {
    // "contents" NNN "-" IIIII ".ini": 21 units.
    static const wchar_t kStem[] = L"contents";
    static const wchar_t kExtension[] = L".ini";
    if (fileName.size() != 21) return -1;
    auto lower = [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; };
    for (size_t i = 0; i < 8; ++i) {
        if (lower(fileName[i]) != kStem[i]) return -1;
    }
    for (size_t i = 0; i < 4; ++i) {
        if (lower(fileName[17 + i]) != kExtension[i]) return -1;
    }
    if (fileName[11] != L'-') return -1;
    int bucketRead = 0;
    for (size_t i = 8; i < 11; ++i) {
        if (fileName[i] < L'0' || fileName[i] > L'9') return -1;
        bucketRead = bucketRead * 10 + (fileName[i] - L'0');
    }
    if (bucketRead != bucket) return -1;
    int index = 0;
    for (size_t i = 12; i < 17; ++i) {
        if (fileName[i] < L'0' || fileName[i] > L'9') return -1;
        index = index * 10 + (fileName[i] - L'0');
    }
    return index;
}

std::wstring SharedRecordPath(const std::wstring& moviePath) {
    if (moviePath.empty()) return std::wstring();
    std::wstring path = moviePath + L".Lumikino.ini";
    // The platform's paths end at MAX_PATH units with the terminator; a longer name would be cut
    // by the profile functions and land on some other file.
    if (path.size() >= kMaxPathUnits) return std::wstring();
    return path;
}

std::wstring ZipRecordPath(const std::wstring& contentsFolder) {
    return contentsFolder + L"\\zip_contents.ini";
}

std::wstring AlbumBucketFolder(const std::wstring& albumRoot, int album, int bucket) {
    return albumRoot + FormatString(L"\\ALBUM_%04d\\contents\\%03d", album, bucket);
}

std::wstring AlbumPicturePath(const std::wstring& albumRecordPath) {
    size_t slash = albumRecordPath.find_last_of(L'\\');
    size_t dot = albumRecordPath.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) {
        return albumRecordPath + L".jpg";
    }
    return albumRecordPath.substr(0, dot) + L".jpg";
}

std::wstring ContentNameFromPath(const std::wstring& moviePath) {
    size_t slash = moviePath.find_last_of(L'\\');
    std::wstring name = slash == std::wstring::npos ? moviePath : moviePath.substr(slash + 1);
    size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

#include "app/history/HistoryEntry.h"

#include <shlwapi.h>

#include "base/UniqueHandle_CL.h"
#include "intake/FileExtension.h"
#include "intake/ListRowText.h"
#include "store/ContentInfo.h"

namespace {
constexpr int kMaxStars = 5;

uint64_t FileTimeValue(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void TakeRecord(HistoryEntry& entry, const HistoryRecordLookup& lookup) {
    if (!lookup) return;
    std::wstring name;
    int stars = 0;
    if (!lookup(entry.path, &name, &stars)) return;
    // A record without a title keeps the file's name rather than showing an empty row.
    if (!name.empty()) entry.name = name;
    entry.stars = static_cast<uint8_t>(stars >= 0 && stars <= kMaxStars ? stars : 0);
}
}  // namespace

bool IsNetworkHistoryPath(const std::wstring& path) {
    return path.size() >= 2 && ::PathIsUNCW(path.c_str()) != FALSE;
}

void FillHistoryEntry(HistoryEntry& entry, bool detectFolders, bool nameFromFile, const HistoryRecordLookup& lookup) {
    const bool network = IsNetworkHistoryPath(entry.path);
    if (detectFolders && !network && ::PathIsDirectoryW(entry.path.c_str())) entry.directory = 1;
    if (nameFromFile) entry.name = DisplayNameOf(entry.path);
    entry.folder = FolderOf(entry.path);
    entry.size = -1;
    entry.created = entry.accessed = entry.written = FILETIME{};
    if (!network) {
        // Opened for its attributes only: no access right, so a file another program holds
        // open for writing still answers. A folder needs the backup flag to be opened at all.
        FileHandle_CL file(::CreateFileW(entry.path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (file.IsValid()) {
            LARGE_INTEGER size{};
            // GetFileSizeEx: files of 4 GiB and more keep their size.
            if (entry.directory == 0 && ::GetFileSizeEx(file.Get(), &size)) entry.size = size.QuadPart;
            ::GetFileTime(file.Get(), &entry.created, &entry.accessed, &entry.written);
        }
    }
    entry.stars = 0;
    if (entry.directory == 0 && nameFromFile && !network) TakeRecord(entry, lookup);
}

void FillNetworkHistoryEntry(HistoryEntry& entry, const HistoryRecordLookup& lookup) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(entry.path.c_str(), GetFileExInfoStandard, &data)) {
        entry.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 1 : 0;
        entry.size = entry.directory != 0
                         ? -1
                         : static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
        entry.created = data.ftCreationTime;
        entry.accessed = data.ftLastAccessTime;
        entry.written = data.ftLastWriteTime;
    }
    entry.name = DisplayNameOf(entry.path);
    entry.folder = FolderOf(entry.path);
    entry.stars = 0;
    if (entry.directory == 0) TakeRecord(entry, lookup);
}

HistoryEntry HistoryEntryOfSlot(const HistorySlot& slot, const HistoryRecordLookup& lookup) {
    HistoryEntry entry;
    entry.path = slot.path;
    if (!slot.prefixed) {
        FillHistoryEntry(entry, true, true, lookup);
        return entry;
    }
    if (!slot.name.empty()) {
        entry.name = slot.name;
        FillHistoryEntry(entry, true, false, lookup);
    } else {
        FillHistoryEntry(entry, true, true, lookup);
    }
    entry.directory = slot.folder;
    entry.stars = static_cast<uint8_t>(slot.stars);
    return entry;
}

HistorySlot HistorySlotOfEntry(const HistoryEntry& entry) {
    HistorySlot slot;
    slot.path = entry.path;
    slot.name = entry.name;
    slot.folder = entry.directory;
    slot.stars = entry.stars;
    slot.prefixed = true;
    return slot;
}

std::wstring HistoryCellText(const HistoryEntry& entry, int column) {
    switch (column) {
        case kHistoryColumnName: return entry.name;
        case kHistoryColumnExtension: return ExtensionOf(entry.path);
        case kHistoryColumnStars: return StarText(entry.stars);
        case kHistoryColumnSize: return SizeText(entry.size, entry.directory != 0);
        case kHistoryColumnModified: return TimeTextOfFileTime(FileTimeValue(entry.written));
        case kHistoryColumnFolder: return entry.folder;
        default: return std::wstring();
    }
}

#pragma once
// One row of the play history in memory, and how it is completed from the file system and the
// movie's record. Local files are read at once; a path on a network share is left without
// size and times (a slow share would freeze the window) for the metadata job to fill.
// Thread: any; the record look-up given decides where it may run.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "store/PlayHistory.h"

struct HistoryEntry {
    std::wstring path;
    std::wstring name;    // column "ファイル名": the record's title, else the file name
    std::wstring folder;  // column "ファイルパス": the path without its last component
    int64_t size = -1;    // -1: not read
    FILETIME created{};
    FILETIME accessed{};
    FILETIME written{};   // column "更新日時"; zero: not read
    int32_t directory = 0;
    uint8_t stars = 0;    // 0 ... 5
};

// A movie's record, looked up without creating one and read without counting a play: its
// title and rating. False when the movie has none.
using HistoryRecordLookup = std::function<bool(const std::wstring& moviePath, std::wstring* name, int* stars)>;

// True for a path of two or more characters that names a network share (\\server\share\...).
bool IsNetworkHistoryPath(const std::wstring& path);

// Completes entry.path's entry: the folder flag (detectFolders, local paths only), the name
// from the file (nameFromFile), the folder, the size and times of a local file, and the
// record's title and rating for a local file when the name comes from the file.
void FillHistoryEntry(HistoryEntry& entry, bool detectFolders, bool nameFromFile, const HistoryRecordLookup& lookup);

// The metadata job's completion of a network entry: attributes, name from the file, and the
// record's title and rating (the look-up is made for network paths here).
void FillNetworkHistoryEntry(HistoryEntry& entry, const HistoryRecordLookup& lookup);

// A stored slot made a row: a prefixed slot with a name keeps it and skips the record; one
// without a name, and an old plain path, take the name from the file and the record. The
// folder flag and the rating stored in a prefixed PATH win over what completion found.
HistoryEntry HistoryEntryOfSlot(const HistorySlot& slot, const HistoryRecordLookup& lookup);

// The slot a row is saved as.
HistorySlot HistorySlotOfEntry(const HistoryEntry& entry);

// The row's cell texts, columns in the dialog's order: name, extension, stars, size, time,
// folder.
enum HistoryColumn : int {
    kHistoryColumnName,
    kHistoryColumnExtension,
    kHistoryColumnStars,
    kHistoryColumnSize,
    kHistoryColumnModified,
    kHistoryColumnFolder,
    kHistoryColumnCount
};
std::wstring HistoryCellText(const HistoryEntry& entry, int column);

#pragma once
// One entry of the play list: a movie file, a folder dropped among other paths, or a file
// inside a zip archive that is unpacked before it plays. Copied by value; a copy of an archive
// entry holds the archive as well, so the archive lives as long as any entry from it is listed.

#include <cstdint>
#include <memory>
#include <string>

class Zip_CL;

constexpr int64_t kFileSizeUnknown = -1;

struct PlayListItem {
    // Non-zero for a file inside a zip archive; such entries are never written to a play list
    // file, since their unpacked copies are temporary.
    int32_t inArchive = 0;
    // The archive the entry comes from, and which of its central records the entry is (its
    // index in the archive's record list). Empty for every other entry.
    std::shared_ptr<Zip_CL> archive;
    uint32_t archiveRecordIndex = 0;

    std::wstring path;         // full path of the movie; for an archive entry where it unpacks
    std::wstring displayName;  // column "ファイル名"
    std::wstring extension;    // column "拡張子", as the path spells it
    int64_t fileSize = kFileSizeUnknown;  // bytes
    uint64_t modifiedFileTime = 0;        // FILETIME (UTC) as one number; 0 when not read
    int32_t starCount = 0;
    int32_t spare = 0;
    // Transient: marks the entry that was played last while the list is reordered.
    int32_t anchorMark = 0;
};

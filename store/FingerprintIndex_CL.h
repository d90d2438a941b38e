#pragma once
// Which local records carry which fingerprint: the file "fingerprints.idx" in the contents
// folder and its copy in memory. It lets a load whose path finds no record look for the record
// of the same file (moved or renamed) without opening every record of the store.
//
// The file is ASCII text: the header line "LumikinoFingerprints 1", then one line per change,
// appended as it happens: "+ size:hash NNN IIIII" when record contentsNNN-IIIII.ini of bucket
// NNN took that fingerprint, "- size:hash NNN IIIII" when it gave it up. Records are named by
// bucket and index, so the index stays right when the data folder moves. Appends from several
// instances interleave safely, as each line is one write to the end of the file.
//
// The index is never trusted over the records: the store confirms every hit by reading the
// record's own key. It is rebuilt from the records when the file is missing, when its header
// is not this one, and when a line does not read (a write cut short): in each case it may miss
// records that carry a fingerprint. Lines that merely repeat or undo each other are dropped
// when the file is rewritten (compacted) once they outnumber the entries they leave.
// Thread: not thread-safe; the store guards the instance with its lock.

#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/FileFingerprint.h"

class FingerprintIndex_CL {
public:
    struct RecordRef {
        int bucket = 0;  // 0 ... 99
        int index = 0;   // 0 ... 99999
        bool operator==(const RecordRef& other) const { return bucket == other.bucket && index == other.index; }
    };
    enum class LineKind { Add, Remove };
    struct Line {
        LineKind kind = LineKind::Add;
        FileFingerprint fingerprint;
        RecordRef record;
    };

    explicit FingerprintIndex_CL(std::wstring contentsFolder);

    // contentsFolder + "\fingerprints.idx".
    static std::wstring IndexPath(const std::wstring& contentsFolder);

    // Brings the copy in memory up to the file: reads only what was appended since the last
    // call, reads a file another instance rewrote afresh, and rebuilds from the records when
    // the file is missing, foreign or damaged. False when there is no index to be had (no
    // contents folder).
    bool Refresh();

    // The records the index names for the fingerprint, oldest first.
    std::vector<RecordRef> Candidates(const FileFingerprint& fingerprint) const;
    bool Holds(const FileFingerprint& fingerprint, const RecordRef& record) const;

    // Records a change in memory and appends its line to the file. Nothing is appended while the
    // file is missing: the next Refresh rebuilds it from the records, this one's key included.
    void Add(const FileFingerprint& fingerprint, const RecordRef& record);
    void Remove(const FileFingerprint& fingerprint, const RecordRef& record);

    // Reads the fingerprint key of every local record and writes the file afresh.
    void Rebuild();

    // True when the copy in memory stands for the file (Refresh has run, nothing forgotten).
    bool IsLoaded() const { return m_loaded || m_memoryOnly; }
    // Drops the copy in memory; the next Refresh reads the file whole.
    void Forget();

    size_t EntryCount() const;
    int RebuildCount() const { return m_rebuildCount; }

    // Pure: one line without its line end; false for anything that is not exactly a line.
    static bool ParseLine(const std::string& text, Line* line);
    static std::string FormatLine(const Line& line);
    static const char* Header() { return "LumikinoFingerprints 1"; }

private:
    struct FileState {
        bool exists = false;
        uint64_t sizeBytes = 0;
        FILETIME created{};
    };
    FileState Stat() const;
    // Parses complete lines of bytes into memory; false when one does not read.
    bool ApplyLines(const std::string& bytes, size_t* consumed);
    void Apply(const Line& line);
    bool LoadWhole(const FileState& state);
    bool ReadTail(const FileState& state);
    void Append(const Line& line);
    void WriteAfresh();
    void CompactIfWorthIt();

    std::wstring m_contentsFolder;
    std::wstring m_path;
    std::unordered_map<FileFingerprint, std::vector<RecordRef>, FileFingerprintHasher> m_byFingerprint;
    bool m_loaded = false;
    bool m_memoryOnly = false;    // rebuilt but the file could not be written: no rebuild per lookup
    uint64_t m_readBytes = 0;     // the file's bytes taken in, up to a line end
    FILETIME m_created{};         // of the file taken in; another creation time means a new file
    size_t m_lineCount = 0;       // lines the file holds (for compaction)
    int m_rebuildCount = 0;
};

#pragma once
// What one bucket folder of the local record store held at its last enumeration: every record
// file's name, size, last-write time and its two matching keys. A refresh enumerates the folder
// again and re-reads only files that are new or whose size or time changed, so looking up a
// record costs one enumeration at most instead of opening every file of the bucket.
// Thread: not thread-safe; the store guards each instance with its lock.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class RecordBucketIndex_CL {
public:
    struct Entry {
        std::wstring name;          // file name within the bucket folder
        bool isFolder = false;      // a folder of a record's name still takes that index
        uint64_t sizeBytes = 0;
        uint64_t lastWrite = 0;     // FILETIME units
        uint32_t hash = 0;          // MOVIE_INFO hash
        std::wstring linkName;      // MOVIE_INFO link_name
        uint64_t readGeneration = 0;  // the refresh that last read the keys
    };

    bool IsEnumerated() const { return m_generation != 0; }
    // True when the last enumeration is younger than maxAgeMs.
    bool IsFresh(uint64_t nowMs, uint64_t maxAgeMs) const {
        return IsEnumerated() && !m_stale && nowMs - m_enumeratedAtMs < maxAgeMs;
    }
    // The next lookup enumerates again (after this program created or changed a file).
    void MarkStale() { m_stale = true; }

    // Enumerates folder + "\*.ini" again; returns the number of files whose keys were read.
    size_t Refresh(const std::wstring& folder, uint64_t nowMs);

    // Entries whose hash and link_name both match, in enumeration order.
    std::vector<size_t> Matches(uint32_t hash, const std::wstring& linkName) const;
    const Entry& At(size_t position) const { return m_entries[position]; }
    // True when the entry's keys were read by the latest refresh (no need to read them again).
    bool ReadByLatestRefresh(size_t position) const { return m_entries[position].readGeneration == m_generation; }
    // The keys found in the file no longer match the entry: read it again at the next refresh.
    void Invalidate(size_t position);

    // Takes in a record this program has just created, with what it wrote, so the record is
    // known even if another program locks it before the next enumeration.
    void Add(const std::wstring& name, uint32_t hash, const std::wstring& linkName, uint64_t sizeBytes,
             uint64_t lastWrite);

    // The smallest record index >= from whose name in this bucket is not taken by a file or
    // folder of the last enumeration; -1 when all below indexCount are taken.
    int FirstFreeIndex(int bucket, int from, int indexCount) const;

    size_t Size() const { return m_entries.size(); }

private:
    std::vector<Entry> m_entries;                                  // enumeration order
    std::unordered_map<uint32_t, std::vector<size_t>> m_byHash;    // ascending positions
    uint64_t m_generation = 0;
    uint64_t m_enumeratedAtMs = 0;
    bool m_stale = false;
};

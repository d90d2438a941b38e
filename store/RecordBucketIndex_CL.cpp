#include "store/RecordBucketIndex_CL.h"

#include <windows.h>

#include "base/UniqueHandle_CL.h"
#include "store/ContentRecordNaming.h"
#include "store/FindIniFile_CL.h"

size_t RecordBucketIndex_CL::Refresh(const std::wstring& folder, uint64_t nowMs) {
    std::unordered_map<std::wstring, size_t> previous;
    previous.reserve(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i) previous.emplace(m_entries[i].name, i);

    ++m_generation;
    std::vector<Entry> entries;
    entries.reserve(m_entries.size() + 16);
    size_t filesRead = 0;
    WIN32_FIND_DATAW found{};
    FindHandle_CL find(::FindFirstFileW((folder + L"\\*.ini").c_str(), &found));
    if (find.IsValid()) {
        do {
            Entry entry;
            entry.name = found.cFileName;
            if (entry.name == L"." || entry.name == L"..") continue;
            if (entry.name == L"Lumikino.ini") continue;  // the settings file is no record
            entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            entry.sizeBytes = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            entry.lastWrite = (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                              found.ftLastWriteTime.dwLowDateTime;
            if (!entry.isFolder) {
                auto known = previous.find(entry.name);
                const Entry* before = known != previous.end() && !m_entries[known->second].isFolder
                                          ? &m_entries[known->second]
                                          : nullptr;
                if (before && before->sizeBytes == entry.sizeBytes && before->lastWrite == entry.lastWrite) {
                    entry.hash = before->hash;
                    entry.linkName = before->linkName;
                    entry.readGeneration = before->readGeneration;
                } else {
                    using KeyRead = FindIniFile_CL::KeyRead;
                    KeyRead read = FindIniFile_CL::ReadMatchKeys(folder + L"\\" + entry.name, &entry.hash,
                                                                 &entry.linkName);
                    if (read == KeyRead::Gone) continue;  // removed between enumeration and reading
                    if (read == KeyRead::Unreadable) {
                        // Locked by another program: keep what it held before, and try again
                        // at the next refresh.
                        entry.hash = before ? before->hash : 0;
                        entry.linkName = before ? before->linkName : std::wstring();
                        entry.sizeBytes = UINT64_MAX;
                        entry.lastWrite = UINT64_MAX;
                    } else {
                        entry.readGeneration = m_generation;
                        ++filesRead;
                    }
                }
            }
            entries.push_back(std::move(entry));
        } while (::FindNextFileW(find.Get(), &found));
    }
    m_entries = std::move(entries);
    m_byHash.clear();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (!m_entries[i].isFolder) m_byHash[m_entries[i].hash].push_back(i);
    }
    m_enumeratedAtMs = nowMs;
    m_stale = false;
    return filesRead;
}

std::vector<size_t> RecordBucketIndex_CL::Matches(uint32_t hash, const std::wstring& linkName) const {
    std::vector<size_t> matches;
    auto sameHash = m_byHash.find(hash);
    if (sameHash == m_byHash.end()) return matches;
    for (size_t position : sameHash->second) {
        if (m_entries[position].linkName == linkName) matches.push_back(position);
    }
    return matches;
}

void RecordBucketIndex_CL::Invalidate(size_t position) {
    // Neither size nor time can be this: the next refresh reads the file again.
    m_entries[position].sizeBytes = UINT64_MAX;
    m_entries[position].lastWrite = UINT64_MAX;
    m_stale = true;
}

void RecordBucketIndex_CL::Add(const std::wstring& name, uint32_t hash, const std::wstring& linkName,
                               uint64_t sizeBytes, uint64_t lastWrite) {
    Entry entry;
    entry.name = name;
    entry.sizeBytes = sizeBytes;
    entry.lastWrite = lastWrite;
    entry.hash = hash;
    entry.linkName = linkName;
    m_byHash[hash].push_back(m_entries.size());
    m_entries.push_back(std::move(entry));
    // Where the platform enumerates it is known only after the next enumeration.
    m_stale = true;
}

int RecordBucketIndex_CL::FirstFreeIndex(int bucket, int from, int indexCount) const {
    if (from < 0) from = 0;
    if (from >= indexCount) return -1;
    std::vector<bool> taken(static_cast<size_t>(indexCount), false);
    for (const Entry& entry : m_entries) {
        int index = ParseLocalRecordIndex(entry.name, bucket);
        if (index >= 0 && index < indexCount) taken[static_cast<size_t>(index)] = true;
    }
    for (int i = from; i < indexCount; ++i) {
        if (!taken[static_cast<size_t>(i)]) return i;
    }
    return -1;
}

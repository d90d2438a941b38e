#include "store/ContentRecordStore_CL.h"

#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/TextFormat.h"
#include "store/AtomicRecordWriter_CL.h"
#include "store/ContentRecordKeys.h"
#include "store/FindIniFile_CL.h"
#include "store/Inifile_CL.h"

namespace {

bool IsFile(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

ContentRecordStore_CL::Options UserFolders() {
    ContentRecordStore_CL::Options options;
    options.contentsFolder = DataFolder_CL::ContentsFolder();
    std::wstring documents = DataFolder_CL::DocumentsFolder();
    if (!documents.empty()) options.albumRoot = documents + L"\\Kinoshelf";
    return options;
}

}  // namespace

ContentRecordStore_CL::ContentRecordStore_CL() : ContentRecordStore_CL(UserFolders()) {}

ContentRecordStore_CL::ContentRecordStore_CL(Options options)
    : m_options(std::move(options)), m_fingerprints(m_options.contentsFolder) {}

uint64_t ContentRecordStore_CL::NowMs() const {
    return m_options.tickMs ? m_options.tickMs() : ::GetTickCount64();
}

void ContentRecordStore_CL::ForgetIndexes() {
    {
        std::lock_guard<std::mutex> lock(m_indexLock);
        m_indexes.clear();
    }
    std::lock_guard<std::mutex> lock(m_fingerprintLock);
    m_fingerprints.Forget();
}

std::wstring ContentRecordStore_CL::LocateRecord(const std::wstring& moviePath, bool create, bool skipShared) {
    if (moviePath.empty()) return std::wstring();
    if (!skipShared) {
        std::wstring shared = SharedRecordPath(moviePath);
        if (!shared.empty() && IsFile(shared)) {
            // The shared record follows the movie: reached through another drive letter or share
            // name, it answers for the path used now. Nothing is written when it already does.
            Inifile_CL file;
            file.Bind(shared);
            if (file.GetString(kSectionMovieInfo, kKeyLinkName, L"") != moviePath) {
                file.WriteString(kSectionMovieInfo, kKeyLinkName, moviePath);
            }
            return shared;
        }
    }
    // Without a data folder there is no local store; a relative folder would land anywhere.
    if (!DataFolder_CL::IsAbsolutePath(m_options.contentsFolder)) return std::wstring();

    uint32_t hash = HashPath(moviePath);
    int bucket = BucketOfHash(hash);
    std::wstring folder = RecordBucketFolder(m_options.contentsFolder, bucket);
    std::lock_guard<std::mutex> lock(m_indexLock);
    RecordBucketIndex_CL& index = m_indexes[bucket];
    std::wstring found = FindLocal(index, folder, hash, moviePath);
    if (!found.empty() || !create) return found;
    return CreateLocal(index, bucket, hash, moviePath);
}

std::wstring ContentRecordStore_CL::FindLocal(RecordBucketIndex_CL& index, const std::wstring& folder, uint32_t hash,
                                              const std::wstring& moviePath) {
    uint64_t now = NowMs();
    bool refreshed = false;
    if (!index.IsFresh(now, m_options.indexMaxAgeMs)) {
        index.Refresh(folder, now);
        refreshed = true;
    }
    for (;;) {
        for (size_t position : index.Matches(hash, moviePath)) {
            std::wstring path = folder + L"\\" + index.At(position).name;
            // Read during this very lookup: it is what the file holds.
            if (refreshed && index.ReadByLatestRefresh(position)) return path;
            uint32_t fileHash = 0;
            std::wstring fileLink;
            FindIniFile_CL::KeyRead read = FindIniFile_CL::ReadMatchKeys(path, &fileHash, &fileLink);
            // A record another program holds locked is still this movie's: making a second one
            // would split its memory in two.
            if (read == FindIniFile_CL::KeyRead::Unreadable) return path;
            if (read == FindIniFile_CL::KeyRead::Read && fileHash == hash && fileLink == moviePath) return path;
            index.Invalidate(position);
        }
        if (refreshed) return std::wstring();
        index.Refresh(folder, now);
        refreshed = true;
    }
}

std::wstring ContentRecordStore_CL::ReserveLocal(RecordBucketIndex_CL& index, int bucket) {
    for (int i = index.FirstFreeIndex(bucket, 0, m_options.recordIndexCount); i >= 0;
         i = index.FirstFreeIndex(bucket, i + 1, m_options.recordIndexCount)) {
        std::wstring path = LocalRecordPath(m_options.contentsFolder, bucket, i);
        BeforeCreateAttempt(path);
        // CREATE_NEW: another instance, or another computer on a shared data folder, may have
        // taken this index since the enumeration; its record must not be overwritten.
        if (!Inifile_CL::CreateIfMissing(path)) {
            if (Exists(path)) continue;
            if (ProcessLogSwitches().log_detail_other) {
                LogPrintf(L"コンテンツ情報ファイルを作成できません = %ls (0x%08x)", path.c_str(),
                          static_cast<unsigned>(HRESULT_FROM_WIN32(::GetLastError())));
            }
            return std::wstring();
        }
        return path;
    }
    if (ProcessLogSwitches().log_detail_other) {
        LogPrintf(L"コンテンツ情報の空きがありません (bucket %03d)", bucket);
    }
    return std::wstring();
}

std::wstring ContentRecordStore_CL::CreateLocal(RecordBucketIndex_CL& index, int bucket, uint32_t hash,
                                                const std::wstring& moviePath) {
    std::wstring path = ReserveLocal(index, bucket);
    if (path.empty()) return path;
    Inifile_CL record;
    record.Bind(path);
    record.WriteString(kSectionMovieInfo, kKeyIniName, path);
    record.WriteInt(kSectionMovieInfo, kKeyHash, static_cast<int>(hash));
    record.WriteString(kSectionMovieInfo, kKeyLinkName, moviePath);
    record.WriteString(kSectionMovieInfo, kKeyContentName, ContentNameFromPath(moviePath));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    uint64_t sizeBytes = UINT64_MAX, lastWrite = UINT64_MAX;
    if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        sizeBytes = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        lastWrite = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
    }
    index.Add(path.substr(path.find_last_of(L'\\') + 1), hash, moviePath, sizeBytes, lastWrite);
    return path;
}

std::wstring ContentRecordStore_CL::PrepareZipRecord(const std::wstring& moviePath) {
    if (!DataFolder_CL::IsAbsolutePath(m_options.contentsFolder)) return std::wstring();
    std::wstring path = ZipRecordPath(m_options.contentsFolder);
    // The record of an archive entry lives for one load: what the last one left is dropped.
    std::vector<IniEntry> entries = {
        {kSectionMovieInfo, kKeyIniName, path},
        {kSectionMovieInfo, kKeyHash, L"0"},
        {kSectionMovieInfo, kKeyLinkName, moviePath},
        {kSectionMovieInfo, kKeyContentName, ContentNameFromPath(moviePath)},
    };
    AtomicRecordWriter_CL writer;
    if (FAILED(writer.RewriteIni(path, entries, false))) return std::wstring();
    return path;
}

std::wstring ContentRecordStore_CL::FindAlbumRecord(int album, const std::wstring& moviePath) const {
    if (moviePath.empty() || !DataFolder_CL::IsAbsolutePath(m_options.albumRoot)) return std::wstring();
    uint32_t hash = HashPath(moviePath);
    std::wstring folder = AlbumBucketFolder(m_options.albumRoot, album, BucketOfHash(hash));
    for (const FindIniFile_CL::Entry& entry : FindIniFile_CL::Scan(folder)) {
        if (entry.hash != hash || entry.linkName != moviePath) continue;
        if (IsFile(AlbumPicturePath(entry.path))) return entry.path;
    }
    return std::wstring();
}

bool ContentRecordStore_CL::RefOf(const std::wstring& recordPath, FingerprintIndex_CL::RecordRef* ref) const {
    // contentsFolder + "\NNN\contentsNNN-IIIII.ini", as LocalRecordPath builds it.
    const std::wstring& contents = m_options.contentsFolder;
    if (contents.empty() || recordPath.size() != contents.size() + 5 + 21) return false;
    if (recordPath.compare(0, contents.size(), contents) != 0) return false;
    std::wstring rest = recordPath.substr(contents.size());
    if (rest[0] != L'\\' || rest[4] != L'\\') return false;
    int bucket = 0;
    for (size_t i = 1; i < 4; ++i) {
        if (rest[i] < L'0' || rest[i] > L'9') return false;
        bucket = bucket * 10 + (rest[i] - L'0');
    }
    if (bucket >= kContentBucketCount) return false;
    int index = ParseLocalRecordIndex(rest.substr(5), bucket);
    if (index < 0) return false;
    ref->bucket = bucket;
    ref->index = index;
    return true;
}

bool ContentRecordStore_CL::IsLocalRecord(const std::wstring& recordPath) const {
    FingerprintIndex_CL::RecordRef ref;
    return RefOf(recordPath, &ref);
}

namespace {

// True only when the platform says plainly that nothing is at the path; a drive that is not
// ready or a share that does not answer proves nothing.
bool IsGone(const std::wstring& path) {
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

ContentRecordStore_CL::MovedRecord ContentRecordStore_CL::FindMovedRecord(const FileFingerprint& fingerprint,
                                                                          const std::wstring& moviePath) {
    MovedRecord moved;
    if (!fingerprint.IsValid()) return moved;
    std::lock_guard<std::mutex> lock(m_fingerprintLock);
    if (!m_fingerprints.Refresh()) return moved;
    for (const FingerprintIndex_CL::RecordRef& ref : m_fingerprints.Candidates(fingerprint)) {
        std::wstring path = LocalRecordPath(m_options.contentsFolder, ref.bucket, ref.index);
        Inifile_CL record;
        record.Bind(path);
        FileFingerprint stored;
        if (!ParseFingerprint(record.GetString(kSectionMovieInfo, kKeyFingerprint, L""), &stored) ||
            stored != fingerprint) {
            // The record says otherwise, and the record is the truth. One that another program
            // holds locked reads as empty; it keeps its entry.
            uint32_t hash = 0;
            std::wstring link;
            if (FindIniFile_CL::ReadMatchKeys(path, &hash, &link) != FindIniFile_CL::KeyRead::Unreadable) {
                m_fingerprints.Remove(fingerprint, ref);
            }
            continue;
        }
        std::wstring oldMovie = record.GetString(kSectionMovieInfo, kKeyLinkName, L"");
        if (oldMovie.empty() || oldMovie == moviePath) continue;
        // Whether a file on a share is gone cannot be told without waiting for the share.
        if (IsNetworkPath(oldMovie)) continue;
        if (!IsGone(oldMovie)) continue;  // still there: the new file is a copy
        moved.recordPath = path;
        moved.oldMoviePath = oldMovie;
        return moved;
    }
    return moved;
}

std::wstring ContentRecordStore_CL::TakeOverRecord(const std::wstring& recordPath, const std::wstring& moviePath,
                                                   const FileFingerprint& fingerprint) {
    FingerprintIndex_CL::RecordRef oldRef;
    if (moviePath.empty() || !RefOf(recordPath, &oldRef)) return std::wstring();
    std::vector<IniEntry> entries = AtomicRecordWriter_CL::ReadAllEntries(recordPath);
    if (entries.empty()) return std::wstring();

    uint32_t hash = HashPath(moviePath);
    int bucket = BucketOfHash(hash);
    std::wstring newPath;
    {
        std::lock_guard<std::mutex> lock(m_indexLock);
        RecordBucketIndex_CL& index = m_indexes[bucket];
        if (!index.IsFresh(NowMs(), m_options.indexMaxAgeMs)) index.Refresh(RecordBucketFolder(m_options.contentsFolder, bucket), NowMs());
        newPath = ReserveLocal(index, bucket);
        if (newPath.empty()) return newPath;

        // The three keys that tie the record to its file and its movie change; everything else,
        // keys of newer versions and tags included, stays as stored and in its place.
        auto set = [&](const wchar_t* key, const std::wstring& value) {
            for (IniEntry& entry : entries) {
                if (::lstrcmpiW(entry.section.c_str(), kSectionMovieInfo) == 0 && ::lstrcmpiW(entry.key.c_str(), key) == 0) {
                    entry.value = value;
                    return;
                }
            }
            entries.insert(entries.begin(), IniEntry{kSectionMovieInfo, key, value});
        };
        set(kKeyLinkName, moviePath);
        set(kKeyHash, FormatString(L"%d", static_cast<int>(hash)));
        set(kKeyIniName, newPath);
        AtomicRecordWriter_CL writer;
        HRESULT hr = writer.RewriteIni(newPath, entries, false);
        // The old record goes only once the new one stands; one that cannot be deleted (another
        // program holds it) would be found again for the next copy, so the move is abandoned.
        if (SUCCEEDED(hr) && !::DeleteFileW(recordPath.c_str()) && !IsGone(recordPath)) {
            hr = HRESULT_FROM_WIN32(::GetLastError());
        }
        if (FAILED(hr)) {
            ::DeleteFileW(newPath.c_str());
            if (ProcessLogSwitches().log_detail_other) {
                LogPrintf(L"コンテンツ情報の引き継ぎ失敗 = %ls (0x%08x)", recordPath.c_str(), static_cast<unsigned>(hr));
            }
            return std::wstring();
        }
        index.Add(newPath.substr(newPath.find_last_of(L'\\') + 1), hash, moviePath, UINT64_MAX, UINT64_MAX);
        auto oldIndex = m_indexes.find(oldRef.bucket);
        if (oldIndex != m_indexes.end()) oldIndex->second.MarkStale();
    }
    FingerprintIndex_CL::RecordRef newRef;
    if (RefOf(newPath, &newRef)) {
        std::lock_guard<std::mutex> lock(m_fingerprintLock);
        m_fingerprints.Add(fingerprint, newRef);
        m_fingerprints.Remove(fingerprint, oldRef);
    }
    return newPath;
}

void ContentRecordStore_CL::NoteFingerprint(const std::wstring& recordPath, const FileFingerprint& fingerprint,
                                            const FileFingerprint* previous) {
    FingerprintIndex_CL::RecordRef ref;
    if (!fingerprint.IsValid() || !RefOf(recordPath, &ref)) return;
    Inifile_CL record;
    record.Bind(recordPath);
    record.WriteString(kSectionMovieInfo, kKeyFingerprint, FormatFingerprint(fingerprint));
    std::lock_guard<std::mutex> lock(m_fingerprintLock);
    if (previous && previous->IsValid() && *previous != fingerprint) m_fingerprints.Remove(*previous, ref);
    m_fingerprints.Add(fingerprint, ref);
}

void ContentRecordStore_CL::KeepIndexed(const std::wstring& recordPath, const FileFingerprint& fingerprint) {
    FingerprintIndex_CL::RecordRef ref;
    if (!fingerprint.IsValid() || !RefOf(recordPath, &ref)) return;
    std::lock_guard<std::mutex> lock(m_fingerprintLock);
    if (m_fingerprints.IsLoaded() && !m_fingerprints.Holds(fingerprint, ref)) m_fingerprints.Add(fingerprint, ref);
}

int ContentRecordStore_CL::FingerprintIndexRebuilds() {
    std::lock_guard<std::mutex> lock(m_fingerprintLock);
    return m_fingerprints.RebuildCount();
}

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

ContentRecordStore_CL::ContentRecordStore_CL(Options options) : m_options(std::move(options)) {}

uint64_t ContentRecordStore_CL::NowMs() const {
    return m_options.tickMs ? m_options.tickMs() : ::GetTickCount64();
}

void ContentRecordStore_CL::ForgetIndexes() {
    std::lock_guard<std::mutex> lock(m_indexLock);
    m_indexes.clear();
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

std::wstring ContentRecordStore_CL::CreateLocal(RecordBucketIndex_CL& index, int bucket, uint32_t hash,
                                                const std::wstring& moviePath) {
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
        index.Add(LocalRecordName(bucket, i), hash, moviePath, sizeBytes, lastWrite);
        return path;
    }
    if (ProcessLogSwitches().log_detail_other) {
        LogPrintf(L"コンテンツ情報の空きがありません (bucket %03d)", bucket);
    }
    return std::wstring();
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

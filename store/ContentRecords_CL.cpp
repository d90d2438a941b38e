#include "store/ContentRecords_CL.h"

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "store/ContentRecordKeys.h"
#include "store/ContentRecordNaming.h"
#include "store/ContentRecordStore_CL.h"
#include "store/Inifile_CL.h"
#include "store/RecordFailureNotice_CL.h"

namespace {

bool TraceOn() { return ProcessLogSwitches().log_detail_other; }

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

ContentRecords_CL::ContentRecords_CL(ContentRecordStore_CL& store, RecordFailureNotice_CL& notice)
    : m_store(store), m_notice(notice) {}

bool ContentRecords_CL::LoadContent(ContentInfo& info, const std::wstring& moviePath, bool fromArchive,
                                    std::wstring* movedFrom) {
    int64_t now = Now();
    if (movedFrom) movedFrom->clear();
    // Network movies are left alone: three reads spread over a file on a share may take long.
    const bool printable = !fromArchive && !moviePath.empty() && !IsNetworkPath(moviePath);
    FileFingerprint print;
    bool havePrint = false;
    std::wstring path;
    if (fromArchive) {
        path = m_store.PrepareZipRecord(moviePath);
    } else {
        path = m_store.LocateRecord(moviePath, false, false);
        if (path.empty() && printable) {
            havePrint = ReadFileFingerprint(moviePath, &print);
            ContentRecordStore_CL::MovedRecord moved;
            if (havePrint) moved = m_store.FindMovedRecord(print, moviePath);
            if (!moved.recordPath.empty()) {
                path = m_store.TakeOverRecord(moved.recordPath, moviePath, print);
                if (!path.empty()) {
                    if (movedFrom) *movedFrom = moved.oldMoviePath;
                    if (TraceOn()) {
                        LogPrintf(L"移動した動画のコンテンツ情報を引き継ぎました = %ls <- %ls", moviePath.c_str(),
                                  moved.oldMoviePath.c_str());
                    }
                }
            }
        }
        if (path.empty()) path = m_store.LocateRecord(moviePath, true, false);
    }
    info.Reset();
    if (path.empty()) {
        // The movie plays without a record: the title still comes from its name.
        info.hash = fromArchive ? 0 : HashPath(moviePath);
        info.link_name = moviePath;
        info.content_name = ContentNameFromPath(moviePath);
        info.add_date = now;
        if (TraceOn()) LogPrintf(L"コンテンツ情報なしで再生します = %ls", moviePath.c_str());
        return false;
    }
    info.Bind(path);
    info.Read(true, now);

    // Records of older versions are single-byte files; they become UTF-16 on first use. Only a
    // file whose first two bytes could really be read is judged: a locked record, a lost share
    // or an empty file must never be rewritten from defaults.
    std::string head;
    if (SUCCEEDED(AtomicRecordWriter_CL::ReadPrefix(path, 2, &head)) && head.size() == 2 &&
        head != std::string("\xFF\xFE", 2)) {
        HRESULT hr = RewriteContentInfo(info, path);
        if (FAILED(hr) && TraceOn()) {
            LogPrintf(L"コンテンツ情報のUTF-16変換失敗 = %ls (0x%08x)", path.c_str(), static_cast<unsigned>(hr));
        }
    }
    // After the conversion, so the key goes into the UTF-16 file.
    if (printable && m_store.IsLocalRecord(path)) KeepFingerprint(path, moviePath, havePrint, print);
    return true;
}

void ContentRecords_CL::KeepFingerprint(const std::wstring& recordPath, const std::wstring& moviePath, bool havePrint,
                                        const FileFingerprint& print) {
    Inifile_CL record;
    record.Bind(recordPath);
    FileFingerprint stored;
    bool storedValid = ParseFingerprint(record.GetString(kSectionMovieInfo, kKeyFingerprint, L""), &stored);
    if (storedValid && !havePrint) {
        // The size alone tells a replaced file cheaply; the blocks are read only when it differs.
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExW(moviePath.c_str(), GetFileExInfoStandard, &data)) return;
        uint64_t sizeBytes = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (sizeBytes == stored.sizeBytes) {
            m_store.KeepIndexed(recordPath, stored);
            return;
        }
    }
    FileFingerprint current = print;
    if (!havePrint && !ReadFileFingerprint(moviePath, &current)) return;
    if (storedValid && stored == current) {
        m_store.KeepIndexed(recordPath, stored);
        return;
    }
    m_store.NoteFingerprint(recordPath, current, storedValid ? &stored : nullptr);
}

HRESULT ContentRecords_CL::RewriteContentInfo(const ContentInfo& info, const std::wstring& path) {
    if (path.empty()) return E_INVALIDARG;
    return m_writer.RewriteIni(path, info.RewriteEntries(), true);
}

bool ContentRecords_CL::FailSharing(const wchar_t* step, const std::wstring& path) {
    if (TraceOn()) LogPrintf(L"%ls失敗 = %ls", step, path.c_str());
    m_notice.ShowShareWriteFailure();
    return false;
}

bool ContentRecords_CL::ShareContentInfo(ContentInfo& info, const std::wstring& moviePath) {
    static const wchar_t kStep[] = L"ShareContentInfo: ";
    std::wstring shared = SharedRecordPath(moviePath);
    if (shared.empty()) return FailSharing(kStep, moviePath);  // beside the movie the name would not fit
    std::wstring local = m_store.LocateRecord(moviePath, true, true);
    if (local.empty()) return FailSharing(kStep, moviePath);
    std::string bytes;
    if (FAILED(AtomicRecordWriter_CL::ReadBytes(local, &bytes))) return FailSharing(kStep, local);
    if (FAILED(m_writer.WriteBytes(shared, bytes))) return FailSharing(kStep, shared);
    // Read both back: only a copy that is byte for byte the local record may stand for it.
    std::string sharedBytes, localBytes;
    if (FAILED(AtomicRecordWriter_CL::ReadBytes(shared, &sharedBytes)) ||
        FAILED(AtomicRecordWriter_CL::ReadBytes(local, &localBytes)) || sharedBytes != localBytes) {
        ::DeleteFileW(shared.c_str());
        return FailSharing(kStep, shared);
    }
    Inifile_CL sharedFile;
    sharedFile.Bind(shared);
    sharedFile.WriteInt(kSectionMovieInfo, kKeyShareContentInfo, 1);
    info.Reset();
    info.Bind(shared);
    info.Read(true, Now());
    return true;
}

bool ContentRecords_CL::UnshareContentInfo(ContentInfo& info, const std::wstring& moviePath) {
    static const wchar_t kStep[] = L"UnshareContentInfo: ";
    std::wstring shared = SharedRecordPath(moviePath);
    if (shared.empty()) return FailSharing(kStep, moviePath);
    std::wstring local = m_store.LocateRecord(moviePath, true, true);
    if (local.empty()) return FailSharing(kStep, moviePath);
    std::string bytes;
    if (FAILED(AtomicRecordWriter_CL::ReadBytes(shared, &bytes))) return FailSharing(kStep, shared);
    if (FAILED(m_writer.WriteBytes(local, bytes))) return FailSharing(kStep, local);
    std::string localBytes;
    if (FAILED(AtomicRecordWriter_CL::ReadBytes(local, &localBytes)) || localBytes != bytes) {
        return FailSharing(kStep, local);
    }
    // The copy may carry another path's hash (the movie was reached through another name while
    // shared); these keys make the local record findable again.
    uint32_t hash = HashPath(moviePath);
    Inifile_CL localFile;
    localFile.Bind(local);
    localFile.WriteString(kSectionMovieInfo, kKeyIniName, local);
    localFile.WriteInt(kSectionMovieInfo, kKeyHash, static_cast<int>(hash));
    localFile.WriteString(kSectionMovieInfo, kKeyLinkName, moviePath);
    localFile.WriteInt(kSectionMovieInfo, kKeyShareContentInfo, 0);
    if (static_cast<uint32_t>(localFile.GetInt(kSectionMovieInfo, kKeyHash, 0)) != hash ||
        localFile.GetString(kSectionMovieInfo, kKeyLinkName, L"") != moviePath ||
        localFile.GetString(kSectionMovieInfo, kKeyIniName, L"") != local) {
        return FailSharing(kStep, local);
    }
    // Only now is the record safe in the local store; the copy beside the movie may go. While it
    // stays, every load finds it first, so the record stays bound to it.
    if (!::DeleteFileW(shared.c_str()) && ::GetFileAttributesW(shared.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return FailSharing(kStep, shared);
    }
    info.Reset();
    info.Bind(local);
    info.Read(true, Now());
    return true;
}

int ContentRecords_CL::SyncToAlbums(const ContentInfo& info) {
    if (info.link_name.empty()) return 0;
    int updated = 0;
    for (int album = 1; album <= kAlbumCount; ++album) {
        std::wstring record = m_store.FindAlbumRecord(album, info.link_name);
        if (record.empty()) continue;
        // Bound, never opened: the player updates the album's copies but never creates one.
        Inifile_CL file;
        file.Bind(record);
        file.WriteInt(kSectionMovieInfo, kKeyPlayCount, info.play_count);
        file.WriteInt(kSectionMovieInfo, kKeyStarCount, info.star_count);
        ++updated;
        if (TraceOn()) {
            LogPrintf(L"SyncToAlbums: ALBUM_%04d play_count=%d star_count=%d %ls", album, info.play_count,
                      info.star_count, record.c_str());
        }
    }
    // One notice names the movie, however many albums hold it.
    if (updated > 0 && m_albumNotice) m_albumNotice(info.link_name);
    return updated;
}

bool ContentRecords_CL::ReadRecordOf(const std::wstring& moviePath, ContentInfo* row) {
    row->Reset();
    std::wstring path = m_store.LocateRecord(moviePath, false, false);
    if (path.empty()) return false;
    row->Bind(path);
    row->Read(false, Now());
    return true;
}

bool ContentRecords_CL::IsRecordBesideMovie(const std::wstring& recordPath, const std::wstring& moviePath) {
    std::wstring recordFolder = FolderOf(recordPath);
    std::wstring movieFolder = FolderOf(moviePath);
    if (recordFolder.empty() || recordFolder.size() != movieFolder.size()) return false;
    // Folder names compare as the file system compares them: without regard to case.
    return ::CompareStringOrdinal(recordFolder.c_str(), static_cast<int>(recordFolder.size()), movieFolder.c_str(),
                                  static_cast<int>(movieFolder.size()), TRUE) == CSTR_EQUAL;
}

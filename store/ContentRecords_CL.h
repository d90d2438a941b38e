#pragma once
// What the player does with content records: the record side of loading a movie (find or make
// the record, count the play, convert an old single-byte record), rewriting a record whole,
// moving it beside the movie and back, passing play count and rating on to the album
// application's copies, and reading the record of a list row.
//
// A movie for which no record can be found or made (a full bucket, an unwritable data folder)
// still plays: its ContentInfo holds defaults, is bound to no file, and every write is skipped.
//
// Thread: UI for everything that changes the loaded movie's record; ReadRecordOf also from the
// history's metadata thread, with a ContentInfo of that thread's own.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "store/AtomicRecordWriter_CL.h"
#include "store/ContentInfo.h"
#include "store/FileFingerprint.h"

class ContentRecordStore_CL;
class RecordFailureNotice_CL;

class ContentRecords_CL {
public:
    using Clock = std::function<int64_t()>;                          // seconds since 1970 UTC
    using AlbumNotice = std::function<void(const std::wstring& moviePath)>;

    ContentRecords_CL(ContentRecordStore_CL& store, RecordFailureNotice_CL& notice);

    void SetClock(Clock clock) { m_clock = std::move(clock); }
    // Called after an album's copy of the record was updated, with the movie path (the album
    // application's change notice).
    void SetAlbumNotice(AlbumNotice notice) { m_albumNotice = std::move(notice); }
    // The writer of whole records and sharing copies (tests set its step hook).
    AtomicRecordWriter_CL& Writer() { return m_writer; }

    // The record side of loading a movie. fromArchive: the movie was unpacked from a zip
    // archive and gets the throw-away record. Binds info to the record, reads it counting one
    // play, and rewrites a record that is not UTF-16 yet. Returns false when the movie has no
    // record: info then holds defaults with the movie's hash, path and title.
    //
    // When the path finds no record, the record of the same file (by its fingerprint) whose
    // movie is gone from its old path is taken over: the movie was moved or renamed. Then
    // movedFrom (when given) receives that old path, and is emptied otherwise. A local record
    // gets the movie's fingerprint when it has none, or when the movie's size no longer fits
    // it. Movies out of archives and movies on network paths are never fingerprinted.
    bool LoadContent(ContentInfo& info, const std::wstring& moviePath, bool fromArchive,
                     std::wstring* movedFrom = nullptr);

    // Writes the whole record from info into the file at path in one step, carrying over every
    // key of the old file that the record does not name. The old file stays on failure.
    [[nodiscard]] HRESULT RewriteContentInfo(const ContentInfo& info, const std::wstring& path);

    // Copies the movie's local record beside the movie and binds info to the copy, counting a
    // play. On failure shows the write-failure notice, leaves nothing new beside the movie and
    // leaves info as it was.
    bool ShareContentInfo(ContentInfo& info, const std::wstring& moviePath);
    // Copies the record beside the movie back over the local record, binds info to the local
    // one counting a play, and deletes the copy beside the movie. The copy is deleted only once
    // the local record is verified; on failure shows the notice and leaves info bound as it was.
    bool UnshareContentInfo(ContentInfo& info, const std::wstring& moviePath);

    // Writes play_count and star_count into every album's copy of the record (albums 1 to 5);
    // returns how many copies were updated.
    int SyncToAlbums(const ContentInfo& info);

    // A list row's record: looked up without creating one, read without counting a play.
    // False, with row at its defaults, when the movie has none.
    bool ReadRecordOf(const std::wstring& moviePath, ContentInfo* row);

    // Pure: true when the record path lies in the movie's folder (the record is shared).
    static bool IsRecordBesideMovie(const std::wstring& recordPath, const std::wstring& moviePath);

private:
    int64_t Now() const { return m_clock ? m_clock() : CurrentUnixSeconds(); }
    bool FailSharing(const wchar_t* step, const std::wstring& path);
    // Makes sure the local record carries the movie's fingerprint; print is read here when the
    // caller has none yet (havePrint false).
    void KeepFingerprint(const std::wstring& recordPath, const std::wstring& moviePath, bool havePrint,
                         const FileFingerprint& print);

    ContentRecordStore_CL& m_store;
    RecordFailureNotice_CL& m_notice;
    AtomicRecordWriter_CL m_writer;
    Clock m_clock;
    AlbumNotice m_albumNotice;
};

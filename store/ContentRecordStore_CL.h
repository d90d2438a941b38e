#pragma once
// Where the content record of a movie lives: the record beside the movie when the user shares
// it, else one file in the local store's bucket that the movie's path hash names; and the
// album application's copies of the record. Finds records, creates local ones and the
// throw-away record of a movie out of an archive.
//
// A lookup of the local store uses an index per bucket built from one enumeration of the
// bucket folder. A hit is confirmed by reading that one file's two keys; a miss, a failed
// confirmation or an index older than Options::indexMaxAgeMs enumerates the folder again, so a
// record added, changed or removed by another program is never missed.
//
// A movie that was moved or renamed is found by its fingerprint (FileFingerprint.h) through the
// index of FingerprintIndex_CL: a local record carrying the same fingerprint whose movie is
// gone from its old path is taken over and moved to the new path's bucket.
//
// Thread: any; the UI thread and the history's metadata thread look records up at the same
// time. m_indexLock guards the bucket indexes, m_fingerprintLock the fingerprint index; no
// method holds both at once.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "store/ContentRecordNaming.h"
#include "store/FileFingerprint.h"
#include "store/FingerprintIndex_CL.h"
#include "store/RecordBucketIndex_CL.h"

class ContentRecordStore_CL {
public:
    struct Options {
        std::wstring contentsFolder;               // the data folder's "\contents"
        std::wstring albumRoot;                    // the documents folder's "\Kinoshelf"
        int recordIndexCount = kRecordIndexCount;  // indexes 0 .. count-1 per bucket
        uint64_t indexMaxAgeMs = 2000;             // enumerate again after this long
        std::function<uint64_t()> tickMs;          // GetTickCount64 unless given
    };

    // The store of the user's data folder and album folder.
    ContentRecordStore_CL();
    explicit ContentRecordStore_CL(Options options);
    virtual ~ContentRecordStore_CL() = default;

    ContentRecordStore_CL(const ContentRecordStore_CL&) = delete;
    ContentRecordStore_CL& operator=(const ContentRecordStore_CL&) = delete;

    const std::wstring& ContentsFolder() const { return m_options.contentsFolder; }
    const std::wstring& AlbumRoot() const { return m_options.albumRoot; }

    // The record of the movie, empty when there is none. Unless skipShared, a file beside the
    // movie wins and gets link_name = moviePath written (it follows the movie to another drive
    // letter or share name). Else the first record of the movie's bucket whose hash and
    // link_name equal the path's, compared exactly. With create and nothing found, a new record
    // takes the first free index of the bucket; empty when the bucket is full or the data
    // folder cannot be written.
    std::wstring LocateRecord(const std::wstring& moviePath, bool create, bool skipShared);

    // Replaces "zip_contents.ini" with a fresh record of the movie (hash 0). Empty on failure.
    std::wstring PrepareZipRecord(const std::wstring& moviePath);

    // The album's copy of the movie's record whose picture (".jpg") exists; empty otherwise.
    std::wstring FindAlbumRecord(int album, const std::wstring& moviePath) const;

    // Forgets every bucket index (the next lookups enumerate afresh) and the fingerprint index
    // in memory (the next fingerprint lookup reads its file again).
    void ForgetIndexes();

    // True for a record file of the local store's buckets (not the zip record, not a record
    // beside a movie); only those are fingerprinted.
    bool IsLocalRecord(const std::wstring& recordPath) const;

    struct MovedRecord {
        std::wstring recordPath;     // empty: none
        std::wstring oldMoviePath;   // its link_name, where the movie was before
    };
    // Thread: UI. The local record of a movie that was moved or renamed to moviePath: one the
    // index names for the fingerprint whose own key confirms it, whose link_name is not
    // moviePath, and whose movie no longer exists at its link_name. A movie still at its old
    // path means moviePath is a copy, which gets a record of its own. An index entry the record
    // contradicts is ignored and taken out of the index.
    MovedRecord FindMovedRecord(const FileFingerprint& fingerprint, const std::wstring& moviePath);

    // Thread: UI. Moves the record to the bucket of moviePath under the file name a new record
    // would get there, with ini_name, hash and link_name rewritten and every other key kept, in
    // one atomic write; then deletes the old file and moves its index entry. Returns the new
    // record path; empty on failure, with the old record left as it was.
    std::wstring TakeOverRecord(const std::wstring& recordPath, const std::wstring& moviePath,
                                const FileFingerprint& fingerprint);

    // Thread: UI. Writes the fingerprint key into a local record and enters it into the index,
    // taking the record's previous fingerprint (if any) out.
    void NoteFingerprint(const std::wstring& recordPath, const FileFingerprint& fingerprint,
                         const FileFingerprint* previous);
    // Thread: UI. A record found by its path whose key is right: when the index is in memory and
    // lacks it (a write cut short), it is entered again. Reads no file.
    void KeepIndexed(const std::wstring& recordPath, const FileFingerprint& fingerprint);

    // The fingerprint index's rebuilds so far (for tests and the benchmark).
    int FingerprintIndexRebuilds();

protected:
    // A test seam: runs right before each attempt to create a new record file, where another
    // instance may take the same index.
    virtual void BeforeCreateAttempt(const std::wstring& recordPath) { (void)recordPath; }

private:
    // Under m_indexLock.
    std::wstring FindLocal(RecordBucketIndex_CL& index, const std::wstring& folder, uint32_t hash,
                           const std::wstring& moviePath);
    std::wstring CreateLocal(RecordBucketIndex_CL& index, int bucket, uint32_t hash, const std::wstring& moviePath);
    // Creates an empty record file (byte-order mark only) at the first free index of the bucket.
    std::wstring ReserveLocal(RecordBucketIndex_CL& index, int bucket);
    bool RefOf(const std::wstring& recordPath, FingerprintIndex_CL::RecordRef* ref) const;
    uint64_t NowMs() const;

    Options m_options;
    std::mutex m_indexLock;                            // guards m_indexes
    std::map<int, RecordBucketIndex_CL> m_indexes;     // by bucket; under m_indexLock
    std::mutex m_fingerprintLock;                      // guards m_fingerprints
    FingerprintIndex_CL m_fingerprints;                // under m_fingerprintLock
};

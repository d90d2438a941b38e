// A movie's record follows it when the file is moved or renamed: found by its fingerprint,
// moved to the new path's bucket, counted once; copies keep records of their own; old records
// learn their fingerprint on their next play; the index is rebuilt or overruled by the records.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/TextFormat.h"
#include "store/AtomicRecordWriter_CL.h"
#include "store/ContentInfo.h"
#include "store/ContentRecordKeys.h"
#include "store/ContentRecordNaming.h"
#include "store/ContentRecordStore_CL.h"
#include "store/ContentRecords_CL.h"
#include "store/FileFingerprint.h"
#include "store/FingerprintIndex_CL.h"
#include "store/Inifile_CL.h"
#include "tests/store/RecordTestFolders.h"

namespace {

constexpr int64_t kFirstPlay = 0x60000000;
constexpr size_t kMovieBytes = 300 * 1024;

struct Player {
    RecordTestFolders folders;
    ContentRecordStore_CL store{folders.Options()};
    CountingNotice notice;
    ContentRecords_CL records{store, notice};
    int64_t now = kFirstPlay;
    ContentInfo info;
    Player() { records.SetClock([this] { return now; }); }

    // A movie of its own bytes: movies of one seed are copies of each other.
    std::wstring Movie(const std::wstring& name, unsigned seed) const {
        std::string bytes(kMovieBytes, '\0');
        uint32_t state = seed * 2246822519u + 3;
        for (char& b : bytes) {
            state = state * 1664525u + 1013904223u;
            b = static_cast<char>(state >> 24);
        }
        std::wstring path = folders.movies + L"\\" + name;
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }
    // Every record file of the store's buckets.
    std::vector<std::wstring> Records() const {
        std::vector<std::wstring> all;
        for (int bucket = 0; bucket < 100; ++bucket) {
            for (const std::wstring& name : RecordTestFolders::Listing(RecordBucketFolder(folders.contents, bucket))) {
                all.push_back(RecordBucketFolder(folders.contents, bucket) + L"\\" + name);
            }
        }
        return all;
    }
    std::wstring IndexBytes() const {
        std::string bytes = ReadFileBytes(FingerprintIndex_CL::IndexPath(folders.contents));
        return std::wstring(bytes.begin(), bytes.end());
    }
};

std::wstring Key(const std::wstring& path, const wchar_t* key) {
    Inifile_CL file;
    file.Bind(path);
    return file.GetString(kSectionMovieInfo, key, L"<missing>");
}

FileFingerprint PrintOf(const std::wstring& path) {
    FileFingerprint print;
    EXPECT_TRUE(ReadFileFingerprint(path, &print));
    return print;
}

bool Move(const std::wstring& from, const std::wstring& to) { return ::MoveFileW(from.c_str(), to.c_str()) != 0; }

TEST(MovedMovie, ARenamedMovieTakesItsRecordToTheNewBucket) {
    Player p;
    std::wstring before = p.Movie(L"第01話.mp4", 1);
    ASSERT_TRUE(p.records.LoadContent(p.info, before, false));
    std::wstring oldRecord = p.info.RecordPath();
    EXPECT_EQ(Key(oldRecord, kKeyFingerprint), FormatFingerprint(PrintOf(before))) << "a new record is printed";
    p.info.SetFavorite(3, L"見どころ", 1234567);
    p.info.SetLastPlayFrame(98765432);
    p.info.SetStarCount(4);
    p.info.SetContentName(L"好きな題名");
    Inifile_CL(oldRecord).WriteString(L"TAG_INFO", L"item0", L"アニメ");

    std::wstring after = p.folders.movies + L"\\改名 第1話.mp4";
    ASSERT_TRUE(Move(before, after));
    ASSERT_NE(BucketOfHash(HashPath(before)), BucketOfHash(HashPath(after))) << "pick names of two buckets";

    p.now += 60;
    ContentInfo info;
    std::wstring movedFrom = L"stale";
    ASSERT_TRUE(p.records.LoadContent(info, after, false, &movedFrom));
    EXPECT_EQ(movedFrom, before);
    std::wstring newRecord = LocalRecordPath(p.folders.contents, BucketOfHash(HashPath(after)), 0);
    EXPECT_EQ(info.RecordPath(), newRecord);
    EXPECT_FALSE(FileExists(oldRecord));
    EXPECT_EQ(p.Records(), std::vector<std::wstring>{newRecord}) << "one record in the store";
    // What ties the record to its file and movie is rewritten; the rest comes along.
    EXPECT_EQ(Key(newRecord, kKeyIniName), newRecord);
    EXPECT_EQ(Key(newRecord, kKeyLinkName), after);
    EXPECT_EQ(Key(newRecord, kKeyHash), FormatString(L"%d", static_cast<int>(HashPath(after))));
    EXPECT_EQ(info.link_name, after);
    EXPECT_EQ(info.hash, HashPath(after));
    EXPECT_EQ(info.play_count, 2);
    EXPECT_EQ(info.play_date_time, kFirstPlay + 60);
    EXPECT_EQ(info.last_play_frame, 98765432);
    EXPECT_EQ(info.favorites[3].name, L"見どころ");
    EXPECT_EQ(info.favorites[3].frame, 1234567);
    EXPECT_EQ(info.star_count, 4);
    EXPECT_EQ(info.content_name, L"好きな題名");
    EXPECT_EQ(Inifile_CL(newRecord).GetString(L"TAG_INFO", L"item0", L""), L"アニメ");
    EXPECT_EQ(Key(newRecord, kKeyFingerprint), FormatFingerprint(PrintOf(after)));
    std::string bytes = ReadFileBytes(newRecord);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));

    // From now on the new path finds it as any record, without another move.
    ContentInfo again;
    ASSERT_TRUE(p.records.LoadContent(again, after, false, &movedFrom));
    EXPECT_TRUE(movedFrom.empty());
    EXPECT_EQ(again.RecordPath(), newRecord);
    EXPECT_EQ(again.play_count, 3);

    // A second instance's view of the index agrees.
    FingerprintIndex_CL index(p.folders.contents);
    ASSERT_TRUE(index.Refresh());
    EXPECT_EQ(index.RebuildCount(), 0);
    EXPECT_EQ(index.Candidates(PrintOf(after)),
              (std::vector<FingerprintIndex_CL::RecordRef>{{BucketOfHash(HashPath(after)), 0}}));
}

TEST(MovedMovie, ACopyGetsARecordOfItsOwnAndTheOriginalKeepsItsOwn) {
    Player p;
    std::wstring original = p.Movie(L"original.mp4", 2);
    ASSERT_TRUE(p.records.LoadContent(p.info, original, false));
    p.info.SetLastPlayFrame(5000);
    std::wstring originalRecord = p.info.RecordPath();
    std::wstring copy = p.Movie(L"copy.mp4", 2);

    ContentInfo info;
    std::wstring movedFrom = L"stale";
    ASSERT_TRUE(p.records.LoadContent(info, copy, false, &movedFrom));
    EXPECT_TRUE(movedFrom.empty());
    EXPECT_NE(info.RecordPath(), originalRecord);
    EXPECT_EQ(info.play_count, 1);
    EXPECT_EQ(info.last_play_frame, -1);
    EXPECT_EQ(info.link_name, copy);
    EXPECT_EQ(Key(originalRecord, kKeyLinkName), original);
    EXPECT_EQ(Key(originalRecord, kKeyPlayCount), L"1");
    EXPECT_EQ(p.Records().size(), 2u);

    // The original moves away later: of the two records with its print, its own follows it.
    std::wstring moved = p.folders.movies + L"\\moved original.mp4";
    ASSERT_TRUE(Move(original, moved));
    ASSERT_TRUE(p.records.LoadContent(info, moved, false, &movedFrom));
    EXPECT_EQ(movedFrom, original);
    EXPECT_EQ(info.last_play_frame, 5000);
    EXPECT_EQ(info.play_count, 2);
    EXPECT_EQ(p.Records().size(), 2u);
}

TEST(MovedMovie, AFileOfTheSameSizeStartAndEndButAnotherMiddleIsNoMove) {
    Player p;
    std::wstring first = p.Movie(L"first.mp4", 3);
    ASSERT_TRUE(p.records.LoadContent(p.info, first, false));
    p.info.SetLastPlayFrame(777);
    std::string bytes = ReadFileBytes(first);
    ASSERT_TRUE(::DeleteFileW(first.c_str()));
    bytes[kMovieBytes / 2] = static_cast<char>(bytes[kMovieBytes / 2] ^ 0x55);
    std::wstring other = p.folders.movies + L"\\other.mp4";
    ASSERT_TRUE(WriteFileBytes(other, bytes));

    ContentInfo info;
    std::wstring movedFrom;
    ASSERT_TRUE(p.records.LoadContent(info, other, false, &movedFrom));
    EXPECT_TRUE(movedFrom.empty());
    EXPECT_EQ(info.play_count, 1);
    EXPECT_EQ(info.last_play_frame, -1);
    EXPECT_EQ(p.Records().size(), 2u);
}

TEST(MovedMovie, ARecordWrittenBeforeFingerprintsLearnsItsOnTheNextPlay) {
    Player p;
    std::wstring movie = p.Movie(L"old.mp4", 4);
    int bucket = BucketOfHash(HashPath(movie));
    std::wstring record = LocalRecordPath(p.folders.contents, bucket, 0);
    ASSERT_TRUE(WriteFileBytes(record, Utf16File(L"[MOVIE_INFO]\r\nini_name=" + record + L"\r\nhash=" +
                                                 FormatString(L"%d", static_cast<int>(HashPath(movie))) +
                                                 L"\r\nlink_name=" + movie + L"\r\nplay_count=7\r\n")));
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    EXPECT_EQ(p.info.RecordPath(), record);
    EXPECT_EQ(p.info.play_count, 8);
    EXPECT_EQ(Key(record, kKeyFingerprint), FormatFingerprint(PrintOf(movie)));
    EXPECT_EQ(KeysInFileOrder(ReadFileBytes(record)),
              (std::vector<std::wstring>{L"MOVIE_INFO/ini_name", L"MOVIE_INFO/hash", L"MOVIE_INFO/link_name",
                                         L"MOVIE_INFO/play_count", L"MOVIE_INFO/play_date_time",
                                         L"MOVIE_INFO/fingerprint"}))
        << "one key more, nothing else";

    // And so it can follow the movie from then on.
    std::wstring moved = p.folders.movies + L"\\new name.mp4";
    ASSERT_TRUE(Move(movie, moved));
    std::wstring movedFrom;
    ASSERT_TRUE(p.records.LoadContent(p.info, moved, false, &movedFrom));
    EXPECT_EQ(movedFrom, movie);
    EXPECT_EQ(p.info.play_count, 9);
}

TEST(MovedMovie, AReplacedFileGetsItsNewPrintOnTheNextPlay) {
    Player p;
    std::wstring movie = p.Movie(L"replaced.mp4", 5);
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    std::wstring record = p.info.RecordPath();
    FileFingerprint firstPrint = PrintOf(movie);
    ASSERT_TRUE(WriteFileBytes(movie, std::string(1000, 'r')));  // re-encoded, another size
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    EXPECT_EQ(Key(record, kKeyFingerprint), FormatFingerprint(PrintOf(movie)));
    FingerprintIndex_CL index(p.folders.contents);
    ASSERT_TRUE(index.Refresh());
    EXPECT_TRUE(index.Candidates(firstPrint).empty());
    EXPECT_EQ(index.Candidates(PrintOf(movie)).size(), 1u);
}

TEST(FingerprintIndexUse, AMissingIndexIsRebuiltAndTheMoveStillFound) {
    Player p;
    std::wstring movie = p.Movie(L"a.mp4", 6);
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    p.info.SetLastPlayFrame(4242);
    ASSERT_TRUE(::DeleteFileW(FingerprintIndex_CL::IndexPath(p.folders.contents).c_str()));

    ContentRecordStore_CL store(p.folders.Options());  // a new run of the player
    ContentRecords_CL records(store, p.notice);
    std::wstring moved = p.folders.movies + L"\\b.mp4";
    ASSERT_TRUE(Move(movie, moved));
    ContentInfo info;
    std::wstring movedFrom;
    ASSERT_TRUE(records.LoadContent(info, moved, false, &movedFrom));
    EXPECT_EQ(store.FingerprintIndexRebuilds(), 1);
    EXPECT_EQ(movedFrom, movie);
    EXPECT_EQ(info.last_play_frame, 4242);
    EXPECT_TRUE(FileExists(FingerprintIndex_CL::IndexPath(p.folders.contents)));
}

TEST(FingerprintIndexUse, AStaleIndexIsRebuiltAndTheMoveStillFound) {
    Player p;
    std::wstring movie = p.Movie(L"a.mp4", 7);
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    p.info.SetLastPlayFrame(4343);
    // An index from an older format, knowing nothing of this record.
    ASSERT_TRUE(WriteFileBytes(FingerprintIndex_CL::IndexPath(p.folders.contents),
                               "LumikinoFingerprints 0\r\n+ 5:0000000000000001 001 00001\r\n"));
    ContentRecordStore_CL store(p.folders.Options());
    ContentRecords_CL records(store, p.notice);
    std::wstring moved = p.folders.movies + L"\\b.mp4";
    ASSERT_TRUE(Move(movie, moved));
    ContentInfo info;
    std::wstring movedFrom;
    ASSERT_TRUE(records.LoadContent(info, moved, false, &movedFrom));
    EXPECT_EQ(store.FingerprintIndexRebuilds(), 1);
    EXPECT_EQ(movedFrom, movie);
    EXPECT_EQ(info.last_play_frame, 4343);
    EXPECT_EQ(p.IndexBytes().find(L"LumikinoFingerprints 1\r\n"), 0u);
}

TEST(FingerprintIndexUse, AnEntryTheRecordContradictsIsIgnored) {
    Player p;
    std::wstring movie = p.Movie(L"a.mp4", 8);
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    std::wstring record = p.info.RecordPath();
    FileFingerprint print = PrintOf(movie);
    // Another program changed the record's key behind the index's back.
    Inifile_CL(record).WriteString(kSectionMovieInfo, kKeyFingerprint, L"5:0000000000000001");
    std::wstring moved = p.folders.movies + L"\\b.mp4";
    ASSERT_TRUE(Move(movie, moved));

    ContentInfo info;
    std::wstring movedFrom;
    ASSERT_TRUE(p.records.LoadContent(info, moved, false, &movedFrom));
    EXPECT_TRUE(movedFrom.empty());
    EXPECT_NE(info.RecordPath(), record);
    EXPECT_EQ(info.play_count, 1);
    EXPECT_TRUE(FileExists(record)) << "a record the index names wrongly is left alone";
    EXPECT_EQ(Key(record, kKeyLinkName), movie);
    FingerprintIndex_CL index(p.folders.contents);
    ASSERT_TRUE(index.Refresh());
    FingerprintIndex_CL::RecordRef fresh{BucketOfHash(HashPath(moved)), 0};
    EXPECT_EQ(index.Candidates(print), std::vector<FingerprintIndex_CL::RecordRef>{fresh})
        << "the wrong entry is taken out, the new record's put in";
}

TEST(NotFingerprinted, ArchiveItemsKeepTheThrowAwayRecordAndNoPrint) {
    Player p;
    std::wstring movie = p.Movie(L"entry.mp4", 10);
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, true));
    EXPECT_EQ(p.info.RecordPath(), ZipRecordPath(p.folders.contents));
    EXPECT_EQ(Key(p.info.RecordPath(), kKeyFingerprint), L"<missing>");
    EXPECT_FALSE(FileExists(FingerprintIndex_CL::IndexPath(p.folders.contents)));

    // A played file whose copy is later unpacked from an archive: the archive item never takes
    // over the file's record, even with the file gone.
    std::wstring file = p.Movie(L"file.mp4", 11);
    ASSERT_TRUE(p.records.LoadContent(p.info, file, false));
    std::wstring record = p.info.RecordPath();
    ASSERT_TRUE(::DeleteFileW(file.c_str()));
    std::wstring unpacked = p.Movie(L"unpacked.mp4", 11);
    std::wstring movedFrom = L"stale";
    ASSERT_TRUE(p.records.LoadContent(p.info, unpacked, true, &movedFrom));
    EXPECT_TRUE(movedFrom.empty());
    EXPECT_EQ(p.info.RecordPath(), ZipRecordPath(p.folders.contents));
    EXPECT_EQ(Key(record, kKeyLinkName), file);
}

TEST(NotFingerprinted, EmptyAndLockedMoviesPlayWithARecordAndNoPrint) {
    Player p;
    std::wstring empty = p.folders.movies + L"\\empty.mp4";
    ASSERT_TRUE(WriteFileBytes(empty, ""));
    ASSERT_TRUE(p.records.LoadContent(p.info, empty, false));
    EXPECT_EQ(p.info.play_count, 1);
    EXPECT_EQ(Key(p.info.RecordPath(), kKeyFingerprint), L"<missing>");

    std::wstring locked = p.Movie(L"locked.mp4", 12);
    LockedFile lock(locked);
    ASSERT_TRUE(lock.IsLocked());
    ASSERT_TRUE(p.records.LoadContent(p.info, locked, false));
    EXPECT_EQ(p.info.play_count, 1);
    EXPECT_EQ(Key(p.info.RecordPath(), kKeyFingerprint), L"<missing>");
}

TEST(NotFingerprinted, NetworkMoviesAreLeftAlone) {
    Player p;
    std::wstring movie = L"\\\\server\\share\\movie.mp4";
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    EXPECT_EQ(p.info.link_name, movie);
    EXPECT_EQ(Key(p.info.RecordPath(), kKeyFingerprint), L"<missing>");
    EXPECT_FALSE(FileExists(FingerprintIndex_CL::IndexPath(p.folders.contents)))
        << "no fingerprint lookup was made";
}

}  // namespace

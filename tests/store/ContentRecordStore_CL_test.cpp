// Finding and creating content records: shared records first, the bucket the hash names,
// exact matching, index numbering, full buckets, unwritable folders, damaged neighbours, the
// index staying true to what other programs do, the zip record and album copies.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/TextFormat.h"
#include "store/ContentRecordNaming.h"
#include "store/ContentRecordStore_CL.h"
#include "store/FindIniFile_CL.h"
#include "store/Inifile_CL.h"
#include "tests/store/RecordTestFolders.h"

namespace {

std::wstring Key(const std::wstring& path, const wchar_t* key) {
    Inifile_CL file;
    file.Bind(path);
    return file.GetString(L"MOVIE_INFO", key, L"<missing>");
}

// count movie paths in the movies folder whose records share one bucket.
std::vector<std::wstring> MoviesInOneBucket(const RecordTestFolders& folders, size_t count) {
    std::vector<std::wstring> movies;
    int bucket = -1;
    for (int i = 0; movies.size() < count; ++i) {
        std::wstring path = folders.movies + FormatString(L"\\clip%04d.avi", i);
        if (bucket < 0) bucket = BucketOfHash(HashPath(path));
        if (BucketOfHash(HashPath(path)) == bucket) movies.push_back(path);
    }
    return movies;
}

// The answer of the plain scan: the first entry of the bucket matching hash and path.
std::wstring PlainScan(const RecordTestFolders& folders, const std::wstring& movie) {
    uint32_t hash = HashPath(movie);
    for (const auto& e : FindIniFile_CL::Scan(RecordBucketFolder(folders.contents, BucketOfHash(hash)))) {
        if (e.hash == hash && e.linkName == movie) return e.path;
    }
    return std::wstring();
}

void WriteRecord(const std::wstring& path, uint32_t hash, const std::wstring& link) {
    Inifile_CL record(path);
    record.WriteInt(L"MOVIE_INFO", L"hash", static_cast<int>(hash));
    record.WriteString(L"MOVIE_INFO", L"link_name", link);
}

// A clock the test moves by hand.
struct ManualClock {
    uint64_t nowMs = 1000000;
};

}  // namespace

TEST(ContentRecordStore, AFirstPlayCreatesIndexZeroHoldingTheCreationKeysInOrder) {
    RecordTestFolders folders;
    ContentRecordStore_CL store(folders.Options());
    std::wstring movie = folders.Movie(L"となりの映画.mp4");
    uint32_t hash = HashPath(movie);
    int bucket = BucketOfHash(hash);
    EXPECT_EQ(store.LocateRecord(movie, false, false), L"");
    std::wstring path = store.LocateRecord(movie, true, false);
    EXPECT_EQ(path, LocalRecordPath(folders.contents, bucket, 0));
    std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
    EXPECT_EQ(KeysInFileOrder(bytes),
              (std::vector<std::wstring>{L"MOVIE_INFO/ini_name", L"MOVIE_INFO/hash", L"MOVIE_INFO/link_name",
                                         L"MOVIE_INFO/content_name"}));
    EXPECT_EQ(Key(path, L"ini_name"), path);
    EXPECT_EQ(Key(path, L"hash"), FormatString(L"%d", static_cast<int>(hash)));
    EXPECT_EQ(Key(path, L"link_name"), movie);
    EXPECT_EQ(Key(path, L"content_name"), L"となりの映画");

    // Found again, by this store and by a new one, and never created twice.
    EXPECT_EQ(store.LocateRecord(movie, true, false), path);
    ContentRecordStore_CL other(folders.Options());
    EXPECT_EQ(other.LocateRecord(movie, false, false), path);
    EXPECT_EQ(RecordTestFolders::Listing(RecordBucketFolder(folders.contents, bucket)),
              std::vector<std::wstring>{LocalRecordName(bucket, 0)});
}

TEST(ContentRecordStore, MoviesOfOneBucketTakeTheNextIndexesAndFindTheirOwn) {
    RecordTestFolders folders;
    ContentRecordStore_CL store(folders.Options());
    std::vector<std::wstring> movies = MoviesInOneBucket(folders, 3);
    // Two names whose hashes are equal: only link_name tells them apart.
    movies.push_back(folders.movies + L"\\Episode 13.mp4");
    movies.push_back(folders.movies + L"\\Episode 20.mp4");
    ASSERT_EQ(HashPath(movies[3]), HashPath(movies[4]));
    std::vector<std::wstring> records;
    for (const auto& movie : movies) records.push_back(store.LocateRecord(movie, true, false));
    int bucket = BucketOfHash(HashPath(movies[0]));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(records[i], LocalRecordPath(folders.contents, bucket, i));
    int collidingBucket = BucketOfHash(HashPath(movies[3]));
    int firstIndex = collidingBucket == bucket ? 3 : 0;
    EXPECT_EQ(records[3], LocalRecordPath(folders.contents, collidingBucket, firstIndex));
    EXPECT_EQ(records[4], LocalRecordPath(folders.contents, collidingBucket, firstIndex + 1));
    for (size_t i = 0; i < movies.size(); ++i) {
        EXPECT_EQ(store.LocateRecord(movies[i], false, false), records[i]) << i;
        EXPECT_EQ(PlainScan(folders, movies[i]), records[i]) << i;
    }
}

TEST(ContentRecordStore, PathsDifferingOnlyInCaseHaveRecordsOfTheirOwn) {
    RecordTestFolders folders;
    ContentRecordStore_CL store(folders.Options());
    std::wstring lower = folders.movies + L"\\movie.avi";
    std::wstring upper = folders.movies + L"\\MOVIE.avi";
    std::wstring a = store.LocateRecord(lower, true, false);
    EXPECT_EQ(store.LocateRecord(upper, false, false), L"");
    std::wstring b = store.LocateRecord(upper, true, false);
    EXPECT_FALSE(a.empty());
    EXPECT_FALSE(b.empty());
    EXPECT_NE(a, b);
    EXPECT_EQ(Key(b, L"link_name"), upper);
}

TEST(ContentRecordStore, ASharedRecordWinsAndFollowsTheMovieToAnotherPath) {
    RecordTestFolders folders;
    ContentRecordStore_CL store(folders.Options());
    std::wstring movie = folders.Movie(L"a.avi");
    std::wstring local = store.LocateRecord(movie, true, false);
    std::wstring shared = movie + L".Lumikino.ini";
    // Copied from another computer: its hash is not this path's, and no hash check is made.
    WriteRecord(shared, 12345, L"E:\\elsewhere\\a.avi");
    EXPECT_EQ(store.LocateRecord(movie, false, false), shared);
    EXPECT_EQ(Key(shared, L"link_name"), movie);
    EXPECT_EQ(store.LocateRecord(movie, true, true), local);  // skip shared: the local store
    EXPECT_EQ(Key(local, L"link_name"), movie);

    // The same folder reached through other names, as another drive letter or share name would.
    std::wstring viaDot = folders.movies + L"\\.\\a.avi";
    std::wstring viaSlash = folders.movies + L"/a.avi";
    EXPECT_EQ(store.LocateRecord(viaDot, true, false), viaDot + L".Lumikino.ini");
    EXPECT_EQ(Key(shared, L"link_name"), viaDot);
    EXPECT_EQ(store.LocateRecord(viaSlash, false, false), viaSlash + L".Lumikino.ini");
    EXPECT_EQ(Key(shared, L"link_name"), viaSlash);
    // Nothing was created in the local store for the other names.
    EXPECT_EQ(PlainScan(folders, viaDot), L"");

    // A lookup through the path the record already names leaves the file untouched.
    std::string before = ReadFileBytes(shared);
    EXPECT_EQ(store.LocateRecord(viaSlash, false, false), viaSlash + L".Lumikino.ini");
    EXPECT_EQ(ReadFileBytes(shared), before);
}

TEST(ContentRecordStore, ASharedPathTooLongForTheSystemMeansNoSharedRecord) {
    RecordTestFolders folders;
    ContentRecordStore_CL store(folders.Options());
    std::wstring movie = folders.movies + L"\\" + std::wstring(250 - folders.movies.size(), L'm') + L".avi";
    ASSERT_GE(movie.size() + 13, 260u);
    std::wstring record = store.LocateRecord(movie, true, false);
    EXPECT_EQ(record.find(folders.contents), 0u);  // a local record instead
}

TEST(ContentRecordStore, NewRecordsFillTheFirstGapAndSkipIndexesTakenMeanwhile) {
    RecordTestFolders folders;
    std::vector<std::wstring> movies = MoviesInOneBucket(folders, 3);
    int bucket = BucketOfHash(HashPath(movies[0]));
    std::wstring bucketFolder = RecordBucketFolder(folders.contents, bucket);
    WriteRecord(LocalRecordPath(folders.contents, bucket, 0), 1, L"other");
    ::CreateDirectoryW(LocalRecordPath(folders.contents, bucket, 1).c_str(), nullptr);
    WriteRecord(LocalRecordPath(folders.contents, bucket, 3), 1, L"other");

    // Another instance creates index 2 between this one's enumeration and its creation.
    class RacingStore : public ContentRecordStore_CL {
    public:
        using ContentRecordStore_CL::ContentRecordStore_CL;
        std::vector<std::wstring> attempts;
    protected:
        void BeforeCreateAttempt(const std::wstring& path) override {
            attempts.push_back(path);
            if (attempts.size() == 1) WriteRecord(path, 2, L"the other instance's movie");
        }
    };
    RacingStore store(folders.Options());
    std::wstring created = store.LocateRecord(movies[0], true, false);
    EXPECT_EQ(created, LocalRecordPath(folders.contents, bucket, 4));
    EXPECT_EQ(store.attempts, (std::vector<std::wstring>{LocalRecordPath(folders.contents, bucket, 2),
                                                          LocalRecordPath(folders.contents, bucket, 4)}));
    EXPECT_EQ(Key(LocalRecordPath(folders.contents, bucket, 2), L"link_name"), L"the other instance's movie");
    EXPECT_EQ(Key(created, L"link_name"), movies[0]);
    EXPECT_EQ(store.LocateRecord(movies[1], true, false), LocalRecordPath(folders.contents, bucket, 5));
}

TEST(ContentRecordStore, AFullBucketMakesNoRecord) {
    RecordTestFolders folders;
    ContentRecordStore_CL::Options options = folders.Options();
    options.recordIndexCount = 3;  // 0 ... 2 stand for 0 ... 99999
    ContentRecordStore_CL store(options);
    std::vector<std::wstring> movies = MoviesInOneBucket(folders, 4);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(store.LocateRecord(movies[i], true, false).empty());
    EXPECT_EQ(store.LocateRecord(movies[3], true, false), L"");
    EXPECT_EQ(store.LocateRecord(movies[3], true, false), L"");
    int bucket = BucketOfHash(HashPath(movies[0]));
    EXPECT_EQ(RecordTestFolders::Listing(RecordBucketFolder(folders.contents, bucket)).size(), 3u);
    EXPECT_EQ(store.LocateRecord(movies[2], true, false), LocalRecordPath(folders.contents, bucket, 2));
}

TEST(ContentRecordStore, AnUnwritableDataFolderMakesNoRecordAndNoFile) {
    RecordTestFolders folders;
    ASSERT_TRUE(WriteFileBytes(folders.temp.Join(L"file"), "x"));
    ContentRecordStore_CL::Options options = folders.Options();
    options.contentsFolder = folders.temp.Join(L"file\\contents");
    ContentRecordStore_CL store(options);
    std::wstring movie = folders.Movie(L"a.avi");
    EXPECT_EQ(store.LocateRecord(movie, true, false), L"");
    EXPECT_EQ(store.PrepareZipRecord(movie), L"");
    EXPECT_EQ(ReadFileBytes(folders.temp.Join(L"file")), "x");

    // No data folder at all (the documents folder is unknown): nothing lands anywhere relative.
    options.contentsFolder.clear();
    ContentRecordStore_CL none(options);
    EXPECT_EQ(none.LocateRecord(movie, true, false), L"");
    EXPECT_EQ(none.LocateRecord(L"", true, false), L"");
}

TEST(ContentRecordStore, DamagedRecordsDoNotStopTheLookupOfTheirNeighbours) {
    RecordTestFolders folders;
    std::vector<std::wstring> movies = MoviesInOneBucket(folders, 2);
    int bucket = BucketOfHash(HashPath(movies[0]));
    std::string garbage;
    for (int i = 0; i < 3000; ++i) garbage.push_back(static_cast<char>((i * 2246822519u) >> 11));
    ASSERT_TRUE(WriteFileBytes(LocalRecordPath(folders.contents, bucket, 0), garbage));
    ASSERT_TRUE(WriteFileBytes(LocalRecordPath(folders.contents, bucket, 1), std::string("\xFF\xFE[MO", 5)));
    ASSERT_TRUE(WriteFileBytes(LocalRecordPath(folders.contents, bucket, 2), ""));
    WriteRecord(LocalRecordPath(folders.contents, bucket, 3), HashPath(movies[0]), movies[0]);
    ContentRecordStore_CL store(folders.Options());
    EXPECT_EQ(store.LocateRecord(movies[0], false, false), LocalRecordPath(folders.contents, bucket, 3));
    EXPECT_EQ(store.LocateRecord(movies[1], true, false), LocalRecordPath(folders.contents, bucket, 4));
    // The damaged files are left exactly as they were.
    EXPECT_EQ(ReadFileBytes(LocalRecordPath(folders.contents, bucket, 0)), garbage);
    EXPECT_EQ(ReadFileBytes(LocalRecordPath(folders.contents, bucket, 2)), "");
}

TEST(ContentRecordStore, TheIndexNeverAnswersWithWhatAnotherProgramChanged) {
    RecordTestFolders folders;
    ManualClock clock;
    ContentRecordStore_CL::Options options = folders.Options();
    options.tickMs = [&clock] { return clock.nowMs; };
    ContentRecordStore_CL store(options);
    ContentRecordStore_CL other(folders.Options());
    std::vector<std::wstring> movies = MoviesInOneBucket(folders, 3);

    // Added by another instance: found at once, though the index is young.
    EXPECT_EQ(store.LocateRecord(movies[0], false, false), L"");
    std::wstring record = other.LocateRecord(movies[0], true, false);
    EXPECT_EQ(store.LocateRecord(movies[0], false, false), record);

    // Changed to another movie: the old movie has no record any more, the new one has.
    WriteRecord(record, HashPath(movies[1]), movies[1]);
    EXPECT_EQ(store.LocateRecord(movies[0], false, false), L"");
    EXPECT_EQ(store.LocateRecord(movies[1], false, false), record);

    // Removed: gone at once.
    ASSERT_TRUE(::DeleteFileW(record.c_str()));
    EXPECT_EQ(store.LocateRecord(movies[1], false, false), L"");

    // Two records of one movie (copied by hand): within the moment the confirmed record still
    // answers; after it the enumeration order decides, as for the plain scan.
    std::wstring first = other.LocateRecord(movies[2], true, false);
    EXPECT_EQ(store.LocateRecord(movies[2], false, false), first);
    int bucket = BucketOfHash(HashPath(movies[2]));
    for (int i = 1; i < 6; ++i) {
        ASSERT_TRUE(::CopyFileW(first.c_str(), LocalRecordPath(folders.contents, bucket, 100 + i).c_str(), TRUE));
    }
    EXPECT_EQ(store.LocateRecord(movies[2], false, false), first);
    clock.nowMs += 2000;
    EXPECT_EQ(store.LocateRecord(movies[2], false, false), PlainScan(folders, movies[2]));
}

TEST(ContentRecordStore, IndexedLookupsAnswerAsThePlainScanDoes) {
    RecordTestFolders folders;
    ContentRecordStore_CL store(folders.Options());
    std::vector<std::wstring> movies = MoviesInOneBucket(folders, 12);
    for (size_t i = 0; i < movies.size(); i += 2) store.LocateRecord(movies[i], true, false);
    ContentRecordStore_CL fresh(folders.Options());
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& movie : movies) {
            EXPECT_EQ(fresh.LocateRecord(movie, false, false), PlainScan(folders, movie)) << movie;
        }
    }
}

TEST(ContentRecordStore, TheZipRecordIsMadeAfreshForEveryLoad) {
    RecordTestFolders folders;
    ContentRecordStore_CL store(folders.Options());
    std::wstring first = store.PrepareZipRecord(L"C:\\zip\\一本目.avi");
    ASSERT_EQ(first, folders.contents + L"\\zip_contents.ini");
    Inifile_CL zip;
    zip.Bind(first);
    zip.WriteInt(L"MOVIE_INFO", L"play_count", 9);
    zip.WriteString(L"TAG_INFO", L"count", L"1");
    EXPECT_EQ(store.PrepareZipRecord(L"C:\\zip\\二本目.mp4"), first);
    std::string bytes = ReadFileBytes(first);
    EXPECT_EQ(KeysInFileOrder(bytes),
              (std::vector<std::wstring>{L"MOVIE_INFO/ini_name", L"MOVIE_INFO/hash", L"MOVIE_INFO/link_name",
                                         L"MOVIE_INFO/content_name"}));
    EXPECT_EQ(Key(first, L"ini_name"), first);
    EXPECT_EQ(Key(first, L"hash"), L"0");
    EXPECT_EQ(Key(first, L"link_name"), L"C:\\zip\\二本目.mp4");
    EXPECT_EQ(Key(first, L"content_name"), L"二本目");
}

TEST(ContentRecordStore, AnAlbumRecordCountsOnlyWithItsPicture) {
    RecordTestFolders folders;
    ContentRecordStore_CL store(folders.Options());
    std::wstring movie = L"D:\\動画\\a.mp4";
    uint32_t hash = HashPath(movie);
    std::wstring albumBucket = AlbumBucketFolder(folders.albums, 2, BucketOfHash(hash));
    ::CreateDirectoryW((folders.albums + L"\\ALBUM_0002").c_str(), nullptr);
    ::CreateDirectoryW((folders.albums + L"\\ALBUM_0002\\contents").c_str(), nullptr);
    ::CreateDirectoryW(albumBucket.c_str(), nullptr);
    WriteRecord(albumBucket + L"\\nopicture.ini", hash, movie);
    WriteRecord(albumBucket + L"\\otherhash.ini", hash + 1, movie);
    WriteRecord(albumBucket + L"\\othercase.ini", hash, L"D:\\動画\\A.mp4");
    WriteRecord(albumBucket + L"\\withpicture.ini", hash, movie);
    ASSERT_TRUE(WriteFileBytes(albumBucket + L"\\withpicture.jpg", "jpeg"));
    ASSERT_TRUE(WriteFileBytes(albumBucket + L"\\otherhash.jpg", "jpeg"));
    ASSERT_TRUE(WriteFileBytes(albumBucket + L"\\othercase.jpg", "jpeg"));
    EXPECT_EQ(store.FindAlbumRecord(2, movie), albumBucket + L"\\withpicture.ini");
    EXPECT_EQ(store.FindAlbumRecord(1, movie), L"");
    EXPECT_EQ(store.FindAlbumRecord(2, L"D:\\動画\\b.mp4"), L"");
    ASSERT_TRUE(::DeleteFileW((albumBucket + L"\\withpicture.jpg").c_str()));
    EXPECT_EQ(store.FindAlbumRecord(2, movie), L"");
}

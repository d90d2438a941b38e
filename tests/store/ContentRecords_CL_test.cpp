// The record side of loading a movie, the conversion of single-byte records, sharing and
// unsharing, the album copies and list rows, each in a data folder of the test's own.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/TextFormat.h"
#include "store/AtomicRecordWriter_CL.h"
#include "store/ContentInfo.h"
#include "store/ContentRecordNaming.h"
#include "store/ContentRecordStore_CL.h"
#include "store/ContentRecords_CL.h"
#include "store/Inifile_CL.h"
#include "tests/store/RecordTestFolders.h"

namespace {

constexpr int64_t kFirstPlay = 0x60000000;

// A data folder, a store and the record operations over it, with a clock the test moves.
struct Player {
    RecordTestFolders folders;
    ContentRecordStore_CL store{folders.Options()};
    CountingNotice notice;
    ContentRecords_CL records{store, notice};
    int64_t now = kFirstPlay;
    ContentInfo info;
    Player() {
        records.SetClock([this] { return now; });
    }
};

std::map<std::wstring, std::wstring> EntriesByName(const std::wstring& path) {
    std::map<std::wstring, std::wstring> byName;
    for (const IniEntry& e : AtomicRecordWriter_CL::ReadAllEntries(path)) byName[e.section + L"/" + e.key] = e.value;
    return byName;
}

std::wstring Key(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    Inifile_CL file;
    file.Bind(path);
    return file.GetString(section, key, L"<missing>");
}

// Every file under a folder, with its path below it.
void ListFiles(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>* files) {
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListFiles(folder + L"\\" + name, prefix + name + L"\\", files);
        } else {
            files->push_back(prefix + name);
        }
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}

std::vector<std::wstring> AllFiles(const std::wstring& folder) {
    std::vector<std::wstring> files;
    ListFiles(folder, L"", &files);
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::wstring> FullKeyOrder() {
    std::vector<std::wstring> keys = {
        L"MOVIE_INFO/hash",      L"MOVIE_INFO/ini_name",      L"MOVIE_INFO/content_name",
        L"MOVIE_INFO/link_name", L"MOVIE_INFO/no_resume",     L"MOVIE_INFO/play_count",
        L"MOVIE_INFO/last_play_frame", L"MOVIE_INFO/vol_offset", L"MOVIE_INFO/note",
        L"MOVIE_INFO/star_count", L"MOVIE_INFO/play_date_time", L"MOVIE_INFO/add_date",
        L"SKIP_FRAME/count"};
    for (int n = 0; n < 12; ++n) {
        keys.push_back(FormatString(L"SKIP_FRAME/beg%02d", n));
        keys.push_back(FormatString(L"SKIP_FRAME/end%02d", n));
    }
    keys.push_back(L"FAVORITES_FRAME/count");
    for (int n = 0; n < 10; ++n) {
        keys.push_back(FormatString(L"FAVORITES_FRAME/fav_name%02d", n));
        keys.push_back(FormatString(L"FAVORITES_FRAME/fav%02d", n));
    }
    for (const wchar_t* k : {L"PROC_AMP/enable", L"PROC_AMP/brightness", L"PROC_AMP/contrast", L"PROC_AMP/hue",
                             L"PROC_AMP/saturation", L"CATEGORY/category", L"CATEGORY/sub_category"}) {
        keys.push_back(k);
    }
    return keys;
}

}  // namespace

TEST(ContentLoad, TwoLoadsOfOneMovieLeaveOneRecordWithTwoPlays) {
    Player p;
    std::wstring movie = p.folders.Movie(L"となりの映画 第1話.avi");
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    p.now += 3600;
    ContentInfo second;
    ASSERT_TRUE(p.records.LoadContent(second, movie, false));
    EXPECT_EQ(second.play_count, 2);
    EXPECT_EQ(second.play_date_time, kFirstPlay + 3600);
    EXPECT_EQ(second.content_name, L"となりの映画 第1話");

    int bucket = BucketOfHash(HashPath(movie));
    std::wstring record = LocalRecordPath(p.folders.contents, bucket, 0);
    EXPECT_EQ(second.RecordPath(), record);
    // The record, and the fingerprint index the first load's lookup built.
    EXPECT_EQ(AllFiles(p.folders.contents),
              (std::vector<std::wstring>{FormatString(L"%03d\\", bucket) + LocalRecordName(bucket, 0),
                                         L"fingerprints.idx"}));
    std::string bytes = ReadFileBytes(record);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
    // Created with four keys, then the counted plays and the movie's fingerprint.
    EXPECT_EQ(KeysInFileOrder(bytes),
              (std::vector<std::wstring>{L"MOVIE_INFO/ini_name", L"MOVIE_INFO/hash", L"MOVIE_INFO/link_name",
                                         L"MOVIE_INFO/content_name", L"MOVIE_INFO/play_count",
                                         L"MOVIE_INFO/play_date_time", L"MOVIE_INFO/fingerprint"}));
    EXPECT_EQ(Key(record, L"MOVIE_INFO", L"play_count"), L"2");
    EXPECT_EQ(Key(record, L"MOVIE_INFO", L"play_date_time"), L"00000000:60000e10");

    // A rewrite puts every key down in the record's order.
    ASSERT_EQ(p.records.RewriteContentInfo(second, record), S_OK);
    // The fingerprint, which the record's fields do not name, is carried over at the end of its section.
    std::vector<std::wstring> keys = FullKeyOrder();
    keys.insert(std::find(keys.begin(), keys.end(), L"SKIP_FRAME/count"), L"MOVIE_INFO/fingerprint");
    EXPECT_EQ(KeysInFileOrder(ReadFileBytes(record)), keys);
    EXPECT_EQ(Key(record, L"MOVIE_INFO", L"add_date"), L"00000000:60000e10");
    EXPECT_EQ(Key(record, L"MOVIE_INFO", L"play_count"), L"2");
}

TEST(ContentLoad, ASingleByteRecordBecomesUtf16OnFirstLoadWithEveryKey) {
    Player p;
    std::wstring movie = p.folders.Movie(L"old.avi");
    uint32_t hash = HashPath(movie);
    std::wstring record = LocalRecordPath(p.folders.contents, BucketOfHash(hash), 0);
    std::wstring title = ::GetACP() == 932 ? L"古い記録の題名" : L"Old record";

    ContentInfo old;
    old.hash = hash;
    old.ini_name = record;
    old.content_name = title;
    old.link_name = movie;
    old.last_play_frame = 0x2540BE400LL;
    old.skip[0] = {0, 10, 20};
    old.favorites[2] = {title + L"2", 30};
    old.enable = 1;
    old.brightness = -5;
    old.category = title;
    old.note = L"note";
    old.play_count = 6;
    old.star_count = 2;
    old.play_date_time = 0x50000000;
    old.add_date = 0x40000000;
    // The file an older version wrote key by key: each section once, in the code page.
    auto ansiText = [](const std::wstring& text) {
        char buffer[512] = {};
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof(buffer), nullptr, nullptr);
        return std::string(buffer);
    };
    std::string ansi;
    for (const wchar_t* section : {L"MOVIE_INFO", L"SKIP_FRAME", L"FAVORITES_FRAME", L"PROC_AMP", L"CATEGORY"}) {
        ansi += "[" + ansiText(section) + "]\r\n";
        for (const IniEntry& e : old.RewriteEntries()) {
            if (e.section == section) ansi += ansiText(e.key) + "=" + ansiText(e.value) + "\r\n";
        }
    }
    ansi += "[TAG_INFO]\r\ncount=1\r\nitem0=" + ansiText(title) + "\r\n";
    ASSERT_TRUE(WriteFileBytes(record, ansi));

    p.now = 0x70000000;
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    EXPECT_EQ(p.info.RecordPath(), record);
    std::string bytes = ReadFileBytes(record);
    ASSERT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
    std::map<std::wstring, std::wstring> after = EntriesByName(record);
    for (const IniEntry& e : old.RewriteEntries()) {
        std::wstring name = e.section + L"/" + e.key;
        if (name == L"MOVIE_INFO/play_count") {
            EXPECT_EQ(after[name], L"7");
        } else if (name == L"MOVIE_INFO/play_date_time") {
            EXPECT_EQ(after[name], L"00000000:70000000");
        } else {
            EXPECT_EQ(after[name], e.value) << name;
        }
    }
    EXPECT_EQ(after[L"TAG_INFO/item0"], title);
    EXPECT_EQ(after[L"TAG_INFO/count"], L"1");
    EXPECT_EQ(p.info.content_name, title);
    EXPECT_EQ(p.info.favorites[2].name, title + L"2");

    // The next load finds a UTF-16 record and leaves its layout alone.
    std::vector<std::wstring> layout = KeysInFileOrder(bytes);
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    EXPECT_EQ(KeysInFileOrder(ReadFileBytes(record)), layout);
    EXPECT_EQ(p.info.play_count, 8);
}

TEST(ContentLoad, ALockedRecordIsNeitherRewrittenNorDuplicated) {
    Player p;
    std::wstring movie = p.folders.Movie(L"a.avi");
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    std::wstring record = p.info.RecordPath();
    std::string before = ReadFileBytes(record);
    {
        LockedFile lock(record);
        ASSERT_TRUE(lock.IsLocked());
        ContentInfo locked;
        EXPECT_TRUE(p.records.LoadContent(locked, movie, false));
        EXPECT_EQ(locked.RecordPath(), record);
        EXPECT_EQ(locked.play_count, 1);  // read as defaults, counted in memory only
    }
    EXPECT_EQ(ReadFileBytes(record), before);
    EXPECT_EQ(RecordTestFolders::Listing(RecordBucketFolder(p.folders.contents, BucketOfHash(HashPath(movie)))).size(),
              1u);
}

TEST(ContentLoad, AMovieOutOfAnArchiveGetsAThrowAwayRecord) {
    Player p;
    std::wstring movie = p.folders.contents + L"\\..\\zip\\entry.mp4";
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, true));
    EXPECT_EQ(p.info.RecordPath(), ZipRecordPath(p.folders.contents));
    EXPECT_EQ(p.info.hash, 0u);
    EXPECT_EQ(p.info.play_count, 1);
    p.info.SetLastPlayFrame(12345);
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, true));
    EXPECT_EQ(p.info.play_count, 1);
    EXPECT_EQ(p.info.last_play_frame, -1);
    EXPECT_EQ(p.info.content_name, L"entry");
}

TEST(ContentLoad, WithoutAWritableDataFolderTheMoviePlaysAndEveryWriteIsSkipped) {
    RecordTestFolders folders;
    ASSERT_TRUE(WriteFileBytes(folders.temp.Join(L"file"), "x"));
    ContentRecordStore_CL::Options options = folders.Options();
    options.contentsFolder = folders.temp.Join(L"file\\contents");
    ContentRecordStore_CL store(options);
    CountingNotice notice;
    ContentRecords_CL records(store, notice);
    std::wstring movie = folders.Movie(L"映画.mkv");
    std::vector<std::wstring> before = AllFiles(folders.temp.Path());

    ContentInfo info;
    EXPECT_FALSE(records.LoadContent(info, movie, false));
    EXPECT_FALSE(info.HasRecord());
    EXPECT_EQ(info.link_name, movie);
    EXPECT_EQ(info.content_name, L"映画");
    EXPECT_EQ(info.hash, HashPath(movie));
    EXPECT_EQ(info.play_count, 0);
    EXPECT_EQ(info.last_play_frame, -1);
    info.SetLastPlayFrame(99);
    info.SetStarCount(4);
    EXPECT_EQ(records.SyncToAlbums(info), 0);
    EXPECT_FALSE(records.LoadContent(info, movie, true));  // nor a zip record
    EXPECT_EQ(AllFiles(folders.temp.Path()), before);
    EXPECT_EQ(notice.shown, 0);
}

TEST(Sharing, SharingCopiesTheRecordBesideTheMovieAndCountsAPlay) {
    Player p;
    std::wstring movie = p.folders.Movie(L"shared.avi");
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    std::wstring local = p.info.RecordPath();
    p.info.SetStarCount(5);
    std::string localBytes = ReadFileBytes(local);

    p.now += 10;
    ASSERT_TRUE(p.records.ShareContentInfo(p.info, movie));
    std::wstring shared = movie + L".Lumikino.ini";
    EXPECT_EQ(p.info.RecordPath(), shared);
    EXPECT_EQ(p.info.play_count, 2);
    EXPECT_EQ(p.info.star_count, 5);
    EXPECT_TRUE(ContentRecords_CL::IsRecordBesideMovie(p.info.RecordPath(), movie));
    EXPECT_FALSE(ContentRecords_CL::IsRecordBesideMovie(local, movie));
    EXPECT_EQ(ReadFileBytes(local), localBytes);  // the local record stays as it was
    std::map<std::wstring, std::wstring> copy = EntriesByName(shared);
    EXPECT_EQ(copy[L"MOVIE_INFO/share_content_info"], L"1");
    EXPECT_EQ(copy[L"MOVIE_INFO/ini_name"], local);  // the path it was copied from
    EXPECT_EQ(copy[L"MOVIE_INFO/play_count"], L"2");
    EXPECT_EQ(p.notice.shown, 0);
    EXPECT_EQ(RecordTestFolders::Listing(p.folders.movies),
              (std::vector<std::wstring>{L"shared.avi", L"shared.avi.Lumikino.ini"}));

    // From now on every load binds the shared record.
    ContentInfo next;
    ASSERT_TRUE(p.records.LoadContent(next, movie, false));
    EXPECT_EQ(next.RecordPath(), shared);
    EXPECT_EQ(next.play_count, 3);
}

TEST(Sharing, SharingIntoAnUnwritableFolderShowsTheNoticeAndLeavesNothing) {
    Player p;
    ASSERT_TRUE(WriteFileBytes(p.folders.movies + L"\\file", "x"));
    std::wstring movie = p.folders.movies + L"\\file\\a.avi";  // a folder that is really a file
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    std::wstring local = p.info.RecordPath();
    std::vector<std::wstring> before = AllFiles(p.folders.movies);
    EXPECT_FALSE(p.records.ShareContentInfo(p.info, movie));
    EXPECT_EQ(p.notice.shown, 1);
    EXPECT_EQ(p.info.RecordPath(), local);
    EXPECT_EQ(p.info.play_count, 1);
    EXPECT_EQ(AllFiles(p.folders.movies), before);

    // A movie whose shared record would not fit in MAX_PATH is refused the same way.
    std::wstring longMovie = p.folders.movies + L"\\" + std::wstring(255 - p.folders.movies.size(), L'm');
    ASSERT_TRUE(p.records.LoadContent(p.info, longMovie, false));
    EXPECT_FALSE(p.records.ShareContentInfo(p.info, longMovie));
    EXPECT_EQ(p.notice.shown, 2);
    EXPECT_EQ(AllFiles(p.folders.movies), before);
}

TEST(Sharing, UnsharingBringsTheRecordHomeUnderThePathUsedNow) {
    Player p;
    std::wstring movie = p.folders.Movie(L"travel.avi");
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    ASSERT_TRUE(p.records.ShareContentInfo(p.info, movie));
    p.info.SetFavorite(0, L"共有中に付けた印", 777);
    Inifile_CL(p.info.RecordPath()).WriteString(L"TAG_INFO", L"item0", L"タグ");

    // The folder is now reached through another name; the shared record follows.
    std::wstring otherPath = p.folders.movies + L"\\.\\travel.avi";
    ContentInfo info;
    ASSERT_TRUE(p.records.LoadContent(info, otherPath, false));
    EXPECT_EQ(info.play_count, 3);
    EXPECT_EQ(info.link_name, otherPath);

    ASSERT_TRUE(p.records.UnshareContentInfo(info, otherPath));
    EXPECT_EQ(p.notice.shown, 0);
    EXPECT_FALSE(FileExists(movie + L".Lumikino.ini"));
    std::wstring local = info.RecordPath();
    EXPECT_EQ(local.find(p.folders.contents), 0u);
    EXPECT_EQ(info.play_count, 4);  // each switch of sharing counts a play
    EXPECT_EQ(info.favorites[0].name, L"共有中に付けた印");
    std::map<std::wstring, std::wstring> home = EntriesByName(local);
    EXPECT_EQ(home[L"MOVIE_INFO/ini_name"], local);
    EXPECT_EQ(home[L"MOVIE_INFO/hash"], FormatString(L"%d", static_cast<int>(HashPath(otherPath))));
    EXPECT_EQ(home[L"MOVIE_INFO/link_name"], otherPath);
    EXPECT_EQ(home[L"MOVIE_INFO/share_content_info"], L"0");
    EXPECT_EQ(home[L"TAG_INFO/item0"], L"タグ");
    // Found again through the path it now names, by a store that has never seen it.
    ContentRecordStore_CL fresh(p.folders.Options());
    EXPECT_EQ(fresh.LocateRecord(otherPath, false, false), local);
}

TEST(Sharing, UnsharingThatCannotWriteTheLocalRecordKeepsTheSharedOne) {
    Player p;
    std::wstring movie = p.folders.Movie(L"keep.avi");
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    std::wstring local = p.info.RecordPath();
    ASSERT_TRUE(p.records.ShareContentInfo(p.info, movie));
    std::wstring shared = p.info.RecordPath();
    std::string sharedBytes = ReadFileBytes(shared);
    {
        LockedFile lock(local);
        ASSERT_TRUE(lock.IsLocked());
        EXPECT_FALSE(p.records.UnshareContentInfo(p.info, movie));
    }
    EXPECT_EQ(p.notice.shown, 1);
    EXPECT_EQ(p.info.RecordPath(), shared);
    EXPECT_EQ(p.info.play_count, 2);
    EXPECT_EQ(ReadFileBytes(shared), sharedBytes);

    // A shared record that cannot be read is not taken home either.
    {
        LockedFile lock(shared);
        EXPECT_FALSE(p.records.UnshareContentInfo(p.info, movie));
    }
    EXPECT_EQ(p.notice.shown, 2);
    EXPECT_TRUE(FileExists(shared));
    ASSERT_TRUE(p.records.UnshareContentInfo(p.info, movie));
    EXPECT_EQ(p.info.RecordPath(), local);
}

TEST(AlbumSync, PlayCountAndRatingReachEveryAlbumCopyWithAPicture) {
    Player p;
    std::wstring movie = L"D:\\動画\\album.mp4";
    int bucket = BucketOfHash(HashPath(movie));
    std::vector<std::wstring> copies;
    for (int album : {1, 3, 4}) {
        std::wstring folder = p.folders.albums + FormatString(L"\\ALBUM_%04d", album);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ::CreateDirectoryW((folder + L"\\contents").c_str(), nullptr);
        folder = AlbumBucketFolder(p.folders.albums, album, bucket);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        std::wstring copy = folder + L"\\rec.ini";
        Inifile_CL record(copy);
        record.WriteInt(L"MOVIE_INFO", L"hash", static_cast<int>(HashPath(movie)));
        record.WriteString(L"MOVIE_INFO", L"link_name", movie);
        if (album != 4) {
            ASSERT_TRUE(WriteFileBytes(folder + L"\\rec.jpg", "jpeg"));
        }
        copies.push_back(copy);
    }
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    p.info.SetStarCount(3);
    std::vector<std::wstring> notices;
    p.records.SetAlbumNotice([&](const std::wstring& path) { notices.push_back(path); });
    EXPECT_EQ(p.records.SyncToAlbums(p.info), 2);
    // Two copies updated, one notice: it names the movie, not the copy.
    EXPECT_EQ(notices, (std::vector<std::wstring>{movie}));
    for (int i : {0, 1}) {
        EXPECT_EQ(Key(copies[i], L"MOVIE_INFO", L"play_count"), L"1");
        EXPECT_EQ(Key(copies[i], L"MOVIE_INFO", L"star_count"), L"3");
    }
    EXPECT_EQ(Key(copies[2], L"MOVIE_INFO", L"star_count"), L"<missing>");  // no picture, no copy
    EXPECT_FALSE(FolderExists(AlbumBucketFolder(p.folders.albums, 2, bucket)));  // never created
}

TEST(ListRows, ARowReadsItsRecordWithoutCountingOrCreating) {
    Player p;
    std::wstring movie = p.folders.Movie(L"row.avi");
    ContentInfo row;
    EXPECT_FALSE(p.records.ReadRecordOf(movie, &row));
    EXPECT_TRUE(AllFiles(p.folders.contents).empty());
    ASSERT_TRUE(p.records.LoadContent(p.info, movie, false));
    p.info.SetStarCount(4);
    std::string bytes = ReadFileBytes(p.info.RecordPath());
    EXPECT_TRUE(p.records.ReadRecordOf(movie, &row));
    EXPECT_EQ(row.star_count, 4);
    EXPECT_EQ(row.play_count, 1);
    EXPECT_EQ(row.content_name, L"row");
    EXPECT_EQ(ReadFileBytes(p.info.RecordPath()), bytes);
    EXPECT_EQ(StarText(row.star_count), L"★★★★");
}

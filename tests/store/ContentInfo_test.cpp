// The in-memory record: defaults, reading with and without a counted play, the rewrite's key
// list, damaged values and files, and the write-through changes.

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <string>
#include <vector>

#include "store/AtomicRecordWriter_CL.h"
#include "store/ContentInfo.h"
#include "store/ContentRecordKeys.h"
#include "tests/store/RecordTestFolders.h"
#include "tests/support/TempFolder_CL.h"

namespace {

const std::string kBom("\xFF\xFE", 2);
constexpr int64_t kNow = 0x6543210F;  // a fixed "now" in seconds since 1970

// A UTF-16 record file holding the given lines after the byte-order mark.
ContentInfo ReadFile(const std::wstring& path, bool countPlay = false, int64_t now = kNow) {
    ContentInfo info;
    info.Bind(path);
    info.Read(countPlay, now);
    return info;
}

// Every field set to a value of its own, so a key written under the wrong name shows.
ContentInfo FullRecord(const std::wstring& path) {
    ContentInfo info;
    info.hash = 2176210738u;
    info.ini_name = path;
    info.content_name = L"となりの映画　第１話";
    info.link_name = L"\\\\server\\共有\\動画\\movie.mp4";
    info.no_resume = 1;
    info.vol_offset = -7;
    info.last_play_frame = 0x123456789LL;
    for (int n = 0; n < kSkipRangeCount; ++n) {
        info.skip[n].beg = 1000 + n;
        info.skip[n].end = 0x200000000LL + n;
    }
    info.skip[5].beg = kNoPosition;  // unset positions survive as -1
    for (int n = 0; n < kFavoriteCount; ++n) {
        info.favorites[n].name = FormatString(L"お気に入り%d", n);
        info.favorites[n].frame = 5000 + n;
    }
    info.favorites[9] = ContentInfo::Favorite{};
    info.enable = 1;
    info.brightness = -20;
    info.contrast = 130;
    info.hue = 0;
    info.saturation = kProcAmpNotSet;
    info.category = L"アニメ";
    info.sub_category = L"SF";
    info.note = L"メモ: 2回目は吹き替えで";
    info.play_count = 12;
    info.star_count = 4;
    info.play_date_time = 0x1122334455LL;
    info.add_date = 0x5566778899LL;
    return info;
}

void ExpectSameValues(const ContentInfo& a, const ContentInfo& b) {
    EXPECT_EQ(a.hash, b.hash);
    EXPECT_EQ(a.content_name, b.content_name);
    EXPECT_EQ(a.link_name, b.link_name);
    EXPECT_EQ(a.no_resume, b.no_resume);
    EXPECT_EQ(a.vol_offset, b.vol_offset);
    EXPECT_EQ(a.last_play_frame, b.last_play_frame);
    for (int n = 0; n < kSkipRangeCount; ++n) {
        EXPECT_EQ(a.skip[n].beg, b.skip[n].beg) << n;
        EXPECT_EQ(a.skip[n].end, b.skip[n].end) << n;
    }
    for (int n = 0; n < kFavoriteCount; ++n) {
        EXPECT_EQ(a.favorites[n].name, b.favorites[n].name) << n;
        EXPECT_EQ(a.favorites[n].frame, b.favorites[n].frame) << n;
    }
    EXPECT_EQ(a.enable, b.enable);
    EXPECT_EQ(a.brightness, b.brightness);
    EXPECT_EQ(a.contrast, b.contrast);
    EXPECT_EQ(a.hue, b.hue);
    EXPECT_EQ(a.saturation, b.saturation);
    EXPECT_EQ(a.category, b.category);
    EXPECT_EQ(a.sub_category, b.sub_category);
    EXPECT_EQ(a.note, b.note);
    EXPECT_EQ(a.play_count, b.play_count);
    EXPECT_EQ(a.star_count, b.star_count);
    EXPECT_EQ(a.play_date_time, b.play_date_time);
    EXPECT_EQ(a.add_date, b.add_date);
}

}  // namespace

TEST(ContentInfo, AnEmptyRecordHoldsDefaultsAndNoFile) {
    ContentInfo info;
    EXPECT_FALSE(info.HasRecord());
    EXPECT_EQ(info.last_play_frame, -1);
    EXPECT_EQ(info.star_count, 0);
    EXPECT_EQ(info.brightness, 0x7FFFFFFF);
    for (const auto& range : info.skip) {
        EXPECT_EQ(range.beg, -1);
        EXPECT_EQ(range.end, -1);
    }
    for (const auto& favorite : info.favorites) EXPECT_EQ(favorite.frame, -1);
}

TEST(ContentInfo, MissingKeysReadAsTheirDefaultsAndReadingWritesNothing) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ASSERT_TRUE(WriteFileBytes(path, kBom));
    ContentInfo info = ReadFile(path);
    EXPECT_EQ(info.ini_name, path);
    EXPECT_EQ(info.hash, 0u);
    EXPECT_EQ(info.content_name, L"");
    EXPECT_EQ(info.link_name, L"");
    EXPECT_EQ(info.no_resume, 0);
    EXPECT_EQ(info.vol_offset, 0);
    EXPECT_EQ(info.last_play_frame, -1);
    EXPECT_EQ(info.skip[11].end, -1);
    EXPECT_EQ(info.favorites[0].name, L"");
    EXPECT_EQ(info.favorites[9].frame, -1);
    EXPECT_EQ(info.enable, 0);
    EXPECT_EQ(info.saturation, 0x7FFFFFFF);
    EXPECT_EQ(info.play_count, 0);
    EXPECT_EQ(info.star_count, 0);  // missing reads -1, which means none
    EXPECT_EQ(info.add_date, kNow);  // the time of the first read, not written
    EXPECT_EQ(ReadFileBytes(path), kBom);
}

TEST(ContentInfo, ACountedPlayWritesTheCountThenTheTimeAtOnce) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ASSERT_TRUE(WriteFileBytes(path, kBom));
    ContentInfo info = ReadFile(path, true, kNow);
    EXPECT_EQ(info.play_count, 1);
    EXPECT_EQ(info.play_date_time, kNow);
    std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(KeysInFileOrder(bytes),
              (std::vector<std::wstring>{L"MOVIE_INFO/play_count", L"MOVIE_INFO/play_date_time"}));
    ContentInfo again = ReadFile(path, true, kNow + 60);
    EXPECT_EQ(again.play_count, 2);
    EXPECT_EQ(ReadFile(path).play_date_time, kNow + 60);
    EXPECT_NE(Utf16Text(ReadFileBytes(path)).find(L"play_date_time=00000000:6543214b"), std::wstring::npos);
}

TEST(ContentInfo, EveryKeyRoundTripsThroughARewrite) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ContentInfo written = FullRecord(path);
    AtomicRecordWriter_CL writer;
    ASSERT_EQ(writer.RewriteIni(path, written.RewriteEntries(), true), S_OK);
    ContentInfo read = ReadFile(path, false, 1);
    ExpectSameValues(read, written);
    // The hash is unsigned in memory and a signed decimal in the file.
    EXPECT_NE(Utf16Text(ReadFileBytes(path)).find(L"hash=-2118756558\r\n"), std::wstring::npos);
}

TEST(ContentInfo, TheRewriteListHoldsEveryKeyInTheRecordOrder) {
    ContentInfo info;
    std::vector<std::wstring> keys;
    for (const IniEntry& e : info.RewriteEntries()) keys.push_back(e.section + L"/" + e.key);
    std::vector<std::wstring> expected = {
        L"MOVIE_INFO/hash",          L"MOVIE_INFO/ini_name",       L"MOVIE_INFO/content_name",
        L"MOVIE_INFO/link_name",     L"MOVIE_INFO/no_resume",      L"MOVIE_INFO/play_count",
        L"MOVIE_INFO/last_play_frame", L"MOVIE_INFO/vol_offset",   L"SKIP_FRAME/count"};
    for (int n = 0; n < 12; ++n) {
        expected.push_back(FormatString(L"SKIP_FRAME/beg%02d", n));
        expected.push_back(FormatString(L"SKIP_FRAME/end%02d", n));
    }
    expected.push_back(L"FAVORITES_FRAME/count");
    for (int n = 0; n < 10; ++n) {
        expected.push_back(FormatString(L"FAVORITES_FRAME/fav_name%02d", n));
        expected.push_back(FormatString(L"FAVORITES_FRAME/fav%02d", n));
    }
    for (const wchar_t* key : {L"enable", L"brightness", L"contrast", L"hue", L"saturation"}) {
        expected.push_back(std::wstring(L"PROC_AMP/") + key);
    }
    for (const wchar_t* key : {L"CATEGORY/category", L"CATEGORY/sub_category", L"MOVIE_INFO/note",
                               L"MOVIE_INFO/star_count", L"MOVIE_INFO/play_date_time", L"MOVIE_INFO/add_date"}) {
        expected.push_back(key);
    }
    EXPECT_EQ(keys, expected);
    std::vector<IniEntry> entries = info.RewriteEntries();
    EXPECT_EQ(entries[8].value, L"12");                  // SKIP_FRAME count
    EXPECT_EQ(entries[9].value, L"ffffffff:ffffffff");   // beg00 unset
    EXPECT_EQ(entries[33].value, L"10");                 // FAVORITES_FRAME count
}

struct ValueCase {
    const wchar_t* key;
    const wchar_t* text;
    int expected;
};
class DamagedValue : public ::testing::TestWithParam<ValueCase> {};

// What a hand-edited or damaged value reads as.
TEST_P(DamagedValue, ReadsAsItsDefaultOutsideItsRange) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(std::wstring(L"[MOVIE_INFO]\r\n") + GetParam().key + L"=" +
                                               GetParam().text + L"\r\n")));
    ContentInfo info = ReadFile(path);
    int value = std::wstring(GetParam().key) == L"star_count"   ? info.star_count
                : std::wstring(GetParam().key) == L"vol_offset" ? info.vol_offset
                                                                 : info.play_count;
    EXPECT_EQ(value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DamagedValue,
    ::testing::Values(ValueCase{L"star_count", L"-1", 0}, ValueCase{L"star_count", L"0", 0},
                      ValueCase{L"star_count", L"5", 5}, ValueCase{L"star_count", L"6", 0},
                      ValueCase{L"star_count", L"-7", 0}, ValueCase{L"star_count", L"3x", 3},
                      ValueCase{L"star_count", L"★★★", 0}, ValueCase{L"star_count", L"2147483647", 0},
                      ValueCase{L"vol_offset", L"-10", -10}, ValueCase{L"vol_offset", L"10", 10},
                      ValueCase{L"vol_offset", L"11", 0}, ValueCase{L"vol_offset", L"-2147483648", 0},
                      ValueCase{L"play_count", L"-5", 0}, ValueCase{L"play_count", L"17", 17}));

TEST(ContentInfo, DamagedPositionsReadAsNone) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(L"[MOVIE_INFO]\r\nlast_play_frame=ffffffff:fffffffe\r\n"
                                               L"[SKIP_FRAME]\r\nbeg00=00000000:00000010\r\nend00=garbage\r\n"
                                               L"beg01=80000000:00000000\r\n"
                                               L"[FAVORITES_FRAME]\r\nfav03=0000\r\n")));
    ContentInfo info = ReadFile(path);
    EXPECT_EQ(info.last_play_frame, -1);
    EXPECT_EQ(info.skip[0].beg, 16);
    EXPECT_EQ(info.skip[0].end, -1);   // too short to hold a low word
    EXPECT_EQ(info.skip[1].beg, -1);   // negative
    EXPECT_EQ(info.favorites[3].frame, -1);
}

TEST(ContentInfo, TheCountStopsAtItsLargestValue) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(L"[MOVIE_INFO]\r\nplay_count=2147483647\r\n")));
    EXPECT_EQ(ReadFile(path, true).play_count, INT_MAX);
    EXPECT_EQ(ReadFile(path).play_count, INT_MAX);
}

TEST(ContentInfo, DamagedFilesReadAsDefaultsForWhatIsDamaged) {
    TempFolder_CL folder;
    std::wstring garbage = folder.Join(L"garbage.ini");
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 2654435761u) >> 13));
    ASSERT_TRUE(WriteFileBytes(garbage, bytes));
    ContentInfo info = ReadFile(garbage);
    EXPECT_EQ(info.star_count, 0);
    EXPECT_GE(info.vol_offset, -10);
    EXPECT_LE(info.vol_offset, 10);

    // A UTF-16 file cut in the middle of a unit: what stands before the cut still reads.
    std::wstring cut = folder.Join(L"cut.ini");
    std::string text = Utf16File(L"[MOVIE_INFO]\r\nplay_count=7\r\ncontent_name=途中で切れた");
    text.pop_back();
    ASSERT_TRUE(WriteFileBytes(cut, text));
    ContentInfo partial = ReadFile(cut);
    EXPECT_EQ(partial.play_count, 7);
    EXPECT_EQ(partial.last_play_frame, -1);
}

TEST(ContentInfo, ChangesAreWrittenThroughAtOnce) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ASSERT_TRUE(WriteFileBytes(path, kBom));
    ContentInfo info;
    info.Bind(path);
    info.SetLastPlayFrame(0x1234);
    info.SetStarCount(3);
    info.SetContentName(L"新しい題名");
    info.SetNoResume(1);
    info.SetVolOffset(-4);
    info.SetSkipRange(kSkipEnding, 100, 200);
    info.SetFavorite(9, L"見どころ", 300);
    info.SetProcAmp(1, 10, 20, 30, 40);
    ContentInfo read = ReadFile(path);
    EXPECT_EQ(read.last_play_frame, 0x1234);
    EXPECT_EQ(read.star_count, 3);
    EXPECT_EQ(read.content_name, L"新しい題名");
    EXPECT_EQ(read.no_resume, 1);
    EXPECT_EQ(read.vol_offset, -4);
    EXPECT_EQ(read.skip[1].beg, 100);
    EXPECT_EQ(read.skip[1].end, 200);
    EXPECT_EQ(read.favorites[9].name, L"見どころ");
    EXPECT_EQ(read.favorites[9].frame, 300);
    EXPECT_EQ(read.enable, 1);
    EXPECT_EQ(read.saturation, 40);

    // Values outside their range change nothing, neither in memory nor in the file.
    std::string before = ReadFileBytes(path);
    info.SetStarCount(6);
    info.SetVolOffset(11);
    info.SetSkipRange(12, 1, 2);
    info.SetFavorite(-1, L"x", 1);
    EXPECT_EQ(info.star_count, 3);
    EXPECT_EQ(info.vol_offset, -4);
    EXPECT_EQ(ReadFileBytes(path), before);
}

TEST(ContentInfo, WithoutARecordChangesStayInMemoryAndNoFileIsTouched) {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring winIni = std::wstring(windows) + L"\\win.ini";
    std::string before = ReadFileBytes(winIni);
    ContentInfo info;
    info.SetLastPlayFrame(99);
    info.SetStarCount(5);
    info.SetFavorite(0, L"x", 1);
    info.SetProcAmp(1, 1, 1, 1, 1);
    EXPECT_EQ(info.last_play_frame, 99);
    EXPECT_EQ(info.star_count, 5);
    EXPECT_FALSE(info.HasRecord());
    // An empty path would send the profile functions to win.ini.
    EXPECT_EQ(ReadFileBytes(winIni), before);
    EXPECT_EQ(ReadFileBytes(winIni).find("last_play_frame"), std::string::npos);
}

TEST(ContentInfo, NoSkipFlagsComeFromTheThreeSettings) {
    ContentInfo info;
    info.ApplyNoSkipFlags(1, 0, 1);
    EXPECT_EQ(info.skip[0].no_skip, 1);
    EXPECT_EQ(info.skip[1].no_skip, 0);
    for (int n = 2; n < 12; ++n) EXPECT_EQ(info.skip[n].no_skip, 1) << n;
    info.ApplyNoSkipFlags(0, 1, 0);
    EXPECT_EQ(info.skip[0].no_skip, 0);
    EXPECT_EQ(info.skip[1].no_skip, 1);
    EXPECT_EQ(info.skip[11].no_skip, 0);
}

TEST(ContentInfo, CurrentTimeIsSecondsSince1970) {
    int64_t now = CurrentUnixSeconds();
    EXPECT_GT(now, 1577836800);   // after 2020-01-01
    EXPECT_LT(now, 4102444800);   // before 2100-01-01
}

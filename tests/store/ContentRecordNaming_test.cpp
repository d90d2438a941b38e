// Record names and the path hash: the formats older records and the album application share.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "store/ContentInfo.h"
#include "store/ContentRecordNaming.h"

struct HashCase {
    const wchar_t* path;
    uint32_t hash;
    int bucket;
};
class PathHash : public ::testing::TestWithParam<HashCase> {};

TEST_P(PathHash, LengthThenTimesThreePlusEachUnitWrappingIn32Bits) {
    EXPECT_EQ(HashPath(GetParam().path), GetParam().hash);
    EXPECT_EQ(BucketOfHash(HashPath(GetParam().path)), GetParam().bucket);
}

// Values worked out independently of this code.
INSTANTIATE_TEST_SUITE_P(
    Vectors, PathHash,
    ::testing::Values(HashCase{L"", 0, 0}, HashCase{L"A", 68, 68}, HashCase{L"AB", 279, 79},
                      HashCase{L"D:\\v\\a.mp4", 2629522, 22},
                      HashCase{L"D:\\V\\a.mp4", 2606194, 94},   // case is not folded
                      HashCase{L"D:\\v\\A.mp4", 2626930, 30},
                      HashCase{L"D:\\動画\\となりの映画.mp4", 1869920544, 44},
                      HashCase{L"C:\\𠮷.avi", 18905139, 39},   // a surrogate pair is two units
                      HashCase{L"D:\\movies\\xx.mp4", 2176210738u, 38},  // above INT_MAX
                      HashCase{L"C:\\Users\\someone\\Videos\\a very long folder name that makes the hash wrap "
                               L"around many times\\movie.mkv",
                               779418192, 92}));

TEST(PathHash, SeparatorsAreNotNormalised) {
    EXPECT_NE(HashPath(L"D:\\v\\a.mp4"), HashPath(L"D:/v/a.mp4"));
}

TEST(PathHash, NumberedNamesCanCollideSoTheLinkNameDecides) {
    // 1*3+3 == 2*3+0: the weak hash puts these two in one bucket with one hash.
    EXPECT_EQ(HashPath(L"\\\\server\\share\\movies\\Episode 13.mp4"),
              HashPath(L"\\\\server\\share\\movies\\Episode 20.mp4"));
}

TEST(RecordNames, LocalRecordPathUsesTheBucketTwiceAndFiveDigitIndex) {
    EXPECT_EQ(LocalRecordPath(L"C:\\Docs\\Lumikino\\contents", 7, 42),
              L"C:\\Docs\\Lumikino\\contents\\007\\contents007-00042.ini");
    EXPECT_EQ(LocalRecordPath(L"C:\\c", 99, 99999), L"C:\\c\\099\\contents099-99999.ini");
    EXPECT_EQ(LocalRecordName(0, 0), L"contents000-00000.ini");
    EXPECT_EQ(RecordBucketFolder(L"C:\\c", 5), L"C:\\c\\005");
}

struct IndexCase {
    const wchar_t* name;
    int bucket;
    int index;
};
class RecordIndexName : public ::testing::TestWithParam<IndexCase> {};

TEST_P(RecordIndexName, ReadsTheIndexOfThisBucketsNamesOnly) {
    EXPECT_EQ(ParseLocalRecordIndex(GetParam().name, GetParam().bucket), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RecordIndexName,
    ::testing::Values(IndexCase{L"contents007-00042.ini", 7, 42}, IndexCase{L"contents007-99999.ini", 7, 99999},
                      IndexCase{L"CONTENTS007-00001.INI", 7, 1},   // the file system ignores case
                      IndexCase{L"contents008-00042.ini", 7, -1},  // another bucket's name
                      IndexCase{L"contents007-0042.ini", 7, -1}, IndexCase{L"contents007_00042.ini", 7, -1},
                      IndexCase{L"contents007-0004x.ini", 7, -1}, IndexCase{L"contents007-00042.txt", 7, -1},
                      IndexCase{L"zip_contents.ini", 7, -1}, IndexCase{L"", 7, -1}));

TEST(RecordNames, SharedRecordSitsBesideTheMovieWithinMaxPath) {
    EXPECT_EQ(SharedRecordPath(L"D:\\v\\a.mp4"), L"D:\\v\\a.mp4.Lumikino.ini");
    EXPECT_EQ(SharedRecordPath(L""), L"");
    const std::wstring suffix = L".Lumikino.ini";
    // 259 units plus the terminator still fit; 260 would be cut by the platform.
    std::wstring fits = L"D:\\" + std::wstring(259 - 3 - suffix.size(), L'm');
    ASSERT_EQ(fits.size() + suffix.size(), 259u);
    EXPECT_EQ(SharedRecordPath(fits), fits + suffix);
    EXPECT_EQ(SharedRecordPath(fits + L"m"), L"");
    EXPECT_EQ(SharedRecordPath(std::wstring(1000, L'x')), L"");
}

TEST(RecordNames, ZipAndAlbumPaths) {
    EXPECT_EQ(ZipRecordPath(L"C:\\d\\contents"), L"C:\\d\\contents\\zip_contents.ini");
    EXPECT_EQ(AlbumBucketFolder(L"C:\\d\\Kinoshelf", 3, 7), L"C:\\d\\Kinoshelf\\ALBUM_0003\\contents\\007");
    EXPECT_EQ(AlbumPicturePath(L"C:\\a\\rec.ini"), L"C:\\a\\rec.jpg");
    EXPECT_EQ(AlbumPicturePath(L"C:\\a.b\\rec"), L"C:\\a.b\\rec.jpg");  // a dot of a folder is kept
}

struct NameCase {
    const wchar_t* path;
    const wchar_t* name;
};
class TitleFromPath : public ::testing::TestWithParam<NameCase> {};

TEST_P(TitleFromPath, TextAfterLastBackslashCutBeforeItsLastDot) {
    EXPECT_EQ(ContentNameFromPath(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Paths, TitleFromPath,
                         ::testing::Values(NameCase{L"D:\\v\\a.mp4", L"a"},
                                           NameCase{L"D:\\v\\となりの映画 第1話.mkv", L"となりの映画 第1話"},
                                           NameCase{L"D:\\v\\a.b.c.avi", L"a.b.c"},
                                           NameCase{L"D:\\v1.2\\movie", L"movie"},
                                           NameCase{L"movie.wmv", L"movie"},
                                           NameCase{L"D:\\v\\.hidden", L""},
                                           NameCase{L"D:\\v\\", L""}));

TEST(StarText, OneBlackStarPerPointAndNothingOutsideTheScale) {
    const wchar_t* expected[] = {L"", L"★", L"★★", L"★★★", L"★★★★", L"★★★★★"};
    for (int stars = 0; stars <= 5; ++stars) EXPECT_EQ(StarText(stars), expected[stars]) << stars;
    EXPECT_EQ(StarText(-1), L"");
    EXPECT_EQ(StarText(6), L"");
}

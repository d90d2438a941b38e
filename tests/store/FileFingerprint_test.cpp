// The fingerprint of a movie file: which blocks are read, that the hash sees every block, the
// text form in records, and files that have no fingerprint.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "store/FileFingerprint.h"
#include "tests/store/RecordTestFolders.h"
#include "tests/support/TempFolder_CL.h"

namespace {

// Bytes that differ from place to place, so a block read from the wrong offset shows.
std::string Pattern(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(state >> 24);
    }
    return bytes;
}

FileFingerprint PrintOf(const std::wstring& path) {
    FileFingerprint print;
    EXPECT_TRUE(ReadFileFingerprint(path, &print)) << "no print for a readable file";
    return print;
}

struct BlockCase {
    uint64_t size;
    uint32_t length;
    uint64_t middle;
    uint64_t end;
};
class FingerprintBlockLayout : public ::testing::TestWithParam<BlockCase> {};

TEST_P(FingerprintBlockLayout, StartMiddleAndEndOfMinOf64KiBAndSize) {
    const BlockCase& c = GetParam();
    FingerprintBlocks blocks = FingerprintBlocksOf(c.size);
    EXPECT_EQ(blocks.lengthBytes, c.length);
    EXPECT_EQ(blocks.offsets[0], 0u);
    EXPECT_EQ(blocks.offsets[1], c.middle);
    EXPECT_EQ(blocks.offsets[2], c.end);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FingerprintBlockLayout, ::testing::Values(
    BlockCase{1, 1, 0, 0},                                  // one byte read three times
    BlockCase{65536, 65536, 0, 0},                          // exactly one block: the whole file thrice
    BlockCase{100000, 65536, 17232, 34464},                 // under three blocks: they overlap
    BlockCase{196608, 65536, 65536, 131072},                // exactly three blocks side by side
    BlockCase{209715200, 65536, 104824832, 209649664}));    // a 200 MB movie

TEST(FileFingerprint, SameContentGivesSamePrintWhateverTheName) {
    TempFolder_CL temp;
    std::string bytes = Pattern(1 << 20, 1);
    ASSERT_TRUE(WriteFileBytes(temp.Join(L"a.mp4"), bytes));
    ASSERT_TRUE(WriteFileBytes(temp.Join(L"別名 b.avi"), bytes));
    FileFingerprint a = PrintOf(temp.Join(L"a.mp4"));
    EXPECT_EQ(a, PrintOf(temp.Join(L"別名 b.avi")));
    EXPECT_EQ(a.sizeBytes, 1u << 20);
    EXPECT_EQ(a, PrintOf(temp.Join(L"a.mp4"))) << "a second read must give the same print";
}

TEST(FileFingerprint, OneChangedByteInAnyBlockChangesThePrint) {
    TempFolder_CL temp;
    const size_t size = 1 << 20;
    std::string bytes = Pattern(size, 2);
    ASSERT_TRUE(WriteFileBytes(temp.Join(L"base.bin"), bytes));
    FileFingerprint base = PrintOf(temp.Join(L"base.bin"));
    FingerprintBlocks blocks = FingerprintBlocksOf(size);
    // First and last byte of each block, and a bit flipped in the top bit of a word.
    const size_t places[] = {0, blocks.lengthBytes - 1, static_cast<size_t>(blocks.offsets[1]),
                             static_cast<size_t>(blocks.offsets[1]) + blocks.lengthBytes / 2 + 7,
                             static_cast<size_t>(blocks.offsets[2]), size - 1};
    for (size_t place : places) {
        std::string changed = bytes;
        changed[place] = static_cast<char>(changed[place] ^ 0x80);
        std::wstring path = temp.Join(L"changed.bin");
        ASSERT_TRUE(WriteFileBytes(path, changed));
        EXPECT_NE(PrintOf(path), base) << "byte " << place;
    }
}

TEST(FileFingerprint, DifferentMiddleWithSameStartEndAndSizeDiffers) {
    TempFolder_CL temp;
    const size_t size = 3 << 20;
    std::string first = Pattern(size, 3);
    std::string second = first;
    std::string middle = Pattern(1 << 20, 4);
    second.replace(1 << 20, middle.size(), middle);  // the middle megabyte only
    ASSERT_TRUE(WriteFileBytes(temp.Join(L"one.mp4"), first));
    ASSERT_TRUE(WriteFileBytes(temp.Join(L"two.mp4"), second));
    EXPECT_NE(PrintOf(temp.Join(L"one.mp4")), PrintOf(temp.Join(L"two.mp4")));
}

TEST(FileFingerprint, SmallFilesArePrintedAndTellTheirBytesApart) {
    TempFolder_CL temp;
    for (size_t size : {size_t{1}, size_t{7}, size_t{65536}, size_t{100000}, size_t{196607}}) {
        std::string bytes = Pattern(size, 6);
        ASSERT_TRUE(WriteFileBytes(temp.Join(L"small.bin"), bytes));
        FileFingerprint print = PrintOf(temp.Join(L"small.bin"));
        EXPECT_EQ(print.sizeBytes, size);
        bytes[size / 2] = static_cast<char>(bytes[size / 2] ^ 0x10);
        ASSERT_TRUE(WriteFileBytes(temp.Join(L"small.bin"), bytes));
        EXPECT_NE(PrintOf(temp.Join(L"small.bin")), print) << "size " << size;
    }
}

TEST(FileFingerprint, EmptyMissingLockedAndFolderHaveNoPrint) {
    TempFolder_CL temp;
    FileFingerprint print;
    ASSERT_TRUE(WriteFileBytes(temp.Join(L"empty.mp4"), ""));
    EXPECT_FALSE(ReadFileFingerprint(temp.Join(L"empty.mp4"), &print));
    EXPECT_FALSE(print.IsValid());
    EXPECT_FALSE(ReadFileFingerprint(temp.Join(L"missing.mp4"), &print));
    EXPECT_FALSE(ReadFileFingerprint(temp.Path(), &print));
    EXPECT_FALSE(ReadFileFingerprint(L"", &print));
    ASSERT_TRUE(WriteFileBytes(temp.Join(L"locked.mp4"), Pattern(4096, 7)));
    LockedFile lock(temp.Join(L"locked.mp4"));
    ASSERT_TRUE(lock.IsLocked());
    EXPECT_FALSE(ReadFileFingerprint(temp.Join(L"locked.mp4"), &print));
    EXPECT_FALSE(print.IsValid());
}

TEST(FileFingerprint, HashSeesEveryWordAndTheTail) {
    std::string bytes = Pattern(77, 8);
    uint64_t base = HashBytes64(bytes.data(), bytes.size(), 0);
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (int bit : {0, 7}) {
            std::string changed = bytes;
            changed[i] = static_cast<char>(changed[i] ^ (1 << bit));
            EXPECT_NE(HashBytes64(changed.data(), changed.size(), 0), base) << "byte " << i << " bit " << bit;
        }
    }
    EXPECT_NE(HashBytes64(bytes.data(), 76, 0), HashBytes64(bytes.data(), 77, 0));
    EXPECT_NE(HashBytes64(bytes.data(), 77, 1), base) << "the seed chains blocks";
    // Two top bits flipped in two words must not cancel each other.
    std::string twice = bytes;
    twice[7] = static_cast<char>(twice[7] ^ 0x80);
    twice[15] = static_cast<char>(twice[15] ^ 0x80);
    EXPECT_NE(HashBytes64(twice.data(), twice.size(), 0), base);
}

TEST(FileFingerprint, TextFormRoundTripsAndRejectsOtherText) {
    FileFingerprint print{209715200, 0x00c0ffee12345678ull};
    EXPECT_EQ(FormatFingerprint(print), L"209715200:00c0ffee12345678");
    FileFingerprint read;
    ASSERT_TRUE(ParseFingerprint(L"209715200:00C0FFEE12345678", &read));
    EXPECT_EQ(read, print);
    FileFingerprint largest{UINT64_MAX, UINT64_MAX};
    ASSERT_TRUE(ParseFingerprint(FormatFingerprint(largest), &read));
    EXPECT_EQ(read, largest);
    for (const wchar_t* bad : {L"", L":00c0ffee12345678", L"0:00c0ffee12345678", L"12:00c0ffee1234567",
                               L"12:00c0ffee123456789", L"12:00c0ffee1234567g", L"1 2:00c0ffee12345678",
                               L"12", L"18446744073709551616:00c0ffee12345678", L"-5:00c0ffee12345678"}) {
        EXPECT_FALSE(ParseFingerprint(bad, &read)) << bad;
        EXPECT_FALSE(read.IsValid());
    }
}

TEST(FileFingerprint, UncPathsAreNetworkPathsLocalOnesAreNot) {
    EXPECT_TRUE(IsNetworkPath(L"\\\\server\\share\\movie.mp4"));
    EXPECT_TRUE(IsNetworkPath(L"\\\\?\\UNC\\server\\share\\movie.mp4"));
    TempFolder_CL temp;
    EXPECT_FALSE(IsNetworkPath(temp.Join(L"movie.mp4")));
    EXPECT_FALSE(IsNetworkPath(L""));
}

}  // namespace

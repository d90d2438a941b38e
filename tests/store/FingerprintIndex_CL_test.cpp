// The fingerprint index file: its lines, what a reader takes in from a file other instances
// append to or rewrite, and the rebuild from the records when the file cannot be trusted.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "store/ContentRecordKeys.h"
#include "store/ContentRecordNaming.h"
#include "store/FingerprintIndex_CL.h"
#include "store/Inifile_CL.h"
#include "tests/store/RecordTestFolders.h"

namespace {

using Ref = FingerprintIndex_CL::RecordRef;
using Line = FingerprintIndex_CL::Line;
using Kind = FingerprintIndex_CL::LineKind;

const FileFingerprint kPrintA{1000, 0x1111222233334444ull};
const FileFingerprint kPrintB{2000, 0xaaaabbbbccccddddull};

std::string HeaderLine() { return std::string(FingerprintIndex_CL::Header()) + "\r\n"; }

// A local record file carrying a fingerprint key, as a load leaves it.
void WriteRecord(const std::wstring& contents, const Ref& ref, const FileFingerprint& print) {
    std::wstring path = LocalRecordPath(contents, ref.bucket, ref.index);
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(L"[MOVIE_INFO]\r\nhash=1\r\nlink_name=C:\\m.mp4\r\nfingerprint=" +
                                               FormatFingerprint(print) + L"\r\n")));
}

TEST(FingerprintIndexLine, FormatsAndParsesBack) {
    Line line{Kind::Remove, kPrintA, Ref{7, 42}};
    EXPECT_EQ(FingerprintIndex_CL::FormatLine(line), "- 1000:1111222233334444 007 00042");
    Line read;
    ASSERT_TRUE(FingerprintIndex_CL::ParseLine("+ 2000:aaaabbbbccccdddd 099 99999", &read));
    EXPECT_EQ(read.kind, Kind::Add);
    EXPECT_EQ(read.fingerprint, kPrintB);
    EXPECT_EQ(read.record, (Ref{99, 99999}));
}

TEST(FingerprintIndexLine, RejectsEverythingElse) {
    for (const char* bad : {"", "+", "* 1000:1111222233334444 007 00042", "+ 1000:1111222233334444 07 00042",
                            "+ 1000:1111222233334444 100 00042", "+ 1000:1111222233334444 007 0042",
                            "+ 1000:1111222233334444 007 00042 x", "+  1000:1111222233334444 007 00042",
                            "+ 1000:11112222333344 007 00042", "+ 1000:1111222233334444 007 0004"}) {
        Line line;
        EXPECT_FALSE(FingerprintIndex_CL::ParseLine(bad, &line)) << bad;
    }
}

TEST(FingerprintIndex, MissingFileIsRebuiltFromTheRecords) {
    RecordTestFolders folders;
    WriteRecord(folders.contents, Ref{3, 0}, kPrintA);
    WriteRecord(folders.contents, Ref{3, 1}, kPrintB);
    WriteRecord(folders.contents, Ref{58, 12}, kPrintA);  // a copy of the first movie
    // Records without a key, and files that are no records, give nothing.
    ASSERT_TRUE(WriteFileBytes(LocalRecordPath(folders.contents, 4, 0), Utf16File(L"[MOVIE_INFO]\r\nhash=5\r\n")));
    ASSERT_TRUE(WriteFileBytes(RecordBucketFolder(folders.contents, 5) + L"\\other.ini",
                               Utf16File(L"[MOVIE_INFO]\r\nfingerprint=1000:1111222233334444\r\n")));

    FingerprintIndex_CL index(folders.contents);
    ASSERT_TRUE(index.Refresh());
    EXPECT_EQ(index.RebuildCount(), 1);
    EXPECT_EQ(index.Candidates(kPrintA), (std::vector<Ref>{Ref{3, 0}, Ref{58, 12}}));
    EXPECT_EQ(index.Candidates(kPrintB), (std::vector<Ref>{Ref{3, 1}}));
    EXPECT_EQ(index.EntryCount(), 3u);

    // The rebuilt file serves the next reader without another rebuild.
    FingerprintIndex_CL another(folders.contents);
    ASSERT_TRUE(another.Refresh());
    EXPECT_EQ(another.RebuildCount(), 0);
    EXPECT_EQ(another.Candidates(kPrintA), (std::vector<Ref>{Ref{3, 0}, Ref{58, 12}}));
}

TEST(FingerprintIndex, ForeignHeaderOrDamagedLineMeansRebuild) {
    RecordTestFolders folders;
    WriteRecord(folders.contents, Ref{3, 0}, kPrintA);
    std::wstring path = FingerprintIndex_CL::IndexPath(folders.contents);
    const std::string damaged[] = {
        "LumikinoFingerprints 0\r\n+ 2000:aaaabbbbccccdddd 010 00000\r\n",               // an older format
        HeaderLine() + "+ 2000:aaaabbbbccccdddd 010 00000\r\n+ 2000:aaaab\r\n",          // a line cut short
        HeaderLine() + "+ 2000:aaaabbbbccccdddd 010 0+ 1000:1111222233334444 003 00000\r\n",  // two run together
    };
    for (const std::string& bytes : damaged) {
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        FingerprintIndex_CL index(folders.contents);
        ASSERT_TRUE(index.Refresh());
        EXPECT_EQ(index.RebuildCount(), 1) << bytes;
        EXPECT_EQ(index.Candidates(kPrintA), (std::vector<Ref>{Ref{3, 0}})) << bytes;
        EXPECT_TRUE(index.Candidates(kPrintB).empty()) << "what only the bad file said is gone";
        EXPECT_EQ(ReadFileBytes(path), HeaderLine() + "+ 1000:1111222233334444 003 00000\r\n");
    }
}

TEST(FingerprintIndex, TakesInLinesOtherInstancesAppendAndWaitsForUnfinishedOnes) {
    RecordTestFolders folders;
    std::wstring path = FingerprintIndex_CL::IndexPath(folders.contents);
    ASSERT_TRUE(WriteFileBytes(path, HeaderLine()));
    FingerprintIndex_CL reader(folders.contents);
    FingerprintIndex_CL writer(folders.contents);
    ASSERT_TRUE(reader.Refresh());
    ASSERT_TRUE(writer.Refresh());
    writer.Add(kPrintA, Ref{1, 2});
    writer.Add(kPrintB, Ref{3, 4});
    writer.Remove(kPrintA, Ref{1, 2});
    writer.Add(kPrintA, Ref{5, 6});
    ASSERT_TRUE(reader.Refresh());
    EXPECT_EQ(reader.Candidates(kPrintA), (std::vector<Ref>{Ref{5, 6}}));
    EXPECT_EQ(reader.Candidates(kPrintB), (std::vector<Ref>{Ref{3, 4}}));

    // Half a line: still being written. It counts once its end arrives.
    std::string bytes = ReadFileBytes(path);
    ASSERT_TRUE(WriteFileBytes(path, bytes + "+ 1000:1111222233334444 0"));
    ASSERT_TRUE(reader.Refresh());
    EXPECT_EQ(reader.RebuildCount(), 0);
    EXPECT_EQ(reader.Candidates(kPrintA), (std::vector<Ref>{Ref{5, 6}}));
    ASSERT_TRUE(WriteFileBytes(path, bytes + "+ 1000:1111222233334444 007 00008\r\n"));
    ASSERT_TRUE(reader.Refresh());
    EXPECT_EQ(reader.RebuildCount(), 0);
    EXPECT_EQ(reader.Candidates(kPrintA), (std::vector<Ref>{Ref{5, 6}, Ref{7, 8}}));
}

TEST(FingerprintIndex, NothingIsAppendedToAMissingFile) {
    RecordTestFolders folders;
    FingerprintIndex_CL index(folders.contents);
    index.Add(kPrintA, Ref{1, 2});
    EXPECT_FALSE(FileExists(FingerprintIndex_CL::IndexPath(folders.contents)))
        << "a one-line file would hide every other record's fingerprint";
}

TEST(FingerprintIndex, UndoneLinesAreCompactedAway) {
    RecordTestFolders folders;
    std::wstring path = FingerprintIndex_CL::IndexPath(folders.contents);
    ASSERT_TRUE(WriteFileBytes(path, HeaderLine()));
    FingerprintIndex_CL index(folders.contents);
    ASSERT_TRUE(index.Refresh());
    index.Add(kPrintB, Ref{9, 9});
    for (int i = 0; i < 700; ++i) {
        index.Add(kPrintA, Ref{1, i});
        index.Remove(kPrintA, Ref{1, i});
    }
    EXPECT_LT(ReadFileBytes(path).size(), 1100u * 40u) << "the file was never compacted";
    FingerprintIndex_CL reader(folders.contents);
    ASSERT_TRUE(reader.Refresh());
    EXPECT_EQ(reader.RebuildCount(), 0);
    EXPECT_EQ(reader.EntryCount(), 1u);
    EXPECT_EQ(reader.Candidates(kPrintB), (std::vector<Ref>{Ref{9, 9}}));
}

}  // namespace

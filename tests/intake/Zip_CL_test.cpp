// Zip archives: round trips of stored and deflated entries, the central directory and the scan
// that stands in for it, name decoding and entry times, the names and attributes that are never listed, and
// archives built to hurt: bombs, lying sizes and CRCs, encryption, cancel, locked destinations.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/UniqueHandle_CL.h"
#include "intake/ArchiveListing.h"
#include "intake/PlayList_CL.h"
#include "intake/Zip_CL.h"
#include "tests/intake/ZipMaker.h"
#include "tests/support/TempFolder_CL.h"

namespace {

using zipmaker::Entry;

struct RecordingSink : Zip_CL::ProgressSink {
    explicit RecordingSink(bool cancelAtFirstReport = false) : cancel(cancelAtFirstReport) {}
    void ReportProgress(int percent) override { reports.push_back(percent); }
    bool CancelRequested() const override { return cancel && !reports.empty(); }
    bool cancel;
    std::vector<int> reports;
};

Entry Make(std::string name, std::string data = "x", uint16_t method = 8) {
    Entry e;
    e.name = std::move(name);
    e.data = std::move(data);
    e.method = method;
    return e;
}

// Data that deflates, but not to nothing.
std::string Pattern(size_t bytes, uint32_t seed) {
    std::string data;
    while (data.size() < bytes) {
        seed = seed * 1103515245u + 12345u;
        data += std::to_string(seed) + (seed & 1 ? " " : "\r\n");
    }
    return data.substr(0, bytes);
}

// The names in folder, sorted.
std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    FindHandle_CL find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    for (bool more = find.IsValid(); more; more = ::FindNextFileW(find.Get(), &data)) {
        if (data.cFileName != std::wstring(L".") && data.cFileName != std::wstring(L"..")) names.push_back(data.cFileName);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::shared_ptr<Zip_CL> ScannedArchive(const std::wstring& path, const std::string& bytes) {
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    auto zip = std::make_shared<Zip_CL>(path);
    EXPECT_EQ(zip->ScanArchive(), S_OK);
    return zip;
}

std::vector<std::wstring> Names(const Zip_CL& zip) {
    std::vector<std::wstring> names;
    for (const ZipCentralRecord& record : zip.CentralRecords()) names.push_back(record.name);
    return names;
}

const std::vector<std::wstring> kMovieExtensions = {L".mp4", L".avi", L".mkv"};

}  // namespace

TEST(ZipArchive, StoredAndDeflatedEntriesUnpackByteForByteWithProgress) {
    TempFolder_CL temp;
    std::vector<Entry> entries = {Make("clip.mp4", Pattern(3 * 1024 * 1024 + 17, 1)),  // several steps
                                  Make("raw.avi", Pattern(2 * 1024 * 1024 + 5, 2), 0), Make("empty.mp4", "", 0),
                                  Make("described.mkv", Pattern(300000, 3)), Make("dir/sub/deep.mp4", "deep")};
    entries[3].dataDescriptor = true;  // sizes only in the descriptor and the central record
    auto zip = ScannedArchive(temp.Join(L"movies.zip"), zipmaker::Build(entries).bytes);
    ASSERT_EQ(Names(*zip), (std::vector<std::wstring>{L"clip.mp4", L"raw.avi", L"empty.mp4", L"described.mkv",
                                                      L"dir\\sub\\deep.mp4"}));

    ASSERT_TRUE(::CreateDirectoryW(temp.Join(L"out").c_str(), nullptr));
    std::vector<std::wstring> expected;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::wstring name = Zip_CL::UnpackFileName(zip->CentralRecords()[i].name);
        RecordingSink sink;
        ASSERT_EQ(zip->ExtractEntry(i, temp.Join(L"out\\" + name), &sink), Zip_CL::kExtractOk) << i;
        EXPECT_EQ(ReadFileBytes(temp.Join(L"out\\" + name)), entries[i].data) << i;
        // At least once per MiB, rising from 0 to 100.
        ASSERT_GE(sink.reports.size(), entries[i].data.size() / Zip_CL::kProgressStepBytes + 2) << i;
        EXPECT_TRUE(sink.reports.front() == 0 && sink.reports.back() == 100) << i;
        EXPECT_TRUE(std::is_sorted(sink.reports.begin(), sink.reports.end()));
        expected.push_back(name);
    }
    EXPECT_EQ(expected[4], L"deep.mp4");
    // Extracting again overwrites, also without a sink; nothing lands beside the destinations.
    ASSERT_EQ(zip->ExtractEntry(0, temp.Join(L"out\\clip.mp4"), nullptr), Zip_CL::kExtractOk);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(NamesIn(temp.Join(L"out")), expected);
    EXPECT_EQ(NamesIn(temp.Path()), (std::vector<std::wstring>{L"movies.zip", L"out"}));
}

TEST(ZipArchive, NamesDecodeFromCodePage932OrUtf8AndListWithTheirRecords) {
    TempFolder_CL temp;
    std::vector<Entry> entries = {
        Make("\x91\xe6\x82P\x98" "b/\x93\xae\x89\xe6.mp4"),  // 第１話/動画.mp4 in Shift-JIS
        Make("\x83\\.MP4"),                                  // ソ: its second byte is a backslash
        Make("映画/予告.avi"),                                 // UTF-8 with flag bit 11
        Make("予告.mkv"),                                      // the same bytes without it: other kanji
        Make("notes.txt"), Make("folder/")};
    entries[2].flags = 0x0800;
    entries[5].externalAttributes = 0x10;
    auto zip = ScannedArchive(temp.Join(L"names.zip"), zipmaker::Build(entries).bytes);
    ASSERT_EQ(zip->CentralRecords().size(), 6u);
    EXPECT_EQ(zip->CentralRecords()[0].rawName, entries[0].name);
    EXPECT_EQ(Names(*zip)[0], L"第１話\\動画.mp4");
    EXPECT_EQ(Names(*zip)[1], L"ソ.MP4");
    EXPECT_EQ(Names(*zip)[2], L"映画\\予告.avi");
    EXPECT_NE(Names(*zip)[3], L"予告.mkv");

    PlayList_CL list;
    const std::wstring folder = L"C:\\users\\me\\Documents\\Lumikino\\zip";
    EXPECT_EQ(ListArchiveEntries(zip, folder, kMovieExtensions, list), 4u);
    ASSERT_EQ(list.Count(), 4u);
    const std::wstring paths[] = {folder + L"\\動画.mp4", folder + L"\\ソ.MP4", folder + L"\\予告.avi",
                                  folder + L"\\" + Names(*zip)[3]};
    for (uint32_t i = 0; i < 4; ++i) {
        const PlayListItem& item = list.At(i);
        EXPECT_EQ(item.path, paths[i]);
        EXPECT_EQ(item.inArchive, 1);
        EXPECT_EQ(item.archive, zip);
        EXPECT_EQ(item.archiveRecordIndex, i);
        EXPECT_EQ(item.fileSize, 1);
        EXPECT_EQ(item.modifiedFileTime, list.At(0).modifiedFileTime);
    }
    // 2021-07-15 12:34:56 local time, as the entries were dated; impossible dates give 0.
    FILETIME fileTime{static_cast<DWORD>(list.At(0).modifiedFileTime), static_cast<DWORD>(list.At(0).modifiedFileTime >> 32)};
    SYSTEMTIME utc, local;
    ASSERT_TRUE(::FileTimeToSystemTime(&fileTime, &utc) && ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
    EXPECT_EQ((std::vector<WORD>{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond}),
              (std::vector<WORD>{2021, 7, 15, 12, 34, 56}));
    EXPECT_EQ(Zip_CL::DosToFileTime(0, 0), 0u);
    EXPECT_EQ(Zip_CL::DosToFileTime(entries[0].dosDate, 25 << 11), 0u);
    EXPECT_EQ(list.At(0).displayName, L"動画");
    EXPECT_EQ(list.At(1).extension, L".MP4");
    EXPECT_EQ(zip.use_count(), 5);
}

TEST(ZipArchive, UnsafeNamesAndEntriesWithoutTheArchiveBitAreNeverListed) {
    TempFolder_CL temp;
    std::vector<Entry> entries;
    for (const char* name : {"../evil.mp4", "..\\evil.mp4", "a/../b.mp4", "/abs.mp4", "\\abs.mp4", "C:x.mp4",
                             "C:\\x.mp4", "CON", "con.mp4", "NUL.mp4", "COM1.mp4", "lpt9.avi", "Aux .mp4",
                             "dot.mp4.", "space.mp4 ", "ctl\x01.mp4", "line\n.mp4", "a<b.mp4", "q?.mp4",
                             "s*.mp4", "p|.mp4", "dir/..", "dir/", "conout$.mp4", "tab\t.mp4", "del\x7F.mp4"}) {
        entries.push_back(Make(name));
    }
    entries.push_back(Make(std::string("nul\0.mp4", 8)));
    entries.push_back(Make("unix.mp4"));  // written with Unix modes only
    entries.back().externalAttributes = 0x81A40000;
    entries.push_back(Make(std::string(240, 'n') + ".mp4"));
    entries.push_back(Make("sub/./console.mp4"));  // "console" is no device, "." no step up
    for (const char* name : {"COM10.mp4", "nul_.mp4", "com.mp4", ".hidden.mp4"}) entries.push_back(Make(name));
    auto zip = ScannedArchive(temp.Join(L"hostile.zip"), zipmaker::Build(entries).bytes);
    ASSERT_EQ(zip->CentralRecords().size(), entries.size());

    PlayList_CL list;
    const std::wstring folder(20, L'f');  // too long for the 244-character name under MAX_PATH
    EXPECT_EQ(ListArchiveEntries(zip, folder, kMovieExtensions, list), 5u);
    std::vector<std::wstring> listed;
    for (const PlayListItem& item : list.Items()) listed.push_back(item.path.substr(folder.size() + 1));
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"console.mp4", L"COM10.mp4", L"nul_.mp4", L"com.mp4", L".hidden.mp4"}));
    PlayList_CL shortFolder;
    EXPECT_EQ(ListArchiveEntries(zip, L"Z:\\z", kMovieExtensions, shortFolder), 6u);
    // At the MAX_PATH edge: folder + "\" + name is 259 at most.
    EXPECT_TRUE(Zip_CL::IsListableFileName(std::wstring(10, L'm'), MAX_PATH - 12));
    EXPECT_FALSE(Zip_CL::IsListableFileName(std::wstring(10, L'm'), MAX_PATH - 11));
    EXPECT_FALSE(Zip_CL::IsListableFileName(L"COM\u00B9.mp4", 3));
}

TEST(ZipArchive, AScanFindsTheRecordsWhenTheDirectoryIsCutOrLies) {
    TempFolder_CL temp;
    std::vector<Entry> entries;
    for (int i = 0; i < 3; ++i) {
        entries.push_back(Make("part" + std::to_string(i) + ".mp4", Pattern(5000 + i, i)));
        entries.back().dataDescriptor = true;  // the scan cannot step over their data
    }
    const zipmaker::Archive whole = zipmaker::Build(entries);
    const std::vector<std::wstring> firstTwo = {L"part0.mp4", L"part1.mp4"};

    // The directory cut inside its third record, no end record: the scan finds two records,
    // and their entries unpack.
    auto cut = ScannedArchive(temp.Join(L"cut.zip"), whole.bytes.substr(0, whole.centralOffsets[2] + 20));
    ASSERT_EQ(Names(*cut), firstTwo);
    ASSERT_EQ(cut->ExtractEntry(1, temp.Join(L"part1.mp4"), nullptr), Zip_CL::kExtractOk);
    EXPECT_EQ(ReadFileBytes(temp.Join(L"part1.mp4")), entries[1].data);

    // An end record announcing more records than there are.
    EXPECT_EQ(Names(*ScannedArchive(temp.Join(L"count.zip"), zipmaker::Build(entries, true, 7).bytes)).size(), 3u);

    // A name length reaching past the end of the file ends the scan; the records before stay.
    entries[2].centralNameLength = 0xFFFF;
    EXPECT_EQ(Names(*ScannedArchive(temp.Join(L"name.zip"), zipmaker::Build(entries).bytes)), firstTwo);

    // A local name length past the end, the archive cut inside its data, an empty file, noise:
    // no records, no failure, nothing read beyond the file.
    std::vector<Entry> one = {Make("only.mp4")};
    one[0].localNameLength = 0xFFFF;
    const zipmaker::Archive oneArchive = zipmaker::Build(one);
    for (const std::string& bytes : {oneArchive.bytes.substr(0, oneArchive.centralOffset),
                                     whole.bytes.substr(0, 100), std::string(),
                                     std::string("PK\x03\x04PK\x01\x02PK\x05")}) {
        EXPECT_TRUE(ScannedArchive(temp.Join(L"short.zip"), bytes)->CentralRecords().empty());
    }
    Zip_CL missing(temp.Join(L"missing.zip"));
    EXPECT_EQ(missing.ScanArchive(), E_FAIL);
}

TEST(ZipArchive, EntriesThatCannotUnpackLeaveNoFileBehind) {
    TempFolder_CL temp;
    std::vector<Entry> entries = {Make("bomb.mp4"), Make("crc.mp4", Pattern(100000, 9)), Make("secret.mp4"),
                                  Make("bzip2.mp4", "xxxx", 12), Make("short.mp4", Pattern(1000, 4)),
                                  Make("corrupt.mp4"), Make("nolocal.mp4"), Make("big.mp4", Pattern(3 << 20, 7)),
                                  Make("storedlie.mp4", "abc", 0)};
    entries[0].packed = zipmaker::Deflate("", 1ull << 30);  // declares 1 MB, unpacks to 1 GiB
    entries[0].uncompressedSize = 1000000;
    entries[1].crc = zipmaker::Crc(entries[1].data) ^ 1;
    entries[2].flags = 0x0001;
    entries[4].uncompressedSize = 2000;  // more than the data gives
    entries[5].packed = std::string(64, '\xFF');
    entries[6].localHeaderOffset = 7;
    entries[8].compressedSize = 2;
    auto zip = ScannedArchive(temp.Join(L"bad.zip"), zipmaker::Build(entries).bytes);
    ASSERT_EQ(zip->CentralRecords().size(), entries.size());
    ASSERT_LT(zip->CentralRecords()[0].compressedSize, 1100000u);

    const std::wstring out = temp.Join(L"out");
    ASSERT_TRUE(::CreateDirectoryW(out.c_str(), nullptr));
    const int expected[] = {-2, -2, -2, -2, -2, -2, -6, -5, -2};  // big.mp4 cancelled at the first report
    for (size_t i = 0; i < entries.size(); ++i) {
        RecordingSink sink(i == 7);
        const std::wstring destination = out + L"\\" + Zip_CL::UnpackFileName(zip->CentralRecords()[i].name);
        EXPECT_EQ(zip->ExtractEntry(i, destination, &sink), expected[i]) << i;
        EXPECT_FALSE(FileExists(destination)) << i;
        if (i == 0) {  // the bomb went no further than its declared megabyte
            ASSERT_FALSE(sink.reports.empty());
            EXPECT_LE(*std::max_element(sink.reports.begin(), sink.reports.end()), 100);
            EXPECT_LE(sink.reports.size(), 4u);
        }
    }
    EXPECT_EQ(zip->ExtractEntry(entries.size(), out + L"\\none.mp4", nullptr), Zip_CL::kExtractNoLocalRecord);

    // A destination held open without sharing keeps its content; a missing folder fails alike.
    const std::wstring held = out + L"\\big.mp4";
    ASSERT_TRUE(WriteFileBytes(held, "old"));
    {
        FileHandle_CL lock(::CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock.IsValid());
        EXPECT_EQ(zip->ExtractEntry(7, held, nullptr), Zip_CL::kExtractReadWriteFailed);
    }
    EXPECT_EQ(ReadFileBytes(held), "old");
    EXPECT_EQ(zip->ExtractEntry(7, out + L"\\missing\\big.mp4", nullptr), Zip_CL::kExtractReadWriteFailed);

    // After a cancel and failures the same entry unpacks on the next try.
    ASSERT_EQ(zip->ExtractEntry(7, held, nullptr), Zip_CL::kExtractOk);
    EXPECT_EQ(ReadFileBytes(held), entries[7].data);
    EXPECT_EQ(NamesIn(out), std::vector<std::wstring>{L"big.mp4"});
    EXPECT_EQ(NamesIn(temp.Path()), (std::vector<std::wstring>{L"bad.zip", L"out"}));
}

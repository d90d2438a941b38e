// Whole-record replacement: order, carried-over keys, conversion of single-byte files, and
// that a crash at any point leaves the old or the new record, never a broken one.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/TextFormat.h"
#include "base/UniqueHandle_CL.h"
#include "store/AtomicRecordWriter_CL.h"
#include "store/ContentInfo.h"
#include "store/FindIniFile_CL.h"
#include "tests/store/RecordTestFolders.h"
#include "tests/support/TempFolder_CL.h"

namespace {

const std::string kBom("\xFF\xFE", 2);

// An old record carrying tags and keys this program does not write.
const wchar_t kOldRecord[] =
    L"[MOVIE_INFO]\r\nhash=68\r\nPlay_Count=3\r\nshare_content_info=0\r\nfuture_key=\"quoted value\"\r\n"
    L"[TAG_INFO]\r\ncount=2\r\nitem0=アニメ\r\nitem1=再視聴\r\n"
    L"[NEWER_VERSION]\r\nflag=1\r\n";

std::vector<IniEntry> NewEntries() {
    return {{L"MOVIE_INFO", L"hash", L"68"},
            {L"MOVIE_INFO", L"play_count", L"4"},
            {L"SKIP_FRAME", L"count", L"12"},
            {L"MOVIE_INFO", L"note", L"メモ"}};
}

std::vector<std::wstring> Keys(const std::vector<IniEntry>& entries) {
    std::vector<std::wstring> keys;
    for (const IniEntry& e : entries) keys.push_back(e.section + L"/" + e.key + L"=" + e.value);
    return keys;
}

}  // namespace

TEST(AtomicRewrite, WritesTheEntriesInOrderIntoAFreshUtf16File) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    AtomicRecordWriter_CL writer;
    ASSERT_EQ(writer.RewriteIni(path, NewEntries(), true), S_OK);
    std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.substr(0, 2), kBom);
    // Keys of one section stay together: note joins MOVIE_INFO after play_count.
    EXPECT_EQ(KeysInFileOrder(bytes),
              (std::vector<std::wstring>{L"MOVIE_INFO/hash", L"MOVIE_INFO/play_count", L"MOVIE_INFO/note",
                                         L"SKIP_FRAME/count"}));
    EXPECT_EQ(RecordTestFolders::Listing(folder.Path()), std::vector<std::wstring>{L"r.ini"});  // no temp left
}

TEST(AtomicRewrite, CarriesOverEverySectionAndKeyItDoesNotWrite) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(kOldRecord)));
    AtomicRecordWriter_CL writer;
    ASSERT_EQ(writer.RewriteIni(path, NewEntries(), true), S_OK);
    EXPECT_EQ(Keys(AtomicRecordWriter_CL::ReadAllEntries(path)),
              (std::vector<std::wstring>{L"MOVIE_INFO/hash=68", L"MOVIE_INFO/play_count=4", L"MOVIE_INFO/note=メモ",
                                         L"MOVIE_INFO/share_content_info=0",
                                         L"MOVIE_INFO/future_key=\"quoted value\"", L"SKIP_FRAME/count=12",
                                         L"TAG_INFO/count=2", L"TAG_INFO/item0=アニメ", L"TAG_INFO/item1=再視聴",
                                         L"NEWER_VERSION/flag=1"}));
}

TEST(AtomicRewrite, WithoutCarryOverOnlyTheEntriesRemain) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(kOldRecord)));
    AtomicRecordWriter_CL writer;
    ASSERT_EQ(writer.RewriteIni(path, NewEntries(), false), S_OK);
    EXPECT_EQ(AtomicRecordWriter_CL::ReadAllEntries(path).size(), NewEntries().size());
}

TEST(AtomicRewrite, CarriedOverMatchesNamesWithoutRegardToCase) {
    std::vector<IniEntry> old = {{L"movie_info", L"HASH", L"1"}, {L"MOVIE_INFO", L"x", L"2"},
                                 {L"MOVIE_INFO", L"X", L"3"}, {L"TAG_INFO", L"hash", L"4"}};
    std::vector<IniEntry> carried = AtomicRecordWriter_CL::CarriedOver(old, {{L"MOVIE_INFO", L"hash", L"9"}});
    EXPECT_EQ(Keys(carried), (std::vector<std::wstring>{L"MOVIE_INFO/x=2", L"TAG_INFO/hash=4"}));
}

TEST(AtomicRewrite, TheCheckReadsTheBytesOnDiskLineByLine) {
    EXPECT_EQ(Keys(AtomicRecordWriter_CL::ParseUtf16Ini(
                  Utf16File(L"\r\n[MOVIE_INFO]\r\nhash=5\r\n  note =  a b  \r\nno equals\r\n\r\n[ TAG_INFO ]\r\n"
                            L"item0=タグ=二つ\nlast=\r\n"))),
              (std::vector<std::wstring>{L"MOVIE_INFO/hash=5", L"MOVIE_INFO/note=a b", L"TAG_INFO/item0=タグ=二つ",
                                         L"TAG_INFO/last="}));
    EXPECT_TRUE(AtomicRecordWriter_CL::ParseUtf16Ini("[MOVIE_INFO]\r\nhash=5\r\n").empty());  // not UTF-16
    std::string cut = Utf16File(L"[A]\r\nk=v");
    cut.pop_back();
    EXPECT_TRUE(AtomicRecordWriter_CL::ParseUtf16Ini(cut).empty());  // half a unit
}

TEST(AtomicRewrite, ASingleByteFileBecomesUtf16WithTheSameTexts) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"old.ini");
    std::wstring title = ::GetACP() == 932 ? L"となりの映画" : L"Tonari";
    char title932[64] = {};
    int bytes932 = ::WideCharToMultiByte(CP_ACP, 0, title.c_str(), -1, title932, sizeof(title932), nullptr, nullptr);
    ASSERT_GT(bytes932, 1);
    ASSERT_TRUE(WriteFileBytes(path, std::string("[MOVIE_INFO]\r\nhash=5\r\ncontent_name=") + title932 +
                                         "\r\n[TAG_INFO]\r\ncount=1\r\nitem0=" + title932 + "\r\n"));
    AtomicRecordWriter_CL writer;
    ASSERT_EQ(writer.RewriteIni(path, {{L"MOVIE_INFO", L"hash", L"5"}}, true), S_OK);
    std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.substr(0, 2), kBom);
    EXPECT_NE(Utf16Text(bytes).find(L"content_name=" + title + L"\r\n"), std::wstring::npos);
    EXPECT_NE(Utf16Text(bytes).find(L"item0=" + title + L"\r\n"), std::wstring::npos);
}

TEST(AtomicRewrite, ALockedOrUnreachableTargetStaysAsItWas) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(kOldRecord)));
    AtomicRecordWriter_CL writer;
    {
        LockedFile lock(path);
        ASSERT_TRUE(lock.IsLocked());
        EXPECT_TRUE(FAILED(writer.RewriteIni(path, NewEntries(), true)));   // cannot read what to carry
        EXPECT_TRUE(FAILED(writer.RewriteIni(path, NewEntries(), false)));  // cannot replace
    }
    EXPECT_EQ(ReadFileBytes(path), Utf16File(kOldRecord));
    EXPECT_EQ(RecordTestFolders::Listing(folder.Path()), std::vector<std::wstring>{L"r.ini"});

    // A folder that is really a file: nothing can be created there.
    ASSERT_TRUE(WriteFileBytes(folder.Join(L"file"), "x"));
    EXPECT_TRUE(FAILED(writer.RewriteIni(folder.Join(L"file\\r.ini"), NewEntries(), true)));
    EXPECT_TRUE(FAILED(writer.WriteBytes(folder.Join(L"file\\r.ini"), "abc")));
    EXPECT_EQ(ReadFileBytes(folder.Join(L"file")), "x");
}

TEST(AtomicRewrite, ARecordThatDoesNotReadBackAsWrittenNeverReplacesTheOldOne) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"r.ini");
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(kOldRecord)));
    AtomicRecordWriter_CL writer;
    // A line break inside a value splits the key in two on disk.
    std::vector<IniEntry> entries = NewEntries();
    entries.push_back({L"MOVIE_INFO", L"content_name", L"一行目\r\n二行目"});
    EXPECT_EQ(writer.RewriteIni(path, entries, true), HRESULT_FROM_WIN32(ERROR_WRITE_FAULT));
    EXPECT_EQ(ReadFileBytes(path), Utf16File(kOldRecord));
    EXPECT_EQ(RecordTestFolders::Listing(folder.Path()), std::vector<std::wstring>{L"r.ini"});
}

TEST(AtomicRewrite, ACrashAtAnyStepLeavesTheOldOrTheNewRecord) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"contents000-00000.ini");
    const std::string old = Utf16File(kOldRecord);
    // The complete new record, for comparison.
    ASSERT_TRUE(WriteFileBytes(path, old));
    AtomicRecordWriter_CL reference;
    ASSERT_EQ(reference.RewriteIni(path, NewEntries(), true), S_OK);
    const std::string complete = ReadFileBytes(path);
    ASSERT_NE(complete, old);

    int steps = 0;
    for (int crashAt = 0;; ++crashAt) {
        ASSERT_TRUE(WriteFileBytes(path, old));
        AtomicRecordWriter_CL writer;
        writer.SetStepHook([&](int step) { return step != crashAt; });
        HRESULT hr = writer.RewriteIni(path, NewEntries(), true);
        std::string after = ReadFileBytes(path);
        if (hr == E_ABORT) {
            EXPECT_EQ(after, old) << "crash before step " << crashAt;
        } else {
            ASSERT_EQ(hr, S_OK);
            EXPECT_EQ(after, complete);
            steps = crashAt;
            break;
        }
        // What a crash leaves behind is never taken for a record.
        std::vector<FindIniFile_CL::Entry> scanned = FindIniFile_CL::Scan(folder.Path());
        ASSERT_EQ(scanned.size(), 1u);
        EXPECT_EQ(scanned[0].path, path);
        EXPECT_EQ(scanned[0].hash, 68u);
    }
    // Temporary file, every key (4 new, 6 carried), flush, check, move.
    EXPECT_EQ(steps, 1 + 10 + 3);
}

TEST(AtomicBytes, ReplacesWithExactlyTheBytesOrLeavesTheOldOnes) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"copy.ini");
    AtomicRecordWriter_CL writer;
    ASSERT_EQ(writer.WriteBytes(path, "first"), S_OK);
    EXPECT_EQ(ReadFileBytes(path), "first");
    std::string binary("\xFF\xFE\0\0\x01", 5);
    ASSERT_EQ(writer.WriteBytes(path, binary), S_OK);
    EXPECT_EQ(ReadFileBytes(path), binary);
    for (int crashAt = 0; crashAt < 4; ++crashAt) {
        writer.SetStepHook([&](int step) { return step != crashAt; });
        EXPECT_EQ(writer.WriteBytes(path, "second"), E_ABORT);
        EXPECT_EQ(ReadFileBytes(path), binary) << crashAt;
    }
    writer.SetStepHook(nullptr);
    {
        LockedFile lock(path);
        EXPECT_TRUE(FAILED(writer.WriteBytes(path, "third")));
    }
    EXPECT_EQ(ReadFileBytes(path), binary);
}

TEST(AtomicBytes, ReadPrefixTellsHowManyBytesThereReallyWere) {
    TempFolder_CL folder;
    std::string bytes;
    ASSERT_TRUE(WriteFileBytes(folder.Join(L"empty"), ""));
    ASSERT_TRUE(WriteFileBytes(folder.Join(L"one"), "A"));
    ASSERT_TRUE(WriteFileBytes(folder.Join(L"many"), "[A]\r\n"));
    EXPECT_EQ(AtomicRecordWriter_CL::ReadPrefix(folder.Join(L"empty"), 2, &bytes), S_OK);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(AtomicRecordWriter_CL::ReadPrefix(folder.Join(L"one"), 2, &bytes), S_OK);
    EXPECT_EQ(bytes, "A");
    EXPECT_EQ(AtomicRecordWriter_CL::ReadPrefix(folder.Join(L"many"), 2, &bytes), S_OK);
    EXPECT_EQ(bytes, "[A");
    EXPECT_TRUE(FAILED(AtomicRecordWriter_CL::ReadPrefix(folder.Join(L"missing"), 2, &bytes)));
    LockedFile lock(folder.Join(L"many"));
    EXPECT_TRUE(FAILED(AtomicRecordWriter_CL::ReadPrefix(folder.Join(L"many"), 2, &bytes)));
}

// --- a real crash: a second process rewriting a record over and over is killed mid-way ---

namespace {

const wchar_t kChildPathVariable[] = L"LK_REWRITE_CHILD_RECORD";
const wchar_t kChildEventVariable[] = L"LK_REWRITE_CHILD_EVENT";

// Two full records that differ in every value, as a player rewriting a record would write.
std::vector<IniEntry> Version(int which) {
    ContentInfo info;
    info.hash = 68;
    info.link_name = L"A";
    info.content_name = which ? L"版その二" : L"版その一";
    info.play_count = which ? 222 : 111;
    for (int n = 0; n < kFavoriteCount; ++n) info.favorites[n].name = FormatString(L"fav%d-%d", which, n);
    return info.RewriteEntries();
}

std::wstring Variable(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD units = ::GetEnvironmentVariableW(name, value, 1024);
    return units > 0 && units < 1024 ? std::wstring(value, units) : std::wstring();
}

}  // namespace

// Started only by the test below, in a process of its own.
TEST(RewriteChild, DISABLED_RewritesUntilKilled) {
    std::wstring path = Variable(kChildPathVariable);
    KernelHandle_CL progress(::OpenEventW(EVENT_MODIFY_STATE, FALSE, Variable(kChildEventVariable).c_str()));
    ASSERT_FALSE(path.empty());
    ASSERT_TRUE(progress.IsValid());
    AtomicRecordWriter_CL writer;
    for (int round = 0;; ++round) {
        ASSERT_EQ(writer.RewriteIni(path, Version(round % 2), true), S_OK);
        ::SetEvent(progress.Get());
    }
}

TEST(AtomicRewrite, AProcessKilledWhileRewritingLeavesTheOldOrTheNewRecord) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"contents068-00000.ini");
    // The byte images of both versions, carried-over tag included.
    const std::wstring tags = L"[TAG_INFO]\r\ncount=1\r\nitem0=タグ\r\n";
    std::string images[2];
    for (int which = 0; which < 2; ++which) {
        ASSERT_TRUE(WriteFileBytes(path, Utf16File(tags)));
        AtomicRecordWriter_CL writer;
        ASSERT_EQ(writer.RewriteIni(path, Version(which), true), S_OK);
        images[which] = ReadFileBytes(path);
    }
    ASSERT_TRUE(WriteFileBytes(path, images[0]));

    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring eventName = FormatString(L"LkRewriteChild_%u", static_cast<unsigned>(::GetCurrentProcessId()));
    KernelHandle_CL progress(::CreateEventW(nullptr, FALSE, FALSE, eventName.c_str()));
    ASSERT_TRUE(progress.IsValid());
    ::SetEnvironmentVariableW(kChildPathVariable, path.c_str());
    ::SetEnvironmentVariableW(kChildEventVariable, eventName.c_str());

    const int kKills = 3;
    int rewritesSeen = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        std::wstring commandLine = std::wstring(L"\"") + exe +
                                   L"\" --gtest_also_run_disabled_tests "
                                   L"--gtest_filter=RewriteChild.DISABLED_RewritesUntilKilled";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(::CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                     &startup, &info));
        KernelHandle_CL process(info.hProcess);
        KernelHandle_CL thread(info.hThread);
        // Let it finish a different number of rewrites each time, then kill it at once: it is
        // then somewhere inside the next one.
        for (int done = 0; done < 5 + 7 * kill; ++done) {
            HANDLE waits[2] = {progress.Get(), process.Get()};
            DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, 60000);
            ASSERT_EQ(woke, WAIT_OBJECT_0) << "the rewriting process stopped or stalled";
            ++rewritesSeen;
        }
        ::TerminateProcess(process.Get(), 1);
        ASSERT_EQ(::WaitForSingleObject(process.Get(), 30000), WAIT_OBJECT_0);

        std::string after = ReadFileBytes(path);
        EXPECT_TRUE(after == images[0] || after == images[1]) << "a broken record after kill " << kill;
        ContentInfo read;
        read.Bind(path);
        read.Read(false, 0);
        EXPECT_TRUE(read.play_count == 111 || read.play_count == 222);
    }
    ::SetEnvironmentVariableW(kChildPathVariable, nullptr);
    ::SetEnvironmentVariableW(kChildEventVariable, nullptr);
    EXPECT_GE(rewritesSeen, kKills * 5);
}

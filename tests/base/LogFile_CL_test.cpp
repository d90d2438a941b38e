// The trace log's line format, byte-order mark, size limit and thread safety.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdarg>
#include <set>
#include <thread>
#include <vector>

#include "base/LogFile_CL.h"
#include "base/TextFormat.h"
#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {
void PrintAt(LogFile_CL& log, const SYSTEMTIME& t, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    log.PrintAt(t, format, args);
    va_end(args);
}

void Print(LogFile_CL& log, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    log.Print(format, args);
    va_end(args);
}

SYSTEMTIME Time(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms) {
    SYSTEMTIME t{};
    t.wYear = y;
    t.wMonth = mo;
    t.wDay = d;
    t.wHour = h;
    t.wMinute = mi;
    t.wSecond = s;
    t.wMilliseconds = ms;
    return t;
}

class LogFileTest : public ::testing::Test {
protected:
    LogFileTest() { m_log.SetPath(m_folder.Join(L"log.txt")); }
    std::wstring Path() const { return m_folder.Join(L"log.txt"); }
    TempFolder_CL m_folder;
    LogFile_CL m_log;
};
}  // namespace

TEST_F(LogFileTest, FirstLineGetsTheByteOrderMarkAndLaterLinesDoNot) {
    PrintAt(m_log, Time(2024, 3, 5, 7, 8, 9, 4), L"first %d", 1);
    PrintAt(m_log, Time(2024, 12, 31, 23, 59, 59, 999), L"第二 %ls", L"行");
    std::string expected = "\xFF\xFE" + Utf16Bytes(L"2024/03/05 07:08:09.004 : first 1\r\n") +
                           Utf16Bytes(L"2024/12/31 23:59:59.999 : 第二 行\r\n");
    EXPECT_EQ(ReadFileBytes(Path()), expected);
}

TEST_F(LogFileTest, NothingIsWrittenBeforeThePathIsSetOrWhenTheFolderIsMissing) {
    LogFile_CL unset;
    Print(unset, L"lost");
    LogFile_CL missing;
    missing.SetPath(m_folder.Join(L"no such folder\\log.txt"));
    Print(missing, L"lost");  // must not crash or create anything
    EXPECT_FALSE(FolderExists(m_folder.Join(L"no such folder")));
}

TEST_F(LogFileTest, OverlongMessagesAreCutInsideTheLineBuffer) {
    std::wstring huge(5000, L'm');
    PrintAt(m_log, Time(2024, 1, 2, 3, 4, 5, 6), L"%ls", huge.c_str());
    std::vector<std::wstring> lines = SplitLines(ReadLogText(Path()));
    ASSERT_EQ(lines.size(), 1u);
    // 26 units of prefix, then at most 1039 message units before the terminator.
    EXPECT_EQ(lines[0].size(), 26u + LogFile_CL::kMessageUnits - 1);
    EXPECT_EQ(lines[0].substr(0, 26), L"2024/01/02 03:04:05.006 : ");
}

TEST_F(LogFileTest, PercentSignsInDataAreNotInterpreted) {
    PrintAt(m_log, Time(2024, 1, 1, 0, 0, 0, 0), L"%ls", L"100%s %n %d");
    EXPECT_EQ(SplitLines(ReadLogText(Path()))[0], L"2024/01/01 00:00:00.000 : 100%s %n %d");
}

TEST_F(LogFileTest, APathMessageMayCarryItsOwnLineBreak) {
    PrintAt(m_log, Time(2024, 1, 1, 0, 0, 0, 0), L"%ls", L"\r\n★★★★★ アプリ起動 ★★★★★");
    std::vector<std::wstring> lines = SplitLines(ReadLogText(Path()));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"2024/01/01 00:00:00.000 : ");
    EXPECT_EQ(lines[1], L"★★★★★ アプリ起動 ★★★★★");
}

TEST_F(LogFileTest, AFileBeyondTheLimitStartsAfreshWithTheNextLine) {
    // Just under the limit: the next line is appended; once beyond it, the line after empties it.
    std::string big(static_cast<size_t>(LogFile_CL::kMaxSizeBytes) - 2, 'a');
    ASSERT_TRUE(WriteFileBytes(Path(), "\xFF\xFE" + big));
    PrintAt(m_log, Time(2024, 1, 1, 0, 0, 0, 0), L"at the limit");
    EXPECT_GT(ReadFileBytes(Path()).size(), static_cast<size_t>(LogFile_CL::kMaxSizeBytes));
    PrintAt(m_log, Time(2024, 1, 1, 0, 0, 0, 1), L"fresh");
    EXPECT_EQ(ReadFileBytes(Path()), "\xFF\xFE" + Utf16Bytes(L"2024/01/01 00:00:00.001 : fresh\r\n"));
}

TEST_F(LogFileTest, ClearEmptiesTheFile) {
    Print(m_log, L"old run");
    m_log.Clear();
    EXPECT_EQ(ReadFileBytes(Path()).size(), 0u);
    Print(m_log, L"new run");
    std::vector<std::wstring> lines = SplitLines(ReadLogText(Path()));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(L"new run"), std::wstring::npos);
}

TEST_F(LogFileTest, LinesOfManyThreadsNeverInterleave) {
    constexpr int kThreads = 6;
    constexpr int kLinesEach = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            std::wstring payload(200, static_cast<wchar_t>(L'A' + t));
            for (int i = 0; i < kLinesEach; ++i) Print(m_log, L"T%d #%04d %ls", t, i, payload.c_str());
        });
    }
    for (std::thread& thread : threads) thread.join();

    std::string raw = ReadFileBytes(Path());
    ASSERT_GE(raw.size(), 2u);
    EXPECT_EQ(raw.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(raw.find("\xFF\xFE", 2), std::string::npos);  // one mark only, at the start
    std::vector<std::wstring> lines = SplitLines(ReadLogText(Path()));
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLinesEach));
    std::set<std::wstring> seen;
    for (const std::wstring& line : lines) {
        size_t at = line.find(L" : T");
        ASSERT_NE(at, std::wstring::npos) << line;
        int t = line[at + 4] - L'0';
        ASSERT_TRUE(t >= 0 && t < kThreads) << line;
        EXPECT_EQ(line.substr(line.size() - 200), std::wstring(200, static_cast<wchar_t>(L'A' + t))) << line;
        seen.insert(line.substr(at, 12));
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kLinesEach));
}

TEST_F(LogFileTest, ThreadsCrossingTheLimitTogetherTruncateOnce) {
    std::string big(static_cast<size_t>(LogFile_CL::kMaxSizeBytes) + 100, 'a');
    ASSERT_TRUE(WriteFileBytes(Path(), "\xFF\xFE" + big));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < 50; ++i) Print(m_log, L"thread %d line %d", t, i);
        });
    }
    for (std::thread& thread : threads) thread.join();
    std::string raw = ReadFileBytes(Path());
    EXPECT_EQ(raw.find("\xFF\xFE", 2), std::string::npos);
    EXPECT_EQ(SplitLines(ReadLogText(Path())).size(), 200u);
}

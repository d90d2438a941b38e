// Names of captured pictures: the local time to the second, then a sequence for later
// captures of the same second.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/CaptureNaming.h"

namespace {
SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    t.wMilliseconds = 999;  // never part of the name
    return t;
}

struct NameCase {
    SYSTEMTIME time;
    int sequence;
    const wchar_t* name;
};

class CaptureFileNameRule : public ::testing::TestWithParam<NameCase> {};
}  // namespace

TEST_P(CaptureFileNameRule, TimeFieldsPaddedAndSequenceBeforeExtension) {
    const NameCase& c = GetParam();
    EXPECT_EQ(CaptureFileName(c.time, c.sequence), c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CaptureFileNameRule,
    ::testing::Values(NameCase{Time(2026, 12, 7, 18, 5, 9), 1, L"capture-2026-12-07-18-05-09.png"},
                      NameCase{Time(2026, 1, 2, 3, 4, 5), 2, L"capture-2026-01-02-03-04-05-2.png"},
                      NameCase{Time(2026, 1, 2, 3, 4, 5), 10, L"capture-2026-01-02-03-04-05-10.png"},
                      NameCase{Time(2026, 1, 2, 3, 4, 5), 999, L"capture-2026-01-02-03-04-05-999.png"},
                      // No sequence below the first: the plain name.
                      NameCase{Time(2026, 1, 2, 3, 4, 5), 0, L"capture-2026-01-02-03-04-05.png"},
                      NameCase{Time(2026, 1, 2, 3, 4, 5), -3, L"capture-2026-01-02-03-04-05.png"},
                      // Midnight and the last second of a year keep two digits everywhere.
                      NameCase{Time(2027, 1, 1, 0, 0, 0), 1, L"capture-2027-01-01-00-00-00.png"},
                      NameCase{Time(2026, 12, 31, 23, 59, 59), 1, L"capture-2026-12-31-23-59-59.png"},
                      NameCase{Time(999, 3, 4, 5, 6, 7), 1, L"capture-0999-03-04-05-06-07.png"}));

TEST(CaptureFolderPath, CaptureUnderTheDataRootWithOneSeparator) {
    EXPECT_EQ(CaptureFolderPath(L"C:\\Users\\u\\Documents\\Lumikino"), L"C:\\Users\\u\\Documents\\Lumikino\\capture");
    EXPECT_EQ(CaptureFolderPath(L"C:\\Lumikino\\"), L"C:\\Lumikino\\capture");
    EXPECT_EQ(CaptureFolderPath(L"D:\\ドキュメント\\Lumikino"), L"D:\\ドキュメント\\Lumikino\\capture");
}

TEST(CaptureFileName, SequencesOfOneSecondAreAllDifferent) {
    const SYSTEMTIME t = Time(2026, 6, 15, 12, 30, 45);
    for (int a = kFirstCaptureSequence; a <= 20; ++a) {
        for (int b = a + 1; b <= 20; ++b) EXPECT_NE(CaptureFileName(t, a), CaptureFileName(t, b)) << a << " " << b;
    }
    // The next second's first name differs from every name of this one.
    SYSTEMTIME next = t;
    next.wSecond = 46;
    for (int a = kFirstCaptureSequence; a <= 20; ++a) EXPECT_NE(CaptureFileName(t, a), CaptureFileName(next, 1));
}

// The cell texts of list rows: sizes with their thousands separated and times as local dates.

#include <gtest/gtest.h>

#include "intake/ListRowText.h"

namespace {

TEST(ListRowText, SizesAreGroupedByThousandsAndUnknownShowsQuestionMarks) {
    const struct {
        int64_t size;
        bool folder;
        const wchar_t* text;
    } cases[] = {
        {0, false, L"0"},
        {999, false, L"999"},
        {1000, false, L"1,000"},
        {1234567, false, L"1,234,567"},
        {100000, false, L"100,000"},
        {5368709120LL, false, L"5,368,709,120"},  // past 4 GiB
        {INT64_MAX, false, L"9,223,372,036,854,775,807"},
        {-1, false, L"?????"},
        {1234, true, L"<dir>"},
    };
    for (const auto& c : cases) EXPECT_EQ(SizeText(c.size, c.folder), c.text) << c.size;
}

TEST(ListRowText, TimesReadAsLocalDateAndTime) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 2;
    time.wDay = 3;
    time.wHour = 4;
    time.wMinute = 5;
    time.wSecond = 6;
    EXPECT_EQ(TimeText(time), L"2026/02/03 04:05:06");
    EXPECT_EQ(TimeTextOfFileTime(0), L"?????");
    // A file time shown is the same instant in local time.
    FILETIME utc{}, local{};
    SYSTEMTIME expected{};
    ASSERT_TRUE(::SystemTimeToFileTime(&time, &utc));
    ASSERT_TRUE(::FileTimeToLocalFileTime(&utc, &local));
    ASSERT_TRUE(::FileTimeToSystemTime(&local, &expected));
    const uint64_t packed = (static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
    EXPECT_EQ(TimeTextOfFileTime(packed), TimeText(expected));
}

}  // namespace

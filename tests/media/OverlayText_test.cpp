#include <gtest/gtest.h>

#include "media/OverlayText.h"
#include "store/ContentInfo.h"

namespace {

constexpr int64_t kSecond = 10000000;

TEST(OverlayTextTest, PlayTimeShowsHoursMinutesSeconds) {
    EXPECT_EQ(FormatPlayTime(3723 * kSecond + kSecond / 2, 7200 * kSecond), L"(01:02:03 / 02:00:00)");
    EXPECT_EQ(FormatPlayTime(0, 59 * kSecond + kSecond - 1), L"(00:00:00 / 00:00:59)");
    EXPECT_EQ(FormatPlayTime(-1, -1), L"(00:00:00 / 00:00:00)");
    EXPECT_EQ(FormatPlayTime(100 * 3600 * kSecond, 100 * 3600 * kSecond), L"(100:00:00 / 100:00:00)");
}

TEST(OverlayTextTest, StarsAfterTheTimeRepeatTheStar) {
    EXPECT_EQ(StarText(3), L"★★★");
    EXPECT_EQ(StarText(0), L"");
    EXPECT_EQ(StarText(-2), L"");
}

TEST(OverlayTextTest, ClockColonBlinksEachHalfSecond) {
    SYSTEMTIME time{};
    time.wHour = 12;
    time.wMinute = 34;
    time.wSecond = 56;
    time.wMilliseconds = 250;
    EXPECT_EQ(ClockText(time), L"12 34");
    time.wMilliseconds = 750;
    EXPECT_EQ(ClockText(time), L"12:34");
    time.wHour = 9;
    time.wMinute = 5;
    time.wMilliseconds = 500;
    EXPECT_EQ(ClockText(time), L" 9:05");
}

}  // namespace

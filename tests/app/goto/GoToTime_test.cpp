// The times Ctrl+G takes and where they land in a movie.

#include <gtest/gtest.h>

#include <string>

#include "app/commands/KeyMap.h"
#include "app/goto/GoToTime.h"
#include "base/CommandIds.h"

namespace {

struct ParseCase {
    const wchar_t* text;
    bool accepted;
    double seconds;
};

TEST(GoToTime, TheFormsAUserTypesAreReadAndOthersRefused) {
    const ParseCase cases[] = {
        {L"1:23:45", true, 5025},
        {L"83:10", true, 4990},
        {L"4990", true, 4990},
        {L"12:03.5", true, 723.5},
        {L"0:00:00.25", true, 0.25},
        {L" 1:05 ", true, 65},
        {L"１：２３：４５", true, 5025},  // full-width, as an input method types them
        {L"１２．５", true, 12.5},
        {L"0", true, 0},
        {L"", false, 0},
        {L"   ", false, 0},
        {L"abc", false, 0},
        {L"1:2:3:4", false, 0},
        {L"1:60", false, 0},  // seconds after the first part stay below 60
        {L"1:75:00", false, 0},
        {L"-5", false, 0},
        {L"1.5:00", false, 0},  // a fraction only in the last part
        {L"12:", false, 0},
        {L":30", false, 0},
        {L".5", false, 0},
        {L"5.", false, 0},
        {L"1e3", false, 0},
        {L"9999999999", false, 0},  // more digits than any movie has seconds
    };
    for (const ParseCase& c : cases) {
        double seconds = -1;
        EXPECT_EQ(ParseGoToTime(c.text, &seconds), c.accepted) << std::string(c.text, c.text + std::wcslen(c.text));
        if (c.accepted) {
            EXPECT_DOUBLE_EQ(seconds, c.seconds);
        }
    }
}

TEST(GoToTime, TimesLandInsideTheMovieAndNeverOnItsEnd) {
    constexpr int64_t kSecond = 10'000'000;
    const int64_t length = 120 * kSecond;
    EXPECT_EQ(GoToTimeTarget(65, length), 65 * kSecond);
    EXPECT_EQ(GoToTimeTarget(12.5, length), 125 * kSecond / 10);
    EXPECT_EQ(GoToTimeTarget(0, length), 0);
    EXPECT_EQ(GoToTimeTarget(-3, length), 0);
    // At or past the end: one second before it, so the movie does not end and lose its place.
    EXPECT_EQ(GoToTimeTarget(120, length), 119 * kSecond);
    EXPECT_EQ(GoToTimeTarget(5025, length), 119 * kSecond);
    // A movie shorter than a second goes to its start; an unknown length keeps the time.
    EXPECT_EQ(GoToTimeTarget(3, kSecond / 2), 0);
    EXPECT_EQ(GoToTimeTarget(3, 0), 3 * kSecond);
}

TEST(GoToTime, CtrlGOpensItAndGAloneDoesNothing) {
    EXPECT_EQ(CommandForKey('G', true), CMD_GO_TO_TIME);
    EXPECT_EQ(CommandForKey('G', false), 0);
    // Other keys keep their meaning with Ctrl held.
    EXPECT_EQ(CommandForKey('P', true), CMD_PLAY_PAUSE);
}

}  // namespace

// When the check is due, and what a fetched version leads to: recording a newly seen version
// with its delay, announcing it once the delay is over, and force.

#include <gtest/gtest.h>

#include "update/UpdateDecision.h"

namespace {
struct GateCase {
    UpdateGate gate;
    bool due;
};
class CheckDue : public ::testing::TestWithParam<GateCase> {};

TEST_P(CheckDue, OncePerDayUnlessForcedOrOff) { EXPECT_EQ(IsCheckDue(GetParam().gate), GetParam().due); }

INSTANTIATE_TEST_SUITE_P(Gates, CheckDue,
                         ::testing::Values(GateCase{{false, 0, 0, 0, 15}, true},    // never checked
                                           GateCase{{false, 0, 0, 14, 15}, true},   // yesterday
                                           GateCase{{false, 0, 0, 15, 15}, false},  // done today
                                           GateCase{{false, 0, 1, 15, 15}, true},   // forced
                                           GateCase{{false, 0, 7, 15, 15}, true},   // any non-zero forces
                                           GateCase{{false, 1, 1, 0, 15}, false},   // switched off
                                           GateCase{{false, -1, 0, 0, 15}, false},
                                           GateCase{{true, 0, 1, 0, 15}, false},    // a notice is showing
                                           GateCase{{false, 0, 0, 31, 1}, true}));

constexpr int64_t kNow = 1'700'000'000;

struct OutcomeCase {
    const wchar_t* remote;
    int force;
    VersionMemory stored;
    int delayDays;
    bool recordNextVersion;
    int64_t nextNotify;
    bool recordLastDay;
    bool showNotice;
};
class AfterFetch : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(AfterFetch, RecordsAndAnnounces) {
    const OutcomeCase& c = GetParam();
    UpdateOutcome outcome = DecideAfterFetch(L"1.3.1", c.remote, c.force, c.stored, kNow, c.delayDays);
    EXPECT_EQ(outcome.recordNextVersion, c.recordNextVersion);
    if (c.recordNextVersion) {
        EXPECT_EQ(outcome.nextVersion, c.remote);
        EXPECT_EQ(outcome.nextNotify, c.nextNotify);
    }
    EXPECT_EQ(outcome.recordLastDay, c.recordLastDay);
    EXPECT_EQ(outcome.showNotice, c.showNotice);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, AfterFetch,
    ::testing::Values(
        // Same or older remote: the day is done, nothing shown.
        OutcomeCase{L"1.3.1", 0, {L"0.0.0.0", 0}, 3, false, 0, true, false},
        OutcomeCase{L"1.3.0", 0, {L"0.0.0.0", 0}, 3, false, 0, true, false},
        // A remembered 1.3.9 counts as newer than 1.3.10, so the latter is not re-rolled.
        OutcomeCase{L"1.3.10", 0, {L"1.3.9", kNow + 60}, 0, false, 0, true, false},
        OutcomeCase{L"0.0.0.0", 0, {L"0.0.0.0", 0}, 0, false, 0, true, false},  // an error page
        // Forced: shown even when not newer.
        OutcomeCase{L"1.3.1", 1, {L"0.0.0.0", 0}, 3, false, 0, false, true},
        OutcomeCase{L"0.0.0.0", 1, {L"0.0.0.0", 0}, 3, false, 0, false, true},
        OutcomeCase{L"1.3.1", 2, {L"0.0.0.0", 0}, 3, false, 0, true, false},  // only 1 announces the same
        // Newly seen newer version: k = 0 announces at once, k > 0 only records.
        OutcomeCase{L"1.3.2", 0, {L"0.0.0.0", 0}, 0, true, kNow, false, true},
        OutcomeCase{L"1.3.2", 0, {L"0.0.0.0", 0}, 3, true, kNow + 3 * 86'400, true, false},
        OutcomeCase{L"1.3.2", 0, {L"0.0.0.0", 0}, 5, true, kNow + 5 * 86'400, true, false},
        OutcomeCase{L"1.3.2", 0, {L"0.0.0.0", 0}, 9, true, kNow + 5 * 86'400, true, false},  // clamped
        OutcomeCase{L"1.3.2", 0, {L"0.0.0.0", 0}, -2, true, kNow, false, true},
        OutcomeCase{L"1.3.9", 0, {L"1.3.10", kNow + 86'400}, 2, true, kNow + 2 * 86'400, true, false},
        // Known version: its stored time decides; it is not re-rolled.
        OutcomeCase{L"1.3.2", 0, {L"1.3.2", kNow + 86'400}, 0, false, 0, true, false},
        OutcomeCase{L"1.3.2", 0, {L"1.3.2", kNow}, 5, false, 0, false, true},
        OutcomeCase{L"1.3.2", 0, {L"1.3.2", kNow - 1}, 5, false, 0, false, true},
        OutcomeCase{L"1.3.2", 0, {L"1.3.3", kNow - 1}, 5, false, 0, false, true},  // a newer one seen before
        // Forced, but a newer version still waits for its day.
        OutcomeCase{L"1.3.2", 1, {L"1.3.2", kNow + 60}, 0, false, 0, true, false}));
}  // namespace

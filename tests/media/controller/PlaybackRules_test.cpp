// The controller's pure rules: ladders and their texts, resume and save positions, clamped
// steps, skip ranges and the A-B loop, volume arithmetic, the staged resume's timing and the
// play-list continuation.

#include <gtest/gtest.h>

#include "media/PlaybackRules.h"

namespace {
constexpr int64_t kSecond = kPlaybackRefTimePerSecond;
}

// ---- rate ladders ----

TEST(RateLadder, IndexesMapToTheSingleprecisionLadderValues) {
    EXPECT_EQ(RateForIndex(0), 1.0);
    EXPECT_EQ(RateForIndex(1), static_cast<double>(1.2f));
    EXPECT_NE(RateForIndex(1), 1.2);  // widened from float, not the double literal
    EXPECT_EQ(RateForIndex(6), 2.0);
    EXPECT_EQ(RateForIndex(16), 4.0);
    EXPECT_EQ(RateForIndex(17), 5.0);
    EXPECT_EQ(RateForIndex(18), 10.0);
    EXPECT_EQ(RateForIndex(-1), static_cast<double>(0.9f));
    EXPECT_EQ(RateForIndex(-5), 0.5);
    EXPECT_EQ(RateForIndex(-9), static_cast<double>(0.1f));
    EXPECT_EQ(RateForIndex(19), 1.0);   // off the ladder: normal speed
    EXPECT_EQ(RateForIndex(-10), 1.0);
}

TEST(RateLadder, TheLadderRisesStrictlyFromSlowestToFastest) {
    for (int index = kRateIndexMin; index < kRateIndexMax; ++index) {
        EXPECT_LT(RateForIndex(index), RateForIndex(index + 1)) << index;
    }
}

TEST(RateLadder, TwentyFivePressesUpEndAtTenAndTwelveDownAtOneTenth) {
    int index = 0;
    for (int press = 0; press < 25; ++press) index = FasterRateIndex(index);
    EXPECT_EQ(index, 18);
    EXPECT_EQ(RateForIndex(index), 10.0);
    index = 0;
    for (int press = 0; press < 12; ++press) index = SlowerRateIndex(index);
    EXPECT_EQ(index, -9);
    EXPECT_EQ(RateForIndex(index), static_cast<double>(0.1f));
    EXPECT_EQ(SlowerRateIndex(40), 17);  // a damaged index comes back onto the ladder
    EXPECT_EQ(FasterRateIndex(-40), -8);
}

struct SpeedTextCase {
    double rate;
    bool slowForm;
    const wchar_t* text;
};
class SpeedTextRule : public ::testing::TestWithParam<SpeedTextCase> {};
TEST_P(SpeedTextRule, FormatsWithOneDecimalAndWidensOnlyTheSlowForm) {
    EXPECT_EQ(SpeedText(GetParam().rate, GetParam().slowForm), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Rates, SpeedTextRule, ::testing::Values(
    SpeedTextCase{static_cast<double>(1.2f), false, L"ＳＰＥＥＤx1.2"},
    SpeedTextCase{10.0, false, L"ＳＰＥＥＤx10.0"},
    SpeedTextCase{1.0, false, L"ＳＰＥＥＤx1.0"},
    SpeedTextCase{0.5, true, L"ＳＰＥＥＤｘ0．5"},
    SpeedTextCase{static_cast<double>(0.1f), true, L"ＳＰＥＥＤｘ0．1"},
    SpeedTextCase{10.0, true, L"ＳＰＥＥＤｘ1０．0"}));  // from 10 on the 9th widens too

// ---- resume and saving ----

struct ResumeCase {
    const char* name;
    int64_t requested, start, end;
    int64_t adopted;
    ResumeChoice choice;
};
class ResumeRule : public ::testing::TestWithParam<ResumeCase> {};
TEST_P(ResumeRule, ChoosesTheStartPosition) {
    const ResumeCase& c = GetParam();
    ResumePosition chosen = ChooseResumePosition(c.requested, c.start, c.end);
    EXPECT_EQ(chosen.position, c.adopted) << c.name;
    EXPECT_EQ(chosen.choice, c.choice) << c.name;
}
INSTANTIATE_TEST_SUITE_P(Positions, ResumeRule, ::testing::Values(
    ResumeCase{"middle", 20 * kSecond, 0, 60 * kSecond, 20 * kSecond, ResumeChoice::Requested},
    ResumeCase{"three seconds before the end", 57 * kSecond, 0, 60 * kSecond, 0, ResumeChoice::NearEnd},
    ResumeCase{"exactly the margin", 55 * kSecond, 0, 60 * kSecond, 0, ResumeChoice::NearEnd},
    ResumeCase{"just inside the margin", 55 * kSecond - 1, 0, 60 * kSecond, 55 * kSecond - 1, ResumeChoice::Requested},
    ResumeCase{"before the start", 1 * kSecond, 2 * kSecond, 60 * kSecond, 2 * kSecond, ResumeChoice::BeforeStart},
    ResumeCase{"the unset -1", -1, 0, 60 * kSecond, 0, ResumeChoice::BeforeStart},
    ResumeCase{"empty range", 20 * kSecond, 0, 0, 20 * kSecond, ResumeChoice::UnknownRange},
    ResumeCase{"negative start", 20 * kSecond, -1, 60 * kSecond, 20 * kSecond, ResumeChoice::UnknownRange},
    ResumeCase{"end before start", 20 * kSecond, 30 * kSecond, 10 * kSecond, 20 * kSecond, ResumeChoice::UnknownRange},
    ResumeCase{"short movie", 1 * kSecond, 0, 4 * kSecond, 0, ResumeChoice::NearEnd}));

TEST(SavedPosition, AtOrBeyondTheEndIsNoneInsideIsKept) {
    EXPECT_EQ(SavedPositionFor(20 * kSecond, 0, 60 * kSecond), 20 * kSecond);
    EXPECT_EQ(SavedPositionFor(60 * kSecond - 1, 0, 60 * kSecond), 60 * kSecond - 1);
    EXPECT_EQ(SavedPositionFor(60 * kSecond, 0, 60 * kSecond), -1);
    EXPECT_EQ(SavedPositionFor(61 * kSecond, 0, 60 * kSecond), -1);
}

TEST(SavedPosition, AnEmptyOrNegativeRangeNeverErasesTheResumePoint) {
    // The platform may answer an empty range; every position would otherwise count as "the end".
    EXPECT_EQ(SavedPositionFor(20 * kSecond, 0, 0), 20 * kSecond);
    EXPECT_EQ(SavedPositionFor(20 * kSecond, -1, -1), 20 * kSecond);
    EXPECT_EQ(SavedPositionFor(20 * kSecond, 30 * kSecond, 10 * kSecond), 20 * kSecond);
}

// ---- seeks and steps ----

struct StepCase {
    int64_t position;
    int direction;
    int64_t start, end;
    int64_t target;
};
class HalfSecondStep : public ::testing::TestWithParam<StepCase> {};
TEST_P(HalfSecondStep, StepsHalfASecondInsideTheRange) {
    const StepCase& c = GetParam();
    EXPECT_EQ(HalfSecondStepTarget(c.position, c.direction, c.start, c.end), c.target);
}
INSTANTIATE_TEST_SUITE_P(Steps, HalfSecondStep, ::testing::Values(
    StepCase{10 * kSecond, -1, 0, 60 * kSecond, 10 * kSecond - 5'000'000},
    StepCase{10 * kSecond, +1, 0, 60 * kSecond, 10 * kSecond + 5'000'000},
    StepCase{2'000'000, -1, 0, 60 * kSecond, 0},                         // not below the start
    StepCase{2 * kSecond + 2'000'000, -1, 2 * kSecond, 60 * kSecond, 2 * kSecond},  // a start after 0
    StepCase{60 * kSecond - 1, +1, 0, 60 * kSecond, 60 * kSecond},       // not past the end
    StepCase{1'000'000, -1, 0, 0, 0},                                    // unknown range: not below 0
    StepCase{90 * kSecond, +1, 0, 0, 90 * kSecond + 5'000'000}));        // unknown range: no end

TEST(SkipStep, BackAndForwardClampToTheRange) {
    EXPECT_EQ(SkipStepTarget(30 * kSecond, 10 * kSecond, false, 0, 60 * kSecond), 20 * kSecond);
    EXPECT_EQ(SkipStepTarget(5 * kSecond, 10 * kSecond, false, 0, 60 * kSecond), 0);
    EXPECT_EQ(SkipStepTarget(55 * kSecond, 10 * kSecond, true, 0, 60 * kSecond), 60 * kSecond);
    EXPECT_EQ(SkipStepTarget(30 * kSecond, 10 * kSecond, true, 0, 60 * kSecond), 40 * kSecond);
}

// ---- skip ranges and the loop ----

namespace {
SkipEntries Entries(std::initializer_list<std::tuple<int, int, int64_t, int64_t>> list) {
    SkipEntries entries;
    for (auto [index, disabled, begin, end] : list) entries[index] = SkipEntry{disabled, begin, end};
    return entries;
}
}  // namespace

TEST(TickSeek, AnEnabledRangeSendsToItsEndFromBeginUpToButNotIncludingEnd) {
    SkipEntries entries = Entries({{0, 0, 10 * kSecond, 40 * kSecond}});
    LoopRange noLoop;
    EXPECT_EQ(TickSeekTarget(noLoop, entries, 10 * kSecond - 1), -1);
    EXPECT_EQ(TickSeekTarget(noLoop, entries, 10 * kSecond), 40 * kSecond);
    EXPECT_EQ(TickSeekTarget(noLoop, entries, 40 * kSecond - 1), 40 * kSecond);
    EXPECT_EQ(TickSeekTarget(noLoop, entries, 40 * kSecond), -1);
}

TEST(TickSeek, DisabledAndUnsetRangesPlayThrough) {
    LoopRange noLoop;
    EXPECT_EQ(TickSeekTarget(noLoop, Entries({{0, 1, 10 * kSecond, 40 * kSecond}}), 20 * kSecond), -1);
    EXPECT_EQ(TickSeekTarget(noLoop, SkipEntries{}, 0), -1);  // -1 .. -1 holds nothing
}

TEST(TickSeek, TheFirstMatchInIndexOrderWins) {
    SkipEntries entries = Entries({{1, 0, 50 * kSecond, 55 * kSecond},
                                   {3, 0, 5 * kSecond, 30 * kSecond},
                                   {2, 0, 10 * kSecond, 20 * kSecond}});
    EXPECT_EQ(TickSeekTarget(LoopRange{}, entries, 12 * kSecond), 20 * kSecond);  // entry 2 before 3
    EXPECT_EQ(TickSeekTarget(LoopRange{}, entries, 7 * kSecond), 30 * kSecond);
}

TEST(TickSeek, AnActiveLoopReturnsToItsStartAndHidesTheSkipRanges) {
    SkipEntries entries = Entries({{0, 0, 0, 30 * kSecond}});
    LoopRange loop{true, 10 * kSecond, 20 * kSecond};
    EXPECT_EQ(TickSeekTarget(loop, entries, 15 * kSecond), -1);
    EXPECT_EQ(TickSeekTarget(loop, entries, 20 * kSecond), 10 * kSecond);
    EXPECT_EQ(TickSeekTarget(loop, entries, 25 * kSecond), 10 * kSecond);
    LoopRange unset{true, -1, -1};
    EXPECT_EQ(TickSeekTarget(unset, entries, 25 * kSecond), -1);  // active but unset: nothing
}

TEST(Loop, ThumbnailsGiveStartAndAnEndOneIntervalAfterTheLast) {
    LoopRange loop = LoopFromThumbnails(2, 4, 10 * kSecond);
    EXPECT_TRUE(loop.active);
    EXPECT_EQ(loop.start, 20 * kSecond);
    EXPECT_EQ(loop.end, 50 * kSecond);
    loop = LoopFromThumbnails(3, 3, 5 * kSecond);
    EXPECT_EQ(loop.start, 15 * kSecond);
    EXPECT_EQ(loop.end, 20 * kSecond);
}

// ---- volume ----

TEST(Volume, TheTableRunsFromSilentThroughMinus4750ToZero) {
    EXPECT_EQ(VolumeTableEntry(0), -10000);
    EXPECT_EQ(VolumeTableEntry(1), -4750);
    EXPECT_EQ(VolumeTableEntry(2), -4500);
    EXPECT_EQ(VolumeTableEntry(16), -1000);
    EXPECT_EQ(VolumeTableEntry(20), 0);
    EXPECT_EQ(VolumeTableEntry(21), 0);      // clamped step
    EXPECT_EQ(VolumeTableEntry(-3), -10000);
}

struct VolumeCase {
    int step, offset;
    bool loaded;
    long volume;
};
class VolumeRule : public ::testing::TestWithParam<VolumeCase> {};
TEST_P(VolumeRule, TableEntryPlusOffsetClamped) {
    const VolumeCase& c = GetParam();
    EXPECT_EQ(VolumeFor(c.step, c.offset, c.loaded), c.volume);
}
INSTANTIATE_TEST_SUITE_P(Steps, VolumeRule, ::testing::Values(
    VolumeCase{0, 4, true, -9000},      // silent step, +4 offset: -10000 + 1000
    VolumeCase{0, 4, false, -10000},    // no content: no offset
    VolumeCase{20, 4, true, 0},         // never above 0
    VolumeCase{1, -40, true, -10000},   // never below silent
    VolumeCase{16, -2, true, -1500},
    VolumeCase{10, 0, true, -2500}));

TEST(Volume, MuteLeavesTheOffsetAudibleOnlyWithContent) {
    EXPECT_EQ(MutedVolumeFor(0, true), -10000);
    EXPECT_EQ(MutedVolumeFor(4, true), -9000);
    EXPECT_EQ(MutedVolumeFor(4, false), -10000);
    EXPECT_EQ(MutedVolumeFor(80, true), 0);
}

TEST(Volume, TheTextHasTwoFullWidthDigits) {
    EXPECT_EQ(VolumeText(7), L"ＶＯＬＵＭＥ０７");
    EXPECT_EQ(VolumeText(20), L"ＶＯＬＵＭＥ２０");
    EXPECT_EQ(VolumeText(0), L"ＶＯＬＵＭＥ００");
}

// ---- the staged resume ----

TEST(DeferredRun, RunsAtOnceWithoutRendererOrWithAFreshPictureElseAfter1200ms) {
    const uint32_t start = 1000;
    EXPECT_TRUE(DeferredRunDue(false, false, 0, start, start));
    EXPECT_TRUE(DeferredRunDue(true, true, 0, start, start));
    EXPECT_TRUE(DeferredRunDue(true, true, 500, start, start));
    EXPECT_FALSE(DeferredRunDue(true, true, 501, start, start));  // a stale picture is none
    EXPECT_FALSE(DeferredRunDue(true, false, 0, start, start + 1199));
    EXPECT_TRUE(DeferredRunDue(true, false, 0, start, start + 1200));
    EXPECT_TRUE(DeferredRunDue(true, false, 0, 0xFFFFFF00u, 0x00000400u));  // across the wrap
    EXPECT_FALSE(DeferredRunDue(true, false, 0, 0xFFFFFF00u, 0x00000100u));
}

TEST(ResumeHealth, TwoTenthsOfASecondIsHealthyElseOneResyncThenGiveUp) {
    EXPECT_EQ(JudgeResumeHealth(12'000'000, 10'000'000, false), HealthVerdict::Healthy);
    EXPECT_EQ(JudgeResumeHealth(11'999'999, 10'000'000, false), HealthVerdict::Resync);
    EXPECT_EQ(JudgeResumeHealth(10'000'000, 10'000'000, true), HealthVerdict::GiveUp);
    EXPECT_EQ(JudgeResumeHealth(5'000'000, -1, true), HealthVerdict::Healthy);  // no base: nothing to judge
}

// ---- play-list continuation ----

struct ContinuationCase {
    const char* name;
    PlayListCursor list;
    bool playNext;
    int nextIndex;
};
class ContinuationRule : public ::testing::TestWithParam<ContinuationCase> {};
TEST_P(ContinuationRule, DecidesWhetherAndWhereTheListGoesOn) {
    const ContinuationCase& c = GetParam();
    Continuation next = DecideContinuation(c.list);
    EXPECT_EQ(next.playNext, c.playNext) << c.name;
    if (c.playNext) {
        EXPECT_EQ(next.nextIndex, c.nextIndex) << c.name;
    }
}
INSTANTIATE_TEST_SUITE_P(Lists, ContinuationRule, ::testing::Values(
    ContinuationCase{"empty list", {0, 0, false, true}, false, 0},
    ContinuationCase{"an entry is due", {3, 1, true, false}, true, 1},
    ContinuationCase{"due from another source", {3, 0, false, false}, true, 0},
    ContinuationCase{"past the end, no repeat", {3, 3, true, false}, false, 0},
    ContinuationCase{"past the end, repeat", {3, 3, true, true}, true, 0},
    ContinuationCase{"past the end, repeat, other source", {3, 3, false, true}, false, 0},
    ContinuationCase{"negative index", {3, -1, true, true}, false, 0}));

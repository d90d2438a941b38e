// Where a loaded movie starts: resumed or from the beginning, by every reason the load knows.

#include <gtest/gtest.h>

#include "app/loading/PlayStart.h"

namespace {
constexpr int64_t kSaved = 1'234'567'890;

TEST(PlayStart, TheSavedPositionResumesUnlessAnyReasonSaysFromTheBeginning) {
    PlayStartFacts resumable;
    resumable.savedPosition = kSaved;
    PlayStart start = DecidePlayStart(resumable);
    EXPECT_FALSE(start.fromBeginning);
    EXPECT_EQ(start.position, kSaved);

    const struct {
        const char* reason;
        void (*apply)(PlayStartFacts*);
    } reasons[] = {
        {"setting", [](PlayStartFacts* f) { f->noResumeSetting = true; }},
        {"launch flag", [](PlayStartFacts* f) { f->launchNoResume = true; }},
        {"record flag", [](PlayStartFacts* f) { f->recordNoResume = true; }},
        {"no saved position", [](PlayStartFacts* f) { f->savedPosition = -1; }},
        {"a negative saved position", [](PlayStartFacts* f) { f->savedPosition = -70; }},
        {"play list going on", [](PlayStartFacts* f) { f->continuesList = true; }},
        {"sound only", [](PlayStartFacts* f) { f->soundOnly = true; }},
    };
    for (const auto& reason : reasons) {
        PlayStartFacts facts = resumable;
        reason.apply(&facts);
        start = DecidePlayStart(facts);
        EXPECT_TRUE(start.fromBeginning) << reason.reason;
        EXPECT_EQ(start.position, 0) << reason.reason;
    }
}

TEST(PlayStart, ALaunchStartPositionWinsOverEveryReason) {
    PlayStartFacts facts;
    facts.noResumeSetting = facts.launchNoResume = facts.recordNoResume = true;
    facts.continuesList = facts.soundOnly = true;
    facts.launchStart = 0;  // the very beginning, given: still a resume there
    PlayStart start = DecidePlayStart(facts);
    EXPECT_FALSE(start.fromBeginning);
    EXPECT_EQ(start.position, 0);
    facts.launchStart = 42;
    facts.savedPosition = kSaved;
    EXPECT_EQ(DecidePlayStart(facts).position, 42);
}
}  // namespace

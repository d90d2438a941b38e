#include <gtest/gtest.h>

#include "media/ProcAmpChoice.h"

namespace {

constexpr int32_t kOne = 0x10000;

ProcAmpSource Source(int enable, int32_t b, int32_t c, int32_t h, int32_t s) {
    ProcAmpSource source;
    source.enable = enable;
    source.values[0] = b;
    source.values[1] = c;
    source.values[2] = h;
    source.values[3] = s;
    return source;
}

TEST(ProcAmpChoiceTest, TheMoviesOwnValuesWinWhenItsRecordEnablesThem) {
    ProcAmpChoice choice = ChooseProcAmp(Source(1, 20 * kOne, 2 * kOne, 30 * kOne, kOne / 2),
                                         Source(1, -50 * kOne, kOne, 0, kOne));
    EXPECT_TRUE(choice.fromRecord);
    EXPECT_EQ(choice.values[0], 20 * kOne);
    EXPECT_EQ(choice.values[1], 2 * kOne);
    EXPECT_EQ(choice.values[2], 30 * kOne);
    EXPECT_EQ(choice.values[3], kOne / 2);
}

TEST(ProcAmpChoiceTest, ApplicationValuesApplyWhenTheRecordDoesNotEnableItsOwn) {
    ProcAmpChoice choice = ChooseProcAmp(Source(0, 20 * kOne, 2 * kOne, 30 * kOne, kOne / 2),
                                         Source(1, -50 * kOne, kOne, 0, 3 * kOne));
    EXPECT_FALSE(choice.fromRecord);
    EXPECT_TRUE(choice.fromApplication);
    EXPECT_EQ(choice.values[0], -50 * kOne);
    EXPECT_EQ(choice.values[3], 3 * kOne);
}

TEST(ProcAmpChoiceTest, NothingEnabledOrNothingSetMeansNeutral) {
    ProcAmpChoice none = ChooseProcAmp(Source(0, 20 * kOne, 2 * kOne, 0, 0), Source(0, 5 * kOne, 0, 0, 0));
    EXPECT_FALSE(none.fromRecord);
    EXPECT_FALSE(none.fromApplication);
    const int32_t neutral[4] = {0, kOne, 0, kOne};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(none.values[i], neutral[i]) << i;
    // Enabled but with some controls unset: those keep their defaults.
    ProcAmpChoice partial =
        ChooseProcAmp(Source(1, kProcAmpUnset, kProcAmpUnset, 45 * kOne, kProcAmpUnset), ProcAmpSource());
    EXPECT_EQ(partial.values[0], 0);
    EXPECT_EQ(partial.values[1], kOne);
    EXPECT_EQ(partial.values[2], 45 * kOne);
    EXPECT_EQ(partial.values[3], kOne);
}

TEST(ProcAmpChoiceTest, ValuesFromAnEditedFileAreClamped) {
    ProcAmpChoice choice = ChooseProcAmp(Source(1, 1000 * kOne, -kOne, 999 * kOne, 50 * kOne), ProcAmpSource());
    EXPECT_EQ(choice.values[0], 100 * kOne);
    EXPECT_EQ(choice.values[1], 0);
    EXPECT_EQ(choice.values[2], 180 * kOne);
    EXPECT_EQ(choice.values[3], 10 * kOne);
    // An enable value other than 1 is not "on".
    EXPECT_FALSE(ChooseProcAmp(Source(2, kOne, kOne, 0, kOne), ProcAmpSource()).fromRecord);
}

}  // namespace

// The keyboard rules of the message loop, as pure logic.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/KeySequence_CL.h"

namespace {
unsigned Delivered(KeySequence_CL& keys, unsigned vk) {
    KeySequence_CL::Decision d = keys.OnKeyDown(vk);
    return d.swallow ? 0 : d.deliverKey;
}
}  // namespace

TEST(KeySequence, HeldArrowActsOnce500msAfterItsLastRepeat) {
    KeySequence_CL keys;
    EXPECT_EQ(Delivered(keys, VK_RIGHT), 0u);
    EXPECT_TRUE(keys.HasHeldArrow());
    EXPECT_EQ(keys.OnElapsed(300), 0u);
    EXPECT_EQ(Delivered(keys, VK_RIGHT), 0u);  // auto-repeat restarts the countdown
    EXPECT_EQ(keys.OnElapsed(300), 0u);
    EXPECT_EQ(keys.OnElapsed(199), 0u);
    EXPECT_EQ(keys.OnElapsed(1), static_cast<unsigned>(VK_RIGHT));
    EXPECT_FALSE(keys.HasHeldArrow());
    EXPECT_EQ(keys.OnElapsed(1000), 0u);  // only once
}

TEST(KeySequence, RemoteControlSequencesBecomeF7AndF8WithoutTheArrow) {
    for (unsigned letter : {unsigned('B'), unsigned('F')}) {
        KeySequence_CL keys;
        EXPECT_EQ(Delivered(keys, VK_LEFT), 0u);
        EXPECT_EQ(Delivered(keys, VK_CONTROL), 0u);
        EXPECT_FALSE(keys.HasHeldArrow());  // the arrow was dropped
        EXPECT_EQ(Delivered(keys, VK_SHIFT), 0u);
        KeySequence_CL::Decision d = keys.OnKeyDown(letter);
        EXPECT_FALSE(d.swallow);
        unsigned expected = letter == 'B' ? VK_F7 : VK_F8;
        EXPECT_EQ(d.deliverKey, expected);
        EXPECT_EQ(d.messageKey, expected);
        EXPECT_EQ(keys.OnElapsed(1000), 0u);
    }
}

TEST(KeySequence, BrokenSequencesDeliverTheirKeys) {
    KeySequence_CL keys;
    // Shift without Control first: delivered, and it ends the sequence.
    EXPECT_EQ(Delivered(keys, VK_RIGHT), 0u);
    EXPECT_EQ(Delivered(keys, VK_SHIFT), static_cast<unsigned>(VK_SHIFT));
    EXPECT_FALSE(keys.HasHeldArrow());  // any other key drops a held arrow
    EXPECT_EQ(Delivered(keys, 'B'), unsigned('B'));
    // Control outside a sequence is an ordinary key.
    EXPECT_EQ(Delivered(keys, VK_CONTROL), static_cast<unsigned>(VK_CONTROL));
    EXPECT_EQ(Delivered(keys, VK_SHIFT), static_cast<unsigned>(VK_SHIFT));
    // A letter after the sequence ended is not rewritten.
    EXPECT_EQ(Delivered(keys, VK_LEFT), 0u);
    EXPECT_EQ(Delivered(keys, VK_CONTROL), 0u);
    EXPECT_EQ(Delivered(keys, 'X'), unsigned('X'));
    EXPECT_EQ(Delivered(keys, 'F'), unsigned('F'));
}

TEST(KeySequence, AltEnterActsAsEscapeAndSwallowsControlThenThree) {
    KeySequence_CL keys;
    KeySequence_CL::Decision d = keys.OnAltEnter();
    EXPECT_TRUE(d.swallow);
    EXPECT_EQ(d.deliverKey, static_cast<unsigned>(VK_ESCAPE));
    EXPECT_EQ(Delivered(keys, 'P'), unsigned('P'));  // other keys pass meanwhile
    EXPECT_TRUE(keys.OnKeyDown(VK_CONTROL).swallow);
    EXPECT_EQ(Delivered(keys, 'P'), unsigned('P'));
    EXPECT_TRUE(keys.OnKeyDown('3').swallow);  // whenever it comes
    EXPECT_EQ(Delivered(keys, '3'), unsigned('3'));
    EXPECT_EQ(Delivered(keys, VK_CONTROL), static_cast<unsigned>(VK_CONTROL));
}

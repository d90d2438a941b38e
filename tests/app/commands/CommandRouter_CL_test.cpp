// The command router, the key table and the volume command's parameter.

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/commands/CommandRouter_CL.h"
#include "app/commands/KeyMap.h"
#include "app/commands/PlayerCommands_CL.h"
#include "base/CommandIds.h"

TEST(CommandRouter, RunsKnownEnabledCommandsAfterTheStepBeforeEach) {
    CommandRouter_CL router;
    std::vector<int> order;  // command numbers; negative for the step before each
    bool greyed = true;
    router.SetBeforeEach([&order](WORD id) { order.push_back(-static_cast<int>(id)); });
    router.Register(0x8011, 0x8014, [&order](WORD id, LPARAM lParam) { order.push_back(id + static_cast<int>(lParam)); });
    router.Register(0x80D0, [&order](WORD id, LPARAM) { order.push_back(id); },
                    [&greyed](WORD) { return CommandState{!greyed, true}; });

    EXPECT_TRUE(router.Run(0x8013, 1));
    EXPECT_FALSE(router.Run(0x8015));  // unknown
    EXPECT_FALSE(router.Run(0x80D0));  // greyed: neither it nor the step runs
    greyed = false;
    EXPECT_TRUE(router.Run(0x80D0));
    EXPECT_EQ(order, (std::vector<int>{-0x8013, 0x8014, -0x80D0, 0x80D0}));
}

TEST(CommandRouter, StateAnswersFromOnePlace) {
    CommandRouter_CL router;
    router.Register(0x8570, [](WORD, LPARAM) {});
    router.Register(0x8574, [](WORD, LPARAM) {}, [](WORD) { return CommandState{true, true}; });
    EXPECT_TRUE(router.State(0x8570).enabled);
    EXPECT_FALSE(router.State(0x8570).checked);
    EXPECT_TRUE(router.State(0x8574).checked);
    EXPECT_FALSE(router.State(0x857E).enabled);  // nothing registered: greyed
    EXPECT_FALSE(router.Knows(0x857E));
}

TEST(CommandRouter, LaterRegistrationOverridesPartOfARange) {
    CommandRouter_CL router;
    int which = 0;
    router.Register(0x80A0, 0x80A9, [&which](WORD, LPARAM) { which = 1; });
    router.Register(0x80A6, [&which](WORD, LPARAM) { which = 2; });
    router.Run(0x80A5);
    EXPECT_EQ(which, 1);
    router.Run(0x80A6);
    EXPECT_EQ(which, 2);
}

TEST(KeyMap, KeysRunTheirCommands) {
    struct Case {
        UINT key;
        WORD command;
    };
    const Case cases[] = {
        {'P', CMD_PLAY_PAUSE},          {VK_MEDIA_PLAY_PAUSE, CMD_PLAY_PAUSE},
        {'S', CMD_STOP},                {'T', CMD_KEY_RESTART},
        {'M', CMD_MUTE},                {VK_OEM_PLUS, CMD_KEY_VOLUME_UP},
        {VK_SUBTRACT, CMD_KEY_VOLUME_DOWN}, {VK_F7, CMD_SLOWER},
        {VK_F8, CMD_FASTER},            {VK_LEFT, CMD_PREVIOUS},
        {VK_RIGHT, CMD_NEXT},           {VK_ESCAPE, CMD_FULL_SCREEN},
        {VK_F4, CMD_FULL_SCREEN},       {VK_F1, CMD_KEY_CYCLE_RATIO},
        {VK_F6, CMD_THUMBNAIL_STRIP},   {VK_F9, CMD_KEY_CLOCK},
        {VK_RETURN, CMD_KEY_CLICK},     {VK_BACK, CMD_SHOW_HISTORY},
        {VK_TAB, CMD_SHOW_PLAY_LIST},   {'0', CMD_STARS_FIRST},
        {'5', CMD_STARS_LAST},          {VK_NUMPAD3, CMD_STARS_FIRST + 3},
        {'6', 0},                       {VK_NUMPAD6, 0},
        {'Q', 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CommandForKey(c.key), c.command) << "key 0x" << std::hex << c.key;
}

TEST(VolumeCommand, AnySendersParameterBecomesAStepOfTheTable) {
    EXPECT_EQ(PlayerCommands_CL::VolumeStepFromParam(-1), 0);
    EXPECT_EQ(PlayerCommands_CL::VolumeStepFromParam(0), 0);
    EXPECT_EQ(PlayerCommands_CL::VolumeStepFromParam(13), 13);
    EXPECT_EQ(PlayerCommands_CL::VolumeStepFromParam(20), 20);
    EXPECT_EQ(PlayerCommands_CL::VolumeStepFromParam(21), 20);
    // A value whose low 32 bits look small must not pass as that small step.
    EXPECT_EQ(PlayerCommands_CL::VolumeStepFromParam(static_cast<LPARAM>(0x100000005LL)), 20);
    EXPECT_EQ(PlayerCommands_CL::VolumeStepFromParam(static_cast<LPARAM>(-0x100000000LL + 5)), 0);
}

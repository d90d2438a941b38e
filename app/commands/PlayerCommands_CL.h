#pragma once
// What each of the player's commands does, and when each is available or checked: the
// picture's ratio, full screen, borderless, topmost and transparent display, playing from a
// favourite or a skip range, clearing them, the A-B loop's end, star ratings (passed on to the
// album copies), the support site, and the tool bar's and keys' playback commands. Registered
// with the command router; reaches the window through CommandHost_CL.
// Commands that write to the movie's record do nothing while no movie's record is loaded, and
// moves to a favourite or range that is not set do nothing; both are greyed in the menus.
// Thread: UI.

#include <windows.h>

#include "app/commands/MenuModel.h"

class AppSettings;
class CommandHost_CL;
class CommandRouter_CL;

class PlayerCommands_CL {
public:
    PlayerCommands_CL(CommandHost_CL& host, AppSettings& settings) : m_host(host), m_settings(settings) {}

    // Thread: UI. Registers every command this class carries out, and the step run before each.
    void Register(CommandRouter_CL& router);

    // Thread: UI. The state the picture menu is built from.
    PictureMenuState PictureMenuStateNow();

    // The volume step a volume command carries in lParam, from whatever sender: 0 ... 20.
    static int VolumeStepFromParam(LPARAM lParam);

private:
    void SetOutputRate(int mode);
    void CycleSetting(int AppSettings::*field, int count);
    void ToggleClock();
    void SetStarRating(int stars);
    void ToggleStrip();
    // Seeks to a record position (favourite or skip range), scrolls the strip there, and with
    // play starts playing when the player is not playing. Unset positions do nothing.
    void SeekToRecordPosition(int64_t position, bool play);
    // Ctrl+G: asks for a time and goes there, playing or paused as before.
    void GoToTime();
    void ClearSkipRange(int index);
    void ClearFavorite(int index);
    void OpenSupportSite();
    bool RecordLoaded();
    bool FavoriteSet(int index);
    bool SkipRangeSet(int index);

    CommandHost_CL& m_host;
    AppSettings& m_settings;
};

#pragma once
// The two settings sheets of the player: "アプリケーションの設定" (command 0x80D1) and
// "コンテンツの設定" (0x80D0). Each runs modally with the modal-dialog flag raised. Whenever the
// user applies, the player follows at once: the controller re-reads what its tick, balance
// and volume use, the strip is built anew when its interval changed, and the window shows the
// rest (FollowSettings). After the content sheet, the record is shared or unshared when its
// box was changed.
// Thread: UI.

#include <windows.h>

#include <cstdint>
#include <functional>

class AppSettings;
class CommandRouter_CL;
class SettingsHost_CL;

class MainSettings_CL {
public:
    MainSettings_CL(SettingsHost_CL& host, AppSettings& settings) : m_host(host), m_settings(settings) {}

    // Thread: UI. Registers 0x80D0 and 0x80D1; the support site's command is run by the
    // version page's button.
    void RegisterCommands(CommandRouter_CL& router);

    // Thread: UI. Each returns 1 when the user applied, 0 when cancelled, -1 on failure.
    INT_PTR ShowAppSettings();
    INT_PTR ShowContentSettings();

private:
    // The player follows what was applied.
    void Follow();

    SettingsHost_CL& m_host;
    AppSettings& m_settings;
    std::function<void()> m_openSupportSite;
    int64_t m_stripInterval = 0;  // the interval the strip was built at, before the sheet
};

#pragma once
// The version check: at most once a day, fetch the version file from the maker's server,
// remember a newly published version with a random delay of 0 ... 5 days, and when that time
// has come (or when forced) ask the user whether to open the site.
//
// The check is three steps so the network part can run off the UI thread:
//   IsDue (UI) -> Fetch (any thread, no settings) -> Apply (UI: settings, notice, site).
// Run does all three in a row. The notice, the opening of the site, the clock and the random
// delay are hooks, so a test can drive the whole check without a dialog or a browser.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "update/UpdateDecision.h"
#include "update/UpdateSettings_CL.h"
#include "update/UpdateTexts.h"
#include "update/VersionFile.h"

// The player waits this long for a dead or silent server.
constexpr DWORD kUpdateTimeoutMs = 10'000;

struct UpdateRequest {
    HWND parent = nullptr;  // the notice's owner; none gives a message box
    std::wstring caption = kUpdateCaption;
    std::wstring ownVersion = kOwnVersion;
    std::wstring host = kUpdateHost;
    std::wstring path = kVersionFilePath;
    DWORD timeoutMs = kUpdateTimeoutMs;
};

// What the network step brought back.
struct UpdateFetchResult {
    bool received = false;  // a whole body of the announced length arrived
    DWORD statusCode = 0;
    VersionFile file;
};

struct UpdateClockReading {
    int64_t nowSeconds = 0;  // seconds since 1970
    int today = 0;           // day of the month, local time
};

struct UpdateHooks {
    // Asks the user; answers a NoticeResult.
    std::function<int(HWND parent, const std::wstring& caption, const std::wstring& remoteVersion,
                      const std::wstring& ownVersion)>
        showNotice;
    // Opens an address the address rule accepted.
    std::function<void(const std::wstring& address)> openAddress;
    std::function<UpdateClockReading()> clock;
    // 0 ... kMaxNoticeDelayDays.
    std::function<int()> delayDays;

    // The real ones: UpdateDialog_CL, ShellExecuteW (skipped while c:\MyHome.txt exists),
    // the local clock and a random number.
    static UpdateHooks Platform();
};

class UpdateCheck_CL {
public:
    UpdateCheck_CL(UpdateSettings_CL settings, UpdateRequest request, UpdateHooks hooks = UpdateHooks::Platform());

    // Thread: UI. Reads force, notify and last_day: whether a check should run now.
    bool IsDue() const;
    // Thread: any. The network step: GET the version file and parse it. Touches no settings.
    static UpdateFetchResult Fetch(const UpdateRequest& request);
    // Thread: UI. Applies a fetched version: records it, shows the notice when it is time, and
    // acts on the answer. Returns the NoticeResult, or -1 when no notice was shown. Nothing is
    // written when nothing was received, so the next start on the same day tries again.
    int Apply(const UpdateFetchResult& fetched);
    // Thread: UI. The whole check in a row; blocks on the network for up to the time-out.
    int Run();

    const UpdateRequest& Request() const { return m_request; }
    UpdateRequest& Request() { return m_request; }
    const UpdateSettings_CL& Settings() const { return m_settings; }

    // Thread: UI. Set while a notice is on screen, for the whole process: no second check
    // starts meanwhile.
    static bool NoticeShowing();

private:
    UpdateGate ReadGate() const;

    UpdateSettings_CL m_settings;
    UpdateRequest m_request;
    UpdateHooks m_hooks;
};

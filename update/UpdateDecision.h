#pragma once
// When the version check runs and what it does with the version it fetched: whether it is due
// today, what it records, and whether the notice is shown. Pure: the caller reads the settings
// and the clock and writes back what the outcome says. Thread: any.

#include <cstdint>
#include <string>

constexpr int64_t kSecondsPerDay = 86'400;
// A newly published version is announced after a random 0 ... 5 days, so that not every
// user's player comes for the download on the same day.
constexpr int kMaxNoticeDelayDays = 5;

enum NoticeResult : int {
    kNoticeClosed = 0,      // the window was closed
    kNoticeGoToSite = 1,    // open the site
    kNoticeLater = 2,       // ask again on another day
};

// What decides whether a check starts.
struct UpdateGate {
    bool noticeShowing = false;  // a notice is on screen already
    int notify = 0;              // VERSION notify: non-zero turns the check off
    int force = 0;               // VERSION force: check whatever the day
    int lastDay = 0;             // VERSION last_day: day of the month of the last check
    int today = 0;               // today's day of the month, local time
};

// At most one check a day: due when nothing is showing, the check is on, and it is forced or
// last ran on another day of the month.
bool IsCheckDue(const UpdateGate& gate);

// What the settings remember about the newest version seen.
struct VersionMemory {
    std::wstring nextVersion;  // VERSION next_version
    int64_t nextNotify = 0;    // VERSION next_notify, seconds since 1970
};

// What one fetched version leads to.
struct UpdateOutcome {
    bool recordNextVersion = false;  // write next_version and next_notify below
    std::wstring nextVersion;
    int64_t nextNotify = 0;
    bool recordLastDay = false;      // write last_day := today (the check is done for today)
    bool showNotice = false;
};

// A newer remote version is remembered with its announce time now + delayDays days (clamped
// to 0 ... 5) the first time it is seen, and announced once that time has come. A version
// that is not newer is announced only when force is 1.
UpdateOutcome DecideAfterFetch(const std::wstring& ownVersion, const std::wstring& remoteVersion, int force,
                               const VersionMemory& stored, int64_t nowSeconds, int delayDays);

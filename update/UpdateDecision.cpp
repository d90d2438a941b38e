#include "update/UpdateDecision.h"

#include <algorithm>

#include "update/VersionFile.h"

bool IsCheckDue(const UpdateGate& gate) {
    if (gate.noticeShowing || gate.notify != 0) return false;
    return gate.force != 0 || gate.lastDay != gate.today;
}

UpdateOutcome DecideAfterFetch(const std::wstring& ownVersion, const std::wstring& remoteVersion, int force,
                               const VersionMemory& stored, int64_t nowSeconds, int delayDays) {
    UpdateOutcome outcome;
    const bool newer = IsOlderVersion(ownVersion, remoteVersion);
    if (newer) {
        int64_t announceAt = stored.nextNotify;
        if (IsOlderVersion(stored.nextVersion, remoteVersion)) {
            const int days = std::clamp(delayDays, 0, kMaxNoticeDelayDays);
            outcome.recordNextVersion = true;
            outcome.nextVersion = remoteVersion;
            outcome.nextNotify = nowSeconds + days * kSecondsPerDay;
            announceAt = outcome.nextNotify;
        }
        if (announceAt > nowSeconds) {
            outcome.recordLastDay = true;
            return outcome;
        }
    }
    if (force != 1 && !newer) {
        outcome.recordLastDay = true;
        return outcome;
    }
    outcome.showNotice = true;
    return outcome;
}

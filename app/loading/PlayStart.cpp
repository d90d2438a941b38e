#include "app/loading/PlayStart.h"

PlayStart DecidePlayStart(const PlayStartFacts& facts) {
    if (facts.launchStart >= 0) return PlayStart{false, facts.launchStart};
    const bool fresh = facts.noResumeSetting || facts.launchNoResume || facts.recordNoResume ||
                       facts.savedPosition < 0 || facts.continuesList || facts.soundOnly;
    if (fresh) return PlayStart{true, 0};
    return PlayStart{false, facts.savedPosition};
}

#pragma once
// Where a loaded movie starts: from the beginning, or resumed at the launch request's start
// position or the record's saved one; and the strip's first cell on view to match. A pure
// rule over what the load knows.
// Thread: any.

#include <cstdint>

struct PlayStartFacts {
    bool noResumeSetting = false;  // SETTING no_resume
    bool launchNoResume = false;   // the launch request's "/NoResume"
    bool recordNoResume = false;   // the movie's record says never resume
    int64_t savedPosition = -1;    // the record's last_play_frame, -1 none
    bool continuesList = false;    // the load plays the play list's next movie
    bool soundOnly = false;
    int64_t launchStart = -1;      // the launch request's start position, -1 none
};

struct PlayStart {
    bool fromBeginning = true;  // Play(0); otherwise PlayResume(position)
    int64_t position = 0;       // the resume position; 0 from the beginning
};

// A start position given at launch always resumes there. Otherwise any reason not to resume
// (a no-resume setting, flag or record, no saved position (or a negative one), a play list going on, a movie of
// sound only) starts from the beginning, and the saved position resumes.
PlayStart DecidePlayStart(const PlayStartFacts& facts);

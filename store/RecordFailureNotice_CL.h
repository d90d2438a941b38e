#pragma once
// How the record logic tells the user that the record beside the movie could not be written.
// The logic calls through this interface so that it runs in tests without a window.
// Thread: UI.

class RecordFailureNotice_CL {
public:
    virtual ~RecordFailureNotice_CL() = default;
    // Sharing or unsharing failed; the record stays bound where it was.
    virtual void ShowShareWriteFailure() = 0;
};

#pragma once
// What adding tags needs of the main window: the window that owns the dialog, the movie now
// loaded and its content record, and the modal-dialog flag. The main window implements it.
// Thread: UI for every call.

#include <windows.h>

#include <string>

class AlbumTagsHost_CL {
public:
    virtual ~AlbumTagsHost_CL() = default;

    // The owner of the tag dialog (the player's main window); also the notice's sender.
    virtual HWND OwnerWindow() const = 0;
    // The full path of the movie now loaded; empty when none is.
    virtual std::wstring LoadedMoviePath() const = 0;
    // The content record the loaded movie is bound to; empty when it has none.
    virtual std::wstring LoadedRecordPath() const = 0;
    // A modal dialog of ours is open (playback's tick then leaves the window alone).
    virtual void SetModalDialogOpen(bool open) = 0;
};

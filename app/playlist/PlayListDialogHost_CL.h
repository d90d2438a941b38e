#pragma once
// What the play list dialog asks of the main window: playing the list's entry at its next
// index, the movie now loaded, closing it before its file is deleted, file intake for what is
// dropped on the dialog, and the row records. The main window implements it.
// Thread: UI for every call.

#include <windows.h>

#include <string>
#include <vector>

class PlayListDialogHost_CL {
public:
    virtual ~PlayListDialogHost_CL() = default;

    // Loads the play list's entry at its next index (the list becomes the source of what
    // plays, and playing on goes on after it).
    virtual void PlayListCurrentEntry() = 0;
    // The full path of the movie now loaded; empty when none is.
    virtual std::wstring LoadedMoviePath() const = 0;
    // Closes the movie now loaded and stops whatever reads its file (the thumbnail worker);
    // once the file is let go, posts message to window.
    virtual void CloseContentThenPost(HWND window, UINT message) = 0;
    // File intake for a play list, an archive or a folder dropped on the dialog: its entries
    // are appended to the play list; nothing starts playing.
    virtual void TakeInWhole(const std::wstring& path) = 0;
    // The extensions a dropped file may have to become a row (lower case, with the dot).
    virtual std::vector<std::wstring> PlayableExtensions() = 0;
    // A row's content record, read without creating one: its name and star rating.
    virtual bool ReadRowRecord(const std::wstring& moviePath, std::wstring* contentName, int* starCount) = 0;
    // A modal dialog of ours (the save dialog, a message) is open.
    virtual void SetModalDialogOpen(bool open) = 0;
};

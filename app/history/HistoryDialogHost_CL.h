#pragma once
// What the history dialog asks of the main window: playing a file, the movie now loaded,
// closing it before its file is deleted, the rows' records and the modal-dialog flag. The
// main window implements it.
// Thread: UI for every call.

#include <windows.h>

#include <string>

class HistoryDialogHost_CL {
public:
    virtual ~HistoryDialogHost_CL() = default;

    // Plays the file (file intake: a play list or archive is read as a whole).
    virtual void PlayHistoryPath(const std::wstring& path) = 0;
    // The full path of the movie now loaded; empty when none is.
    virtual std::wstring LoadedMoviePath() const = 0;
    // Closes the movie now loaded and stops whatever reads its file; once the file is let
    // go, posts message to window.
    virtual void CloseContentThenPost(HWND window, UINT message) = 0;
    // A row's content record, read without creating one: its title and star rating.
    virtual bool ReadRowRecord(const std::wstring& moviePath, std::wstring* contentName, int* starCount) = 0;
    // A modal dialog of ours (a question, a menu) is open.
    virtual void SetModalDialogOpen(bool open) = 0;
};

#pragma once
// Saving the play list from its dialog: the save dialog with the four list formats, the
// notice that archive entries stay out, and the file written in the format its extension
// names (atomically: a failed save keeps the old file).
// Thread: UI.

#include <windows.h>

#include <functional>
#include <string>

class PlayList_CL;

// The save dialog's filter: text lists, then the three ASX forms; NUL-separated pairs ending
// with two NULs.
std::wstring PlayListSaveFilter();

// The user's words after a save: empty when there is nothing to say (saved whole, or
// cancelled); otherwise the message for the user.
std::wstring SaveResultText(HRESULT hr, int leftOut);

// The save dialog for unpacking an archive entry elsewhere, proposing the entry's file name:
// false when the user cancelled.
bool AskForUnpackPath(HWND owner, const std::wstring& fileName, std::wstring* path);

// Asks where to save and saves. setModal is told while a dialog or message of ours is open.
// Returns the path written, empty when nothing was.
std::wstring SavePlayListWithDialog(HWND owner, const PlayList_CL& list,
                                    const std::function<void(bool)>& setModal);

#pragma once
// Play list files read into and written from the play list: the text list and the ASX list
// on disk. Saving writes a temporary file beside the target and moves it into place, so a
// failed save leaves the old list as it was.
// Thread: UI (the play list is the UI thread's).

#include <windows.h>

#include <string>

class PlayList_CL;

// Appends the text list's lines as entries (an unreadable file appends nothing), sets the
// several-items flag when the list then holds more than one and the changed flag; returns the
// entry count afterwards. Lines skipped as unreadable are counted in *skipped when given.
size_t ReadTextListFile(const std::wstring& path, PlayList_CL& list, int* skipped = nullptr);

// Saves the entries that are not inside an archive. *leftOut: the paths the text list could
// not hold (code page 932), which are not written.
HRESULT WriteTextListFile(const std::wstring& path, const PlayList_CL& list, int* leftOut);
HRESULT WriteAsxListFile(const std::wstring& path, const PlayList_CL& list);

#pragma once
// What the list item menus of the play list and history dialogs do to a row's file: show it
// in its folder, and delete movie files. Folders are never deleted: an entry may stand for a
// folder dropped among other paths, and the shell would delete it whole.
// Thread: UI.

#include <windows.h>

#include <string>
#include <vector>

// The file manager's parameters that open the path's folder with the path selected. The path
// is quoted, so commas and spaces in it select the right item and a path cannot add switches.
std::wstring SelectInFolderParameters(const std::wstring& path);

// Starts the file manager of the Windows folder on the path's folder, the path selected.
void OpenContainingFolder(const std::wstring& path);

// The paths that name existing regular files (not folders, not devices), in order.
std::vector<std::wstring> DeletableFiles(const std::vector<std::wstring>& paths);

// Deletes the deletable files among paths in one shell operation (into the recycle bin with
// allowUndo); *deleted: those gone afterwards. S_OK, or the operation's failure; a failure
// too when a file is still there afterwards (held open by another program).
HRESULT DeleteMovieFiles(HWND owner, const std::vector<std::wstring>& paths, bool allowUndo,
                         std::vector<std::wstring>* deleted);

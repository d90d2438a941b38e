#pragma once
// The open-file dialog: its filter and what its answer leaves to remember (pure text), and
// the dialog itself.

#include <windows.h>

#include <string>
#include <vector>

// "動画ファイル" with every playable extension, then "すべてのファイル"; the pairs are
// NUL-separated and the whole ends with two NULs, as the common dialog reads it. Extensions
// may come with or without their dot; empty ones and ones holding filter separators are left
// out.
std::wstring OpenFileFilter(const std::vector<std::wstring>& extensions);

// The folder part of a chosen file's path ("C:\a\b.avi" -> "C:\a", "C:\b.avi" -> "C:\"),
// empty when the path has no folder.
std::wstring FolderOfChosenFile(const std::wstring& path);

// Thread: UI. The common open dialog over owner, with the filter above and starting in
// initialFolder (the system's choice when empty): true and the chosen file's path, or false
// when the user cancelled or the dialog failed (logged).
bool AskForMovieFile(HWND owner, const std::wstring& filter, const std::wstring& initialFolder, std::wstring* path);

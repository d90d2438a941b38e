#pragma once
// The open-file dialog's filter and what the dialog's answer leaves to remember. Pure text.

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

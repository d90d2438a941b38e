#pragma once
// Names that files and other programs see: INI sections and keys of file intake, the file name
// of the drop-extension list, and the extensions that name play lists and archives.

// The drop-extension list beside the program; the player only reads it.
constexpr wchar_t kDropExtFileName[] = L"LumikinoDropFileExt.ini";
constexpr wchar_t kDropExtSection[] = L"DROP_EXT_INFO";
constexpr wchar_t kDropExtCountKey[] = L"count";
constexpr wchar_t kDropExtItemStem[] = L"item";  // "item0", "item1", ...

// The last path given to the player, kept by the main window in its settings file.
constexpr wchar_t kLastInputSection[] = L"LAST_INPUT";
constexpr wchar_t kLastInputPathKey[] = L"path";

// Extensions (lower case, with the dot) that are read as a whole rather than played.
constexpr wchar_t kExtAsx[] = L".asx";
constexpr wchar_t kExtWvx[] = L".wvx";
constexpr wchar_t kExtWax[] = L".wax";
constexpr wchar_t kExtTextList[] = L".playlist";
constexpr wchar_t kExtZip[] = L".zip";

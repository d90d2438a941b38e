#pragma once
// What the association helper accepts from a request file before it writes anything with
// administrator rights. The request lies in the user's Documents folder, where any program of
// the user can write; so the helper registers only the player beside itself, only under this
// program's name, and never touches the handlers of program types.
// Pure: strings in, decisions out. Thread: any.

#include <string>

#include "assoc/AssocItem.h"

// An item "extension,handler" split at its first comma. False for an item without a comma:
// it names no handler, and taking the whole text as both would write nonsense keys.
bool SplitAssocItem(const std::wstring& item, std::wstring* extension, std::wstring* handler);

// An extension the helper may associate: starts with "." and has more after it, holds no "\"
// (it would name a sub-key) and no control character, and is not the extension of a program,
// script, shortcut or other type the shell runs (compared without regard to case).
bool IsAllowedExtension(const std::wstring& extension);

// A handler class name the helper may set: no "\" and no control character; may be empty.
bool IsAllowedHandler(const std::wstring& handler);

// One raw item value as the request holds it: split (SplitAssocItem) and checked
// (IsAllowedExtension, IsAllowedHandler). False for an empty item and any item refused.
bool AcceptAssocItem(const std::wstring& raw, AssocItem* item);

// The icon suffix: empty, or "," followed by an optional "-" and decimal digits.
bool IsAllowedIconSuffix(const std::wstring& suffix);

// True when the two folder paths name the same folder, letters compared without regard to case
// and trailing separators ignored. Both are expected as full paths.
bool SameFolder(const std::wstring& a, const std::wstring& b);

// The folder part of a path: the text before its last "\" ("" when there is none).
std::wstring FolderPart(const std::wstring& path);

// The open command the player receives the file by: "exe" "%1".
std::wstring OpenCommandFor(const std::wstring& exePath);

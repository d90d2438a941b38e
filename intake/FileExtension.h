#pragma once
// The extension rule every part of file intake shares, and the other small path rules of the
// play list. Pure: no file system access.
// Thread: any.

#include <string>

// The text from the last "." anywhere in the path to its end, the dot included; "" when the
// path has no dot. A dot in a folder name counts: "D:\v1.2\movie" gives ".2\movie", so such
// a file never matches a listed extension.
std::wstring ExtensionOf(const std::wstring& path);

// The text lower-cased the same way on every machine (invariant locale), for comparisons.
std::wstring LowerText(const std::wstring& text);

// ExtensionOf(path) lower-cased: the form every extension comparison uses.
std::wstring LowerExtensionOf(const std::wstring& path);

// The last component: the text after the last "\" or "/" (the whole path when there is none).
std::wstring FileNameOf(const std::wstring& path);

// The path without its last component and separator ("" when there is no separator).
std::wstring FolderOf(const std::wstring& path);

// The name a play list row shows: the file name without the text from its last dot on.
std::wstring DisplayNameOf(const std::wstring& path);

// How a path is taken in by its (lower-case) extension.
enum class IntakeKind {
    AsxList,   // ".asx", ".wvx", ".wax": an XML play list read into the list
    TextList,  // ".playlist": a text play list read into the list
    Archive,   // ".zip": its movie entries are listed
    Movie,     // anything else
};
IntakeKind IntakeKindOfExtension(const std::wstring& lowerExtension);

// True for the extensions of play lists and archives, which are loaded as a whole.
inline bool IsListOrArchiveExtension(const std::wstring& lowerExtension) {
    return IntakeKindOfExtension(lowerExtension) != IntakeKind::Movie;
}

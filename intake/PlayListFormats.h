#pragma once
// The two play list file formats as bytes: the plain text list (".playlist": code page 932,
// one full path per line, CR LF) and the ASX list (".asx", ".wvx", ".wax": UTF-16 LE with its
// byte-order mark, lines ending with one LF). Entries inside an archive are never written:
// their unpacked copies are temporary. Reading the ASX list is the ASX reader's.
// Thread: any.

#include <string>
#include <vector>

#include "intake/PlayListItem.h"

// The longest line of a text list read, in characters.
constexpr size_t kTextListLineLimit = 2047;

// The text list of the entries, and how many entries were left out because code page 932
// cannot hold their path (a wrong path is never written; the ASX list keeps such paths).
struct TextListBytes {
    std::string bytes;
    int leftOut = 0;
};
TextListBytes MakeTextList(const std::vector<PlayListItem>& items);

// The paths of a text list, one per line, an empty line giving an empty path. A line longer
// than kTextListLineLimit or whose bytes are not valid code page 932 is skipped and counted in
// *skipped (when given), and reading goes on.
std::vector<std::wstring> ParseTextList(const std::string& bytes, int* skipped = nullptr);

// The ASX list of the entries, byte for byte: the byte-order mark, the header line, an entry
// of title and ref per entry, "</asx>".
std::string MakeAsxList(const std::vector<PlayListItem>& items);

// XML escaping in one pass: " & ' < > become &quot; &amp; &apos; &lt; &gt;.
std::wstring XmlEscape(const std::wstring& text);

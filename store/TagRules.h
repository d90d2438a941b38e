#pragma once
// Tags of a movie and the album's tag history: how the text the user typed becomes words, and
// how each word joins the movie's tags and the history. The album application reads the same
// lists, so the limits below are shared with it.
// Pure: no files, no windows. Thread: any.

#include <cstddef>
#include <string>
#include <vector>

constexpr size_t kTagMaxChars = 32;        // a longer tag keeps its first 32 characters
constexpr size_t kMovieTagMax = 20;        // tags one movie holds
constexpr size_t kTagHistoryMax = 100;     // entries of an album's tag history
constexpr size_t kTagInputWordMax = 20;    // words taken from one input; the rest are ignored
constexpr wchar_t kIdeographicSpace = 0x3000;

// True for the characters that end a word of the input: U+0020 and below, "&" and U+3000.
bool IsTagInputBreak(wchar_t ch);
// True for the characters that end a piece of a word: U+0020 and below and U+3000.
bool IsTagPieceBreak(wchar_t ch);

// The first kTagMaxChars characters of text. A surrogate pair the limit would split is left out
// whole, so a cut tag is never half a character.
std::wstring CutTag(const std::wstring& text);

// The words of an input: split at every IsTagInputBreak character, empty words skipped, at
// most the first kTagInputWordMax kept.
std::vector<std::wstring> SplitTagInput(const std::wstring& input);

// Adds a word to a movie's tags: the word is split again at IsTagPieceBreak characters; each
// piece, cut with CutTag, is appended when no equal tag (exact, case-sensitive) is there yet and
// the movie has fewer than kMovieTagMax tags. Returns how many tags were appended.
size_t AddMovieTag(std::vector<std::wstring>& tags, const std::wstring& word);

// Adds a word to the front of a tag history: cut with CutTag; an empty word changes nothing;
// equal entries are removed; when kTagHistoryMax or more entries remain, the one at index
// kTagHistoryMax - 1 goes (and any behind it, so a list that came in too long is brought back
// to the limit). Returns false when the word was empty.
bool AddHistoryTag(std::vector<std::wstring>& history, const std::wstring& word);

// One whole input: each of its words in turn goes to the movie's tags, then to the history.
void ApplyTagInput(const std::wstring& input, std::vector<std::wstring>& tags,
                   std::vector<std::wstring>& history);

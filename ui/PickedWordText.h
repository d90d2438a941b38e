#pragma once
// The text of the tag input after a word button was clicked. Pure: no windows.

#include <string>

inline constexpr wchar_t kPickedWordSeparator = L' ';

// A separator goes between the input and the word when the input is not empty and does
// not already end in a blank or control character (U+0020 and below) or the separator.
// The result is cut to limitCharacters (0: no limit), as typing would be.
std::wstring AppendPickedWord(const std::wstring& input, const std::wstring& word, size_t limitCharacters);

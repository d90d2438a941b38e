#include "store/TagRules.h"

#include <algorithm>

namespace {

bool IsHighSurrogate(wchar_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }

template <typename IsBreak>
std::vector<std::wstring> SplitAt(const std::wstring& text, IsBreak isBreak, size_t maxWords) {
    std::vector<std::wstring> words;
    size_t start = 0;
    for (size_t i = 0; i <= text.size() && words.size() < maxWords; ++i) {
        if (i < text.size() && !isBreak(text[i])) continue;
        if (i > start) words.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    return words;
}

}  // namespace

bool IsTagInputBreak(wchar_t ch) { return ch <= L' ' || ch == L'&' || ch == kIdeographicSpace; }

bool IsTagPieceBreak(wchar_t ch) { return ch <= L' ' || ch == kIdeographicSpace; }

std::wstring CutTag(const std::wstring& text) {
    if (text.size() <= kTagMaxChars) return text;
    size_t length = kTagMaxChars;
    if (IsHighSurrogate(text[length - 1])) --length;
    return text.substr(0, length);
}

std::vector<std::wstring> SplitTagInput(const std::wstring& input) {
    return SplitAt(input, IsTagInputBreak, kTagInputWordMax);
}

size_t AddMovieTag(std::vector<std::wstring>& tags, const std::wstring& word) {
    size_t added = 0;
    for (const std::wstring& piece : SplitAt(word, IsTagPieceBreak, word.size())) {
        if (tags.size() >= kMovieTagMax) break;
        std::wstring tag = CutTag(piece);
        if (std::find(tags.begin(), tags.end(), tag) != tags.end()) continue;
        tags.push_back(std::move(tag));
        ++added;
    }
    return added;
}

bool AddHistoryTag(std::vector<std::wstring>& history, const std::wstring& word) {
    std::wstring tag = CutTag(word);
    if (tag.empty()) return false;
    // A hand-edited file may hold the same tag twice; none of them may stay behind the new one.
    history.erase(std::remove(history.begin(), history.end(), tag), history.end());
    if (history.size() >= kTagHistoryMax) {
        history.erase(history.begin() + (kTagHistoryMax - 1), history.end());
    }
    history.insert(history.begin(), std::move(tag));
    return true;
}

void ApplyTagInput(const std::wstring& input, std::vector<std::wstring>& tags,
                   std::vector<std::wstring>& history) {
    for (const std::wstring& word : SplitTagInput(input)) {
        AddMovieTag(tags, word);
        AddHistoryTag(history, word);
    }
}

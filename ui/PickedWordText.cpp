#include "ui/PickedWordText.h"

std::wstring AppendPickedWord(const std::wstring& input, const std::wstring& word, size_t limitCharacters) {
    std::wstring text = input;
    if (!text.empty() && text.back() > L' ' && text.back() != kPickedWordSeparator) {
        text.push_back(kPickedWordSeparator);
    }
    text += word;
    if (limitCharacters > 0 && text.size() > limitCharacters) text.resize(limitCharacters);
    return text;
}

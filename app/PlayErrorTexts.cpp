#include "app/PlayErrorTexts.h"

#include <cwchar>

std::wstring PlayErrorCaption(unsigned code) {
    wchar_t caption[64] = {};
    std::swprintf(caption, sizeof(caption) / sizeof(caption[0]), kPlayErrorCaptionFormat, code);
    return caption;
}

std::wstring MediaPlayerPathIn(const std::wstring& programFiles) {
    if (programFiles.empty()) return std::wstring();
    std::wstring path = programFiles;
    if (path.back() == L'\\') path.pop_back();
    return path + kMediaPlayerRelativePath;
}

std::wstring QuoteCommandLineArgument(const std::wstring& argument) {
    // Readers of a command line take 2n backslashes before a quote as n backslashes and an
    // opening or closing quote, 2n+1 as n backslashes and a literal quote; backslashes
    // anywhere else stand for themselves.
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t ch : argument) {
        if (ch == L'\\') {
            ++backslashes;
            continue;
        }
        if (ch == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted.push_back(ch);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

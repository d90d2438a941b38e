#include "intake/PlayListFormats.h"

#include <windows.h>

namespace {
constexpr UINT kJapaneseCodePage = 932;

// The path in code page 932, or false when a character has no exact form there.
bool ToCodePage932(const std::wstring& text, std::string* bytes) {
    bytes->clear();
    if (text.empty()) return true;
    BOOL usedDefault = FALSE;
    const int size = ::WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return false;
    bytes->resize(static_cast<size_t>(size));
    ::WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                          bytes->data(), size, nullptr, &usedDefault);
    if (usedDefault) return false;
    // A round trip must give the path back (no character mapped to a look-alike).
    const int back = ::MultiByteToWideChar(kJapaneseCodePage, MB_ERR_INVALID_CHARS, bytes->data(), size, nullptr, 0);
    if (back != static_cast<int>(text.size())) return false;
    std::wstring again(static_cast<size_t>(back), L'\0');
    ::MultiByteToWideChar(kJapaneseCodePage, MB_ERR_INVALID_CHARS, bytes->data(), size, again.data(), back);
    return again == text;
}

// A line of code page 932 bytes, or false when they are not valid there.
bool FromCodePage932(const char* data, size_t length, std::wstring* text) {
    text->clear();
    if (length == 0) return true;
    const int units = ::MultiByteToWideChar(kJapaneseCodePage, MB_ERR_INVALID_CHARS, data, static_cast<int>(length),
                                            nullptr, 0);
    if (units <= 0) return false;
    text->resize(static_cast<size_t>(units));
    return ::MultiByteToWideChar(kJapaneseCodePage, MB_ERR_INVALID_CHARS, data, static_cast<int>(length), text->data(),
                                 units) == units;
}

void AppendUtf16Line(const std::wstring& line, std::string* bytes) {
    for (wchar_t unit : line + L"\n") {
        bytes->push_back(static_cast<char>(unit & 0xFF));
        bytes->push_back(static_cast<char>((unit >> 8) & 0xFF));
    }
}
}  // namespace

TextListBytes MakeTextList(const std::vector<PlayListItem>& items) {
    TextListBytes list;
    std::string line;
    for (const PlayListItem& item : items) {
        if (item.inArchive) continue;
        if (!ToCodePage932(item.path, &line)) {
            ++list.leftOut;
            continue;
        }
        list.bytes += line;
        list.bytes += "\r\n";
    }
    return list;
}

std::vector<std::wstring> ParseTextList(const std::string& bytes, int* skipped) {
    std::vector<std::wstring> paths;
    int skippedLines = 0;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        size_t length = end - start;
        if (length > 0 && bytes[start + length - 1] == '\r') --length;  // the text mode's CR LF
        std::wstring path;
        if (FromCodePage932(bytes.data() + start, length, &path) && path.size() <= kTextListLineLimit) {
            paths.push_back(std::move(path));
        } else {
            ++skippedLines;
        }
        start = next;
    }
    if (skipped) *skipped = skippedLines;
    return paths;
}

std::wstring XmlEscape(const std::wstring& text) {
    std::wstring escaped;
    escaped.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
            case L'"': escaped += L"&quot;"; break;
            case L'&': escaped += L"&amp;"; break;
            case L'\'': escaped += L"&apos;"; break;
            case L'<': escaped += L"&lt;"; break;
            case L'>': escaped += L"&gt;"; break;
            default: escaped += c; break;
        }
    }
    return escaped;
}

std::string MakeAsxList(const std::vector<PlayListItem>& items) {
    std::string bytes = "\xFF\xFE";
    AppendUtf16Line(L"<asx version = \"3.0\" >", &bytes);
    for (const PlayListItem& item : items) {
        if (item.inArchive) continue;
        const std::wstring href = XmlEscape(item.path);
        const size_t slash = href.find_last_of(L'\\');
        const std::wstring title = slash == std::wstring::npos ? href : href.substr(slash + 1);
        AppendUtf16Line(L"\t<entry>", &bytes);
        AppendUtf16Line(L"\t\t<title>" + title + L"</title>", &bytes);
        AppendUtf16Line(L"\t\t<ref href = \"" + href + L"\" />", &bytes);
        AppendUtf16Line(L"\t</entry>", &bytes);
    }
    AppendUtf16Line(L"</asx>", &bytes);
    return bytes;
}

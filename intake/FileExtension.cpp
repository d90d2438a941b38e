#include "intake/FileExtension.h"

#include <windows.h>

#include "intake/IntakeKeys.h"

namespace {
size_t LastSeparator(const std::wstring& path) {
    return path.find_last_of(L"\\/");
}
}  // namespace

std::wstring ExtensionOf(const std::wstring& path) {
    size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos) return std::wstring();
    return path.substr(dot);
}

std::wstring LowerText(const std::wstring& text) {
    if (text.empty()) return text;
    std::wstring lower(text);
    // Invariant mapping, so that an extension compares alike whatever the user's locale is;
    // it also lowers full-width letters.
    int units = ::LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, text.c_str(),
                               static_cast<int>(text.size()), &lower[0],
                               static_cast<int>(lower.size()));
    if (units != static_cast<int>(text.size())) {
        // Lowering never changes the length here; should the platform refuse, fall back to ASCII.
        lower = text;
        for (wchar_t& c : lower) {
            if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return lower;
}

std::wstring LowerExtensionOf(const std::wstring& path) {
    return LowerText(ExtensionOf(path));
}

std::wstring FileNameOf(const std::wstring& path) {
    size_t separator = LastSeparator(path);
    if (separator == std::wstring::npos) return path;
    return path.substr(separator + 1);
}

std::wstring FolderOf(const std::wstring& path) {
    size_t separator = LastSeparator(path);
    if (separator == std::wstring::npos) return std::wstring();
    return path.substr(0, separator);
}

std::wstring DisplayNameOf(const std::wstring& path) {
    std::wstring name = FileNameOf(path);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

IntakeKind IntakeKindOfExtension(const std::wstring& lowerExtension) {
    if (lowerExtension == kExtAsx || lowerExtension == kExtWvx || lowerExtension == kExtWax) {
        return IntakeKind::AsxList;
    }
    if (lowerExtension == kExtTextList) return IntakeKind::TextList;
    if (lowerExtension == kExtZip) return IntakeKind::Archive;
    return IntakeKind::Movie;
}

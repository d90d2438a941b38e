#include "assoc/helper/AssocRules.h"

#include <windows.h>

#include <algorithm>

namespace {
// Types the shell runs rather than opens: giving one of them to a movie player would break
// it, and handing one "back" to a handler named in a writable file could make any such file
// run as something else.
constexpr const wchar_t* kProgramExtensions[] = {
    L".exe", L".com", L".bat", L".cmd", L".scr", L".pif", L".lnk", L".msi", L".ps1", L".vbs", L".js",
    L".jse", L".vbe", L".wsf", L".wsh", L".hta", L".cpl", L".msc", L".jar", L".reg", L".dll", L".sys"};

bool HasControl(const std::wstring& text) {
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x20 || c == 0x7F; });
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
}
}  // namespace

bool SplitAssocItem(const std::wstring& item, std::wstring* extension, std::wstring* handler) {
    const size_t comma = item.find(L',');
    if (comma == std::wstring::npos) return false;
    *extension = item.substr(0, comma);
    *handler = item.substr(comma + 1);
    return true;
}

bool IsAllowedExtension(const std::wstring& extension) {
    if (extension.size() < 2 || extension[0] != L'.') return false;
    if (extension.find(L'\\') != std::wstring::npos || HasControl(extension)) return false;
    for (const wchar_t* program : kProgramExtensions) {
        if (EqualNoCase(extension, program)) return false;
    }
    return true;
}

bool IsAllowedHandler(const std::wstring& handler) {
    return handler.find(L'\\') == std::wstring::npos && !HasControl(handler);
}

bool AcceptAssocItem(const std::wstring& raw, AssocItem* item) {
    AssocItem split;
    if (raw.empty() || !SplitAssocItem(raw, &split.extension, &split.handler)) return false;
    if (!IsAllowedExtension(split.extension) || !IsAllowedHandler(split.handler)) return false;
    *item = std::move(split);
    return true;
}

bool IsAllowedIconSuffix(const std::wstring& suffix) {
    if (suffix.empty()) return true;
    if (suffix[0] != L',') return false;
    size_t at = 1;
    if (at < suffix.size() && suffix[at] == L'-') ++at;
    if (at == suffix.size()) return false;
    for (; at < suffix.size(); ++at) {
        if (suffix[at] < L'0' || suffix[at] > L'9') return false;
    }
    return true;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    const std::wstring left = WithoutTrailingSeparators(a);
    const std::wstring right = WithoutTrailingSeparators(b);
    return !left.empty() && EqualNoCase(left, right);
}

std::wstring FolderPart(const std::wstring& path) {
    const size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::wstring OpenCommandFor(const std::wstring& exePath) { return L"\"" + exePath + L"\" \"%1\""; }

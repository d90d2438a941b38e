#include "assoc/AssocRequest.h"

#include <windows.h>

#include <algorithm>

#include "assoc/AssocKeys.h"

namespace {
constexpr UINT kJapaneseCodePage = 932;

bool IsControl(wchar_t c) { return c < 0x20 || c == 0x7F; }

// Lower case the same on every machine (invariant locale), as the extension list compares.
std::wstring Lower(const std::wstring& text) {
    if (text.empty()) return text;
    std::wstring lower(text);
    ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.c_str(), static_cast<int>(text.size()), &lower[0],
                    static_cast<int>(lower.size()), nullptr, nullptr, 0);
    return lower;
}

void AppendLine(std::wstring& text, const std::wstring& line) {
    text += line;
    text += L"\r\n";
}
}  // namespace

bool IsRequestSafeName(const std::wstring& name) {
    for (wchar_t c : name) {
        if (IsControl(c)) return false;
        switch (c) {
            case L'[':
            case L']':
            case L'=':
            case L',':
            case L';':
            case L'\\':
                return false;
            default:
                break;
        }
    }
    return true;
}

bool EncodeCodePage932(const std::wstring& text, std::string* bytes) {
    bytes->clear();
    if (text.empty()) return true;
    const int units = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size = ::WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, text.data(), units, nullptr, 0,
                                           nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return false;
    std::string encoded(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, text.data(), units, &encoded[0], size, nullptr,
                          &usedDefault);
    if (usedDefault) return false;
    // The default-character flag misses characters the table maps one way only; reading the
    // bytes back must give the text itself.
    const int back = ::MultiByteToWideChar(kJapaneseCodePage, MB_ERR_INVALID_CHARS, encoded.data(), size, nullptr, 0);
    if (back != units) return false;
    std::wstring decoded(static_cast<size_t>(back), L'\0');
    ::MultiByteToWideChar(kJapaneseCodePage, MB_ERR_INVALID_CHARS, encoded.data(), size, &decoded[0], back);
    if (decoded != text) return false;
    *bytes = std::move(encoded);
    return true;
}

bool FormatAssocRequest(const std::wstring& exePath, const std::vector<AssocItem>& items, AssocRequestText* out) {
    *out = AssocRequestText();
    if (exePath.empty() || exePath.size() > kAssocMaxExeUnits) return false;
    if (std::any_of(exePath.begin(), exePath.end(), IsControl)) return false;
    std::string unused;
    if (!EncodeCodePage932(exePath, &unused)) return false;

    std::wstring text;
    AppendLine(text, std::wstring(L"[") + kAssocAppSection + L"]");
    AppendLine(text, std::wstring(kAssocAppKey) + L"=" + kAssocAppName);
    AppendLine(text, std::wstring(kAssocExeKey) + L"=" + exePath);
    AppendLine(text, std::wstring(kAssocIconKey) + L"=" + kAssocIconSuffix);
    AppendLine(text, std::wstring(kAssocDescKey) + L"=" + kAssocDescription);
    AppendLine(text, std::wstring(L"[") + kAssocExtSection + L"]");
    AssocRequestText result;
    for (const AssocItem& item : items) {
        std::string check;
        if (item.extension.empty() || !IsRequestSafeName(item.extension) || !IsRequestSafeName(item.handler) ||
            !EncodeCodePage932(item.extension, &check) || !EncodeCodePage932(item.handler, &check)) {
            ++result.skippedCount;
            continue;
        }
        AppendLine(text, kAssocItemStem + std::to_wstring(result.itemCount) + L"=" + item.extension + L"," + item.handler);
        ++result.itemCount;
    }
    AppendLine(text, std::wstring(kAssocCountKey) + L"=" + std::to_wstring(result.itemCount));
    if (!EncodeCodePage932(text, &result.bytes)) return false;  // every part was checked above
    *out = std::move(result);
    return true;
}

std::vector<AssocItem> ApplyCheckStates(std::vector<LaunchExtension>& records, const std::vector<bool>& checked,
                                        std::vector<int>* changedRows) {
    std::vector<AssocItem> items;
    if (changedRows) changedRows->clear();
    const size_t rows = std::min(records.size(), checked.size());
    for (size_t row = 0; row < rows; ++row) {
        LaunchExtension& record = records[row];
        if (checked[row] == record.associated) continue;
        record.associated = checked[row];
        record.currentHandler = record.associated ? std::wstring(kAssocAppName) : record.savedHandler;
        items.push_back(AssocItem{record.extension, record.currentHandler});
        if (changedRows) changedRows->push_back(static_cast<int>(row));
    }
    return items;
}

std::vector<AssocItem> HandBackItems(std::vector<LaunchExtension>& records) {
    std::vector<AssocItem> items;
    for (LaunchExtension& record : records) {
        record.associated = false;
        record.currentHandler = record.savedHandler;
        items.push_back(AssocItem{record.extension, record.currentHandler});
    }
    return items;
}

std::vector<AssocItem> RegisterAllItems(std::vector<LaunchExtension>& records,
                                        const std::vector<std::wstring>& dropExtensions) {
    std::vector<AssocItem> items = HandBackItems(records);
    std::vector<std::wstring> named;
    for (const LaunchExtension& record : records) named.push_back(Lower(record.extension));
    for (const std::wstring& extension : dropExtensions) {
        const std::wstring lower = Lower(extension);
        if (lower.empty() || std::find(named.begin(), named.end(), lower) != named.end()) continue;
        named.push_back(lower);
        items.push_back(AssocItem{lower, std::wstring()});
    }
    return items;
}

#include "intake/ListRowText.h"

#include <cstdio>

std::wstring SizeText(int64_t size, bool folder) {
    if (folder) return L"<dir>";
    if (size < 0) return kUnknownCellText;
    const std::wstring digits = std::to_wstring(size);
    std::wstring text;
    text.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += L',';
        text += digits[i];
    }
    return text;
}

std::wstring TimeText(const SYSTEMTIME& localTime) {
    wchar_t text[32];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%04d/%02d/%02d %02d:%02d:%02d", localTime.wYear,
                  localTime.wMonth, localTime.wDay, localTime.wHour, localTime.wMinute, localTime.wSecond);
    return text;
}

std::wstring TimeTextOfFileTime(uint64_t fileTime) {
    if (fileTime == 0) return kUnknownCellText;
    FILETIME utc{static_cast<DWORD>(fileTime & 0xFFFFFFFFu), static_cast<DWORD>(fileTime >> 32)};
    FILETIME local{};
    SYSTEMTIME time{};
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &time)) return kUnknownCellText;
    return TimeText(time);
}

#pragma once
// The cell texts of the play list and history rows (the stars are StarText of the record):
// the size with its thousands separated, the modification time as local date and time.
// Pure apart from TimeTextOfFileTime, which reads the time zone.
// Thread: any.

#include <windows.h>

#include <cstdint>
#include <string>

// Shown for a size or a time that could not be read.
constexpr wchar_t kUnknownCellText[] = L"?????";

// "<dir>" for a folder; a negative size is unknown; otherwise the bytes with a comma before
// every group of three digits from the right ("1,234,567").
std::wstring SizeText(int64_t size, bool folder = false);

// "2026/12/08 15:16:05".
std::wstring TimeText(const SYSTEMTIME& localTime);

// A FILETIME (UTC) as one number, shown in local time; 0 (not read) is unknown.
std::wstring TimeTextOfFileTime(uint64_t fileTime);

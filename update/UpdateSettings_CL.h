#pragma once
// The version check's keys of section VERSION in the settings file. Only notify is held in the
// settings record; force, last_day, next_version and next_notify are read and written here,
// where they are used, each at once (write-through, like every other setting).
//
// Thread: UI for every read and write (the settings file belongs to the UI thread).

#include <cstdint>
#include <string>

#include "store/Inifile_CL.h"

inline constexpr wchar_t kVersionSection[] = L"VERSION";
inline constexpr wchar_t kKeyNotify[] = L"notify";
inline constexpr wchar_t kKeyForce[] = L"force";
inline constexpr wchar_t kKeyLastDay[] = L"last_day";
inline constexpr wchar_t kKeyNextVersion[] = L"next_version";
inline constexpr wchar_t kKeyNextNotify[] = L"next_notify";
inline constexpr wchar_t kDefaultNextVersion[] = L"0.0.0.0";

class UpdateSettings_CL {
public:
    // The settings file at path (a temporary one in tests).
    explicit UpdateSettings_CL(const std::wstring& settingsPath);
    // The process's settings file, as the settings load bound it.
    static UpdateSettings_CL ForProcess();

    const std::wstring& Path() const { return m_file.Path(); }

    int Notify() const;
    int Force() const;
    int LastDay() const;
    std::wstring NextVersion() const;
    int64_t NextNotify() const;  // seconds since 1970

    void WriteLastDay(int day) const;
    void WriteNextVersion(const std::wstring& version) const;
    void WriteNextNotify(int64_t seconds) const;

private:
    Inifile_CL m_file;
};

#pragma once
// Every key of an INI file as the profile functions read it, for comparing a file before and
// after a change by section and key (the profile functions lay the file out themselves, so
// bytes say little).

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

using IniMap = std::map<std::pair<std::wstring, std::wstring>, std::wstring>;

inline std::vector<std::wstring> SplitProfileList(const std::vector<wchar_t>& buffer, DWORD length) {
    std::vector<std::wstring> items;
    for (DWORD i = 0; i < length;) {
        std::wstring item(&buffer[i]);
        if (item.empty()) break;
        i += static_cast<DWORD>(item.size()) + 1;
        items.push_back(item);
    }
    return items;
}

inline IniMap ReadIniMap(const std::wstring& path) {
    IniMap map;
    std::vector<wchar_t> names(65536);
    const DWORD namesLength = ::GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    for (const std::wstring& section : SplitProfileList(names, namesLength)) {
        std::vector<wchar_t> lines(65536);
        const DWORD length =
            ::GetPrivateProfileSectionW(section.c_str(), lines.data(), static_cast<DWORD>(lines.size()), path.c_str());
        for (const std::wstring& line : SplitProfileList(lines, length)) {
            const size_t equals = line.find(L'=');
            if (equals == std::wstring::npos) continue;
            map[{section, line.substr(0, equals)}] = line.substr(equals + 1);
        }
    }
    return map;
}

// The keys whose values differ between two readings (added, removed or changed).
inline std::vector<std::pair<std::wstring, std::wstring>> ChangedKeys(const IniMap& before, const IniMap& after) {
    std::vector<std::pair<std::wstring, std::wstring>> changed;
    for (const auto& [key, value] : after) {
        auto old = before.find(key);
        if (old == before.end() || old->second != value) changed.push_back(key);
    }
    for (const auto& [key, value] : before) {
        if (!after.count(key)) changed.push_back(key);
    }
    return changed;
}

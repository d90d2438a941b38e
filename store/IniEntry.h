#pragma once
// One key of an INI file as text: what a whole-file rewrite writes, in order.

#include <string>

struct IniEntry {
    std::wstring section;
    std::wstring key;
    std::wstring value;

    bool operator==(const IniEntry& other) const {
        return section == other.section && key == other.key && value == other.value;
    }
};

#pragma once
// The plain scan of one record folder: every "*.ini" file in it with the two keys that match a
// record to its movie. Used for the album application's folders, which change behind the
// player's back, and as the measure the indexed lookup of the local store is held to.
// Thread: any.

#include <cstdint>
#include <string>
#include <vector>

class FindIniFile_CL {
public:
    struct Entry {
        uint32_t hash = 0;       // MOVIE_INFO hash, 0 when missing
        std::wstring path;       // folder + "\" + file name
        std::wstring linkName;   // MOVIE_INFO link_name, "" when missing
    };

    // Lists the files matching folder + "\*.ini" in the platform's enumeration order, skipping
    // folders and the settings file "Lumikino.ini". A missing folder lists nothing.
    static std::vector<Entry> Scan(const std::wstring& folder);

    enum class KeyRead {
        Read,        // the keys as the file holds them (defaults for missing ones)
        Gone,        // no such file (nothing is created)
        Unreadable,  // the file is there but another program holds it locked
    };
    // The two keys of one record file.
    static KeyRead ReadMatchKeys(const std::wstring& path, uint32_t* hash, std::wstring* linkName);
};

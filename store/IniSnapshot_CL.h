#pragma once
// One INI file read in one pass: the file is read and decoded once and every later read is
// answered from memory, with the answers the platform's GetPrivateProfileStringW and
// GetPrivateProfileIntW give for the same file. Made for the settings load, which reads some
// fifty keys at start-up where each profile call opens the file again. Writes still go through
// Inifile_CL (the profile functions); a snapshot never changes and never sees them.
//
// What the profile functions do and this class does alike (the tests hold the two together):
// - encoding: a file starting with FF FE is UTF-16 LE, FE FF UTF-16 BE, EF BB BF UTF-8;
//   anything else is in the ANSI code page (932 on a Japanese system);
// - a line ends at CR or LF; white space (tab to CR, space, and the end-of-file mark ^Z, but
//   not a full-width or no-break space) around lines, names and values is dropped;
// - "[name]" starts a section (up to the last "]" of the line, white space inside dropped);
//   lines before the first section belong to a section without a name;
// - section and key names compare without regard to case; of two sections or keys with the
//   same name, only the first is ever read;
// - a line without "=" is a key that reads as missing (and hides a later one of its name); a
//   comment line is a key whose name starts with ";", which no program key matches;
// - a value enclosed in a pair of the same quotes (' or ") is read without them;
// - a string is cut to the reader's buffer (8192 units with the terminator); a missing key
//   gives the default, without its trailing spaces;
// - an integer is read from the value cut to 29 units: white space, one sign, a 0x, 0o or 0b
//   prefix for base 16, 8 or 2, then digits up to the first other character, modulo 2^32; a
//   missing or empty value gives the default.
//
// Pure apart from ReadFile. Thread: any; a snapshot is not changed after it is made.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class IniSnapshot_CL {
public:
    // The buffer GetString reads into by default, as Inifile_CL's.
    static constexpr DWORD kStringUnits = 8192;
    // The buffer the platform's integer read uses for the value's text.
    static constexpr DWORD kIntUnits = 30;

    // An empty snapshot: every read gives its default.
    IniSnapshot_CL() = default;

    // Reads the whole file at the path; a missing or unreadable file gives an empty snapshot.
    static IniSnapshot_CL ReadFile(const std::wstring& path);
    // The file's bytes, decoded by their byte-order mark; without one, in ansiCodePage.
    static IniSnapshot_CL FromBytes(const uint8_t* bytes, size_t size, UINT ansiCodePage = CP_ACP);
    // Text already decoded.
    static IniSnapshot_CL FromText(const std::wstring& text);

    // GetPrivateProfileStringW into a buffer of bufferUnits (the terminator included).
    std::wstring GetString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultValue,
                           DWORD bufferUnits = kStringUnits) const;
    // GetPrivateProfileIntW, as a signed 32-bit value.
    int GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) const;
    // True when GetString gives the file's value rather than the default, so a default that
    // costs something to find is looked up only when it is needed.
    bool Holds(const std::wstring& section, const std::wstring& key) const;

    // Pure: the profile functions' reading of an integer's text (see above).
    static int ParseProfileInt(const std::wstring& text);

private:
    struct Entry {
        std::wstring key;
        std::wstring value;
        bool hasValue = true;  // false for a line without "=": read as missing
    };
    struct Section {
        std::wstring name;
        std::vector<Entry> entries;
    };

    const Entry* Find(const std::wstring& section, const std::wstring& key) const;

    std::vector<Section> m_sections;
};

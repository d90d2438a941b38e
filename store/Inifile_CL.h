#pragma once
// Access to one INI file by path through the platform's private-profile functions. The object
// holds no handle and no cache; any number of instances may name the same file.
// Thread: any, as long as one instance is not shared between threads while it is re-opened.

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class Inifile_CL {
public:
    static constexpr DWORD kStringUnits = 8192;  // longer values are cut by the platform

    Inifile_CL() = default;
    explicit Inifile_CL(const std::wstring& path) { Open(path); }
    virtual ~Inifile_CL() = default;

    // Makes sure the file exists (a new file holds only the UTF-16 LE byte-order mark) and binds
    // to it. A file that cannot be created is not reported: reads then give their defaults.
    void Open(const std::wstring& path);
    // Binds without touching the file system (for files that must not be created).
    void Bind(const std::wstring& path) { m_path = path; }
    void Unbind() { m_path.clear(); }
    bool IsBound() const { return !m_path.empty(); }
    const std::wstring& Path() const { return m_path; }

    // Reads give the default, and writes do nothing, while no file is bound: an empty path
    // would otherwise send the profile functions to a file in the Windows folder.
    std::wstring GetString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue) const;
    int GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) const;
    int64_t GetHex64(const std::wstring& section, const std::wstring& key, int64_t defaultValue) const;
    bool GetStruct(const std::wstring& section, const std::wstring& key, void* data, UINT size) const;

    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& text) const;
    void WriteInt(const std::wstring& section, const std::wstring& key, int value) const;
    void WriteHex64(const std::wstring& section, const std::wstring& key, int64_t value) const;
    bool WriteStruct(const std::wstring& section, const std::wstring& key, const void* data, UINT size) const;

    // The section names of the file, in file order (empty when unbound or unreadable).
    std::vector<std::wstring> GetSectionNames() const;
    // Every "key=value" line of one section, in file order, with the value as stored (quotes
    // kept), so a rewrite can carry keys over that this program does not know.
    std::vector<std::pair<std::wstring, std::wstring>> GetSectionEntries(const std::wstring& section) const;
    // Asks the profile functions to write out anything they still hold for this file.
    void Flush() const;

    // Creates the file holding only FF FE when nothing is at the path. Never truncates: an
    // existing file that cannot be opened (locked, a folder) is left as it is.
    // Returns true when it created the file.
    static bool CreateIfMissing(const std::wstring& path);

    // Pure: the "%08x:%08x" text of a 64-bit value, high word first.
    static std::wstring FormatHex64(int64_t value);
    // Pure: reads that text back; an empty text, or one too short to hold the low word, gives
    // the default. Each group is read with wcstoul rules (stops at the first non-hex character).
    static int64_t ParseHex64(const std::wstring& text, int64_t defaultValue);

private:
    std::wstring m_path;
};

// "%s%d": the stem and a decimal index run together (thumb_time0).
std::wstring MakeIndexedKey(const std::wstring& stem, int index);

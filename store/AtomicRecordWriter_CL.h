#pragma once
// Replaces a record file in one step, so a crash or a power loss leaves either the old file or
// the new one, never a half-written one: the new content goes into a temporary file in the same
// folder, is flushed and checked, and is then moved over the old file with MoveFileExW.
// Thread: any; one instance is not shared between threads.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "store/IniEntry.h"

class AtomicRecordWriter_CL {
public:
    // A test seam standing for a crash: called before each step with its number (0, 1, ...);
    // answering false abandons the replacement right there, leaving the files exactly as a
    // process killed at that point would.
    using StepHook = std::function<bool(int step)>;
    void SetStepHook(StepHook hook) { m_stepHook = std::move(hook); }

    // Writes the entries, in order, into a fresh UTF-16 INI file through Inifile_CL and puts it
    // at the path. With carryOver, every section and key of the file now at the path that the
    // entries do not name follows them, in its old order, with its stored text (tags and keys
    // of newer versions survive). An old single-byte file is read through the code page by the
    // profile functions, so the new file holds the same texts in UTF-16.
    // Returns S_OK, or a failure with the old file untouched.
    [[nodiscard]] HRESULT RewriteIni(const std::wstring& path, const std::vector<IniEntry>& entries,
                                     bool carryOver);

    // Puts exactly these bytes at the path.
    [[nodiscard]] HRESULT WriteBytes(const std::wstring& path, const std::string& bytes);

    // The whole file; fails for a missing or locked file.
    [[nodiscard]] static HRESULT ReadBytes(const std::wstring& path, std::string* bytes);
    // Up to count bytes from the start (fewer when the file is shorter).
    [[nodiscard]] static HRESULT ReadPrefix(const std::wstring& path, size_t count, std::string* bytes);

    // Pure: the entries of the old file that a rewrite with these entries carries over, in file
    // order. Sections and keys are matched without regard to ASCII case, as the profile
    // functions match them.
    static std::vector<IniEntry> CarriedOver(const std::vector<IniEntry>& oldEntries,
                                             const std::vector<IniEntry>& entries);

    // Every key of an INI file in file order, values as stored.
    static std::vector<IniEntry> ReadAllEntries(const std::wstring& path);

    // Pure: the "[section]" and "key=value" lines of a UTF-16 LE file with its byte-order mark,
    // blanks around names and values dropped; empty for anything else. Reads the bytes on disk,
    // not what the profile functions may still hold in memory.
    static std::vector<IniEntry> ParseUtf16Ini(const std::string& bytes);

private:
    bool Continue(int step) const { return !m_stepHook || m_stepHook(step); }
    // Creates an empty, uniquely named temporary file beside the target.
    static HRESULT CreateTempBeside(const std::wstring& target, std::wstring* tempPath);
    static HRESULT FlushFile(const std::wstring& path);
    static HRESULT MoveIntoPlace(const std::wstring& tempPath, const std::wstring& target);

    StepHook m_stepHook;
};

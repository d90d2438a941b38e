#pragma once
// The play history: the last 100 files played, most recent first, as LumikinoHistory.ini keeps
// them. Each slot is a section "item0" ... "item99" with PATH and NAME; PATH is
// "|" + folder digit + star digit + "|" + path (an older form holds the plain path) and an
// empty PATH is an empty slot. Every save writes all 100 slots.
// Pure rules and the file's reading and writing; the dialog shows and completes the entries.
// Thread: the owner's (UI).

#include <cstdint>
#include <string>
#include <vector>

class Inifile_CL;

constexpr int kHistorySlots = 100;

struct HistorySlot {
    std::wstring path;
    std::wstring name;      // empty: not stored (take it from the file and its record)
    int folder = 0;         // 1 for a folder entry
    int stars = 0;          // 0 ... 5
    bool prefixed = false;  // PATH had the "|dS|" form; an older plain path had not
};

// Pure: a PATH value read. The path is what follows the last "|" of a prefixed value; the
// digits count only when that bar stands past index 2, and a digit out of its range (a
// hand-edited file) reads as 0.
HistorySlot ParseHistoryPath(const std::wstring& value);
// Pure: "|" + folder digit + star digit + "|" + path; out-of-range values write 0.
std::wstring FormatHistoryPath(const std::wstring& path, int folder, int stars);

// Pure: the list after a play of path: its older entries (same path, exact case) removed,
// the new one first, at most 100 kept.
void AddToHistory(std::vector<HistorySlot>& list, HistorySlot played);

// The filled slots of the file in slot order (gaps skipped, all 100 read).
std::vector<HistorySlot> ReadHistory(const Inifile_CL& file);
// All 100 slots: the list's entries first, empty PATH and NAME after them. The file is
// replaced whole in one step (a play rewrites every slot; 200 profile writes, each of which
// rewrites the file, cost a tenth of a second and more before the movie could start). False
// when it could not be written; the old file then stays.
bool WriteHistory(const Inifile_CL& file, const std::vector<HistorySlot>& list);
// Pure: the bytes of that file, UTF-16 LE with its mark, as the profile functions read it.
// Line breaks in a name become spaces (a value ends at the line's end).
std::string HistoryFileBytes(const std::vector<HistorySlot>& list);
// Every slot's PATH emptied; NAME is left as it is (switching recording off).
void EraseHistoryPaths(const Inifile_CL& file);
// "item%d".
std::wstring HistorySection(int slot);

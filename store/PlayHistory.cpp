#include "store/PlayHistory.h"

#include <algorithm>

#include "store/AtomicRecordWriter_CL.h"
#include "store/IniSnapshot_CL.h"
#include "store/Inifile_CL.h"

namespace {
constexpr wchar_t kBar = L'|';
constexpr wchar_t kKeyPath[] = L"PATH";
constexpr wchar_t kKeyName[] = L"NAME";
constexpr int kMaxStars = 5;

int DigitIn(wchar_t c, int maximum) {
    const int value = c - L'0';
    return value >= 0 && value <= maximum ? value : 0;
}
}  // namespace

std::wstring HistorySection(int slot) { return L"item" + std::to_wstring(slot); }

HistorySlot ParseHistoryPath(const std::wstring& value) {
    HistorySlot slot;
    if (value.empty() || value[0] != kBar) {
        slot.path = value;
        return slot;
    }
    slot.prefixed = true;
    const size_t last = value.rfind(kBar);
    slot.path = value.substr(last + 1);
    if (last > 2) {
        slot.folder = DigitIn(value[1], 1);
        slot.stars = DigitIn(value[2], kMaxStars);
    }
    return slot;
}

std::wstring FormatHistoryPath(const std::wstring& path, int folder, int stars) {
    std::wstring value(1, kBar);
    value += folder == 1 ? L'1' : L'0';
    value += static_cast<wchar_t>(L'0' + (stars >= 0 && stars <= kMaxStars ? stars : 0));
    value += kBar;
    return value + path;
}

void AddToHistory(std::vector<HistorySlot>& list, HistorySlot played) {
    if (played.path.empty()) return;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const HistorySlot& slot) { return slot.path == played.path; }),
               list.end());
    list.insert(list.begin(), std::move(played));
    if (list.size() > static_cast<size_t>(kHistorySlots)) list.resize(kHistorySlots);
}

std::vector<HistorySlot> ReadHistory(const Inifile_CL& file) {
    // One pass over the file: 200 profile reads would open it 200 times on every play.
    const IniSnapshot_CL snapshot = IniSnapshot_CL::ReadFile(file.Path());
    std::vector<HistorySlot> list;
    for (int i = 0; i < kHistorySlots; ++i) {
        const std::wstring section = HistorySection(i);
        const std::wstring value = snapshot.GetString(section, kKeyPath, L"");
        if (value.empty()) continue;
        HistorySlot slot = ParseHistoryPath(value);
        if (slot.path.empty()) continue;
        if (slot.prefixed) slot.name = snapshot.GetString(section, kKeyName, L"");
        list.push_back(std::move(slot));
    }
    return list;
}

std::string HistoryFileBytes(const std::vector<HistorySlot>& list) {
    std::wstring text;
    for (int i = 0; i < kHistorySlots; ++i) {
        std::wstring path, name;
        if (static_cast<size_t>(i) < list.size()) {
            const HistorySlot& slot = list[static_cast<size_t>(i)];
            path = FormatHistoryPath(slot.path, slot.folder, slot.stars);
            name = slot.name;
        }
        for (std::wstring* value : {&path, &name}) {
            std::replace_if(value->begin(), value->end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
        }
        text += L"[" + HistorySection(i) + L"]\r\n";
        text += std::wstring(kKeyPath) + L"=" + path + L"\r\n";
        text += std::wstring(kKeyName) + L"=" + name + L"\r\n";
    }
    std::string bytes("\xFF\xFE", 2);
    bytes.reserve(2 + text.size() * 2);
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

bool WriteHistory(const Inifile_CL& file, const std::vector<HistorySlot>& list) {
    if (!file.IsBound()) return false;
    AtomicRecordWriter_CL writer;
    return SUCCEEDED(writer.WriteBytes(file.Path(), HistoryFileBytes(list)));
}

void EraseHistoryPaths(const Inifile_CL& file) {
    for (int i = 0; i < kHistorySlots; ++i) file.WriteString(HistorySection(i), kKeyPath, L"");
}

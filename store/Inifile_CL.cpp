#include "store/Inifile_CL.h"

#include <cwchar>
#include <vector>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/TextFormat.h"
#include "base/UniqueHandle_CL.h"

bool Inifile_CL::CreateIfMissing(const std::wstring& path) {
    if (path.empty()) return false;
    // CREATE_NEW: a file that exists but is locked must never be truncated to a new one.
    FileHandle_CL file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    // A new INI file must start with the UTF-16 LE byte-order mark, or the profile functions
    // would write it in the ANSI code page and Japanese titles would be lost.
    static const BYTE kByteOrderMark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    ::WriteFile(file.Get(), kByteOrderMark, sizeof(kByteOrderMark), &written, nullptr);
    if (ProcessLogSwitches().log_detail_other) LogPrintf(L"Inifile新規作成 = %ls", path.c_str());
    return true;
}

void Inifile_CL::Open(const std::wstring& path) {
    CreateIfMissing(path);
    m_path = path;
}

std::wstring Inifile_CL::GetString(const std::wstring& section, const std::wstring& key,
                                   const std::wstring& defaultValue) const {
    if (!IsBound()) return defaultValue;
    std::vector<wchar_t> buffer(kStringUnits);
    DWORD units = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(),
                                             buffer.data(), kStringUnits, m_path.c_str());
    return std::wstring(buffer.data(), units);
}

int Inifile_CL::GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) const {
    if (!IsBound()) return defaultValue;
    return static_cast<int>(
        ::GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue, m_path.c_str()));
}

int64_t Inifile_CL::GetHex64(const std::wstring& section, const std::wstring& key,
                             int64_t defaultValue) const {
    return ParseHex64(GetString(section, key, std::wstring()), defaultValue);
}

bool Inifile_CL::GetStruct(const std::wstring& section, const std::wstring& key, void* data,
                           UINT size) const {
    if (!IsBound()) return false;
    return ::GetPrivateProfileStructW(section.c_str(), key.c_str(), data, size, m_path.c_str()) != FALSE;
}

void Inifile_CL::WriteString(const std::wstring& section, const std::wstring& key,
                             const std::wstring& text) const {
    if (!IsBound()) return;
    ::WritePrivateProfileStringW(section.c_str(), key.c_str(), text.c_str(), m_path.c_str());
}

void Inifile_CL::WriteInt(const std::wstring& section, const std::wstring& key, int value) const {
    WriteString(section, key, FormatString(L"%d", value));
}

void Inifile_CL::WriteHex64(const std::wstring& section, const std::wstring& key, int64_t value) const {
    WriteString(section, key, FormatHex64(value));
}

bool Inifile_CL::WriteStruct(const std::wstring& section, const std::wstring& key, const void* data,
                             UINT size) const {
    if (!IsBound()) return false;
    return ::WritePrivateProfileStructW(section.c_str(), key.c_str(), const_cast<void*>(data), size,
                                        m_path.c_str()) != FALSE;
}

namespace {
// The profile functions answer "size - 2" when a list of NUL-terminated strings did not fit.
// Grows the buffer until the list fits; gives up at a size no record file reaches.
template <typename Fill>
std::vector<wchar_t> ReadStringList(Fill fill) {
    constexpr DWORD kMaxUnits = 1u << 24;
    for (DWORD units = 32768;; units *= 4) {
        std::vector<wchar_t> buffer(units + 2, L'\0');
        DWORD got = fill(buffer.data(), units);
        if (got + 2 < units || units >= kMaxUnits) {
            buffer.resize(got < units ? got : units);
            return buffer;
        }
    }
}

// Splits "a\0b\0\0" into its strings.
std::vector<std::wstring> SplitStringList(const std::vector<wchar_t>& list) {
    std::vector<std::wstring> items;
    size_t start = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] != L'\0') continue;
        if (i > start) items.emplace_back(list.data() + start, i - start);
        start = i + 1;
    }
    if (start < list.size()) items.emplace_back(list.data() + start, list.size() - start);
    return items;
}
}  // namespace

std::vector<std::wstring> Inifile_CL::GetSectionNames() const {
    if (!IsBound()) return {};
    return SplitStringList(ReadStringList([this](wchar_t* buffer, DWORD units) {
        return ::GetPrivateProfileSectionNamesW(buffer, units, m_path.c_str());
    }));
}

std::vector<std::pair<std::wstring, std::wstring>> Inifile_CL::GetSectionEntries(
    const std::wstring& section) const {
    std::vector<std::pair<std::wstring, std::wstring>> entries;
    if (!IsBound()) return entries;
    std::vector<std::wstring> lines = SplitStringList(ReadStringList([&](wchar_t* buffer, DWORD units) {
        return ::GetPrivateProfileSectionW(section.c_str(), buffer, units, m_path.c_str());
    }));
    for (const std::wstring& line : lines) {
        size_t equals = line.find(L'=');
        if (equals == std::wstring::npos || equals == 0) continue;  // not a key the profile functions read
        entries.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    return entries;
}

void Inifile_CL::Flush() const {
    if (!IsBound()) return;
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str());
}

std::wstring Inifile_CL::FormatHex64(int64_t value) {
    uint64_t bits = static_cast<uint64_t>(value);
    return FormatString(L"%08x:%08x", static_cast<unsigned>(bits >> 32),
                        static_cast<unsigned>(bits & 0xFFFFFFFFu));
}

namespace {
// wcstoul on at most eight characters of the text from the given position.
uint32_t ParseHexGroup(const std::wstring& text, size_t from) {
    std::wstring group = text.substr(from, 8);
    return static_cast<uint32_t>(std::wcstoul(group.c_str(), nullptr, 16));
}
}  // namespace

int64_t Inifile_CL::ParseHex64(const std::wstring& text, int64_t defaultValue) {
    if (text.size() < 10) return defaultValue;  // no low group behind the separator
    uint64_t high = ParseHexGroup(text, 0);
    uint64_t low = ParseHexGroup(text, 9);
    return static_cast<int64_t>((high << 32) | low);
}

std::wstring MakeIndexedKey(const std::wstring& stem, int index) {
    return FormatString(L"%ls%d", stem.c_str(), index);
}

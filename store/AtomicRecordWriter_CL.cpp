#include "store/AtomicRecordWriter_CL.h"

#include <algorithm>

#include "base/UniqueHandle_CL.h"
#include "store/Inifile_CL.h"

namespace {

constexpr BYTE kByteOrderMark[2] = {0xFF, 0xFE};

HRESULT LastError() {
    DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x + 32);
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y + 32);
        if (x != y) return false;
    }
    return true;
}

// The profile functions drop blanks around a value when they read it back.
std::wstring TrimmedValue(const std::wstring& value) {
    const wchar_t* kBlanks = L" \t\r\n";
    size_t first = value.find_first_not_of(kBlanks);
    if (first == std::wstring::npos) return std::wstring();
    size_t last = value.find_last_not_of(kBlanks);
    return value.substr(first, last - first + 1);
}

// What the file must hold after the entries were written in order: keys grouped by section in
// the order the sections first appear, a repeated key keeping its first place and last value.
std::vector<IniEntry> ExpectedLayout(const std::vector<IniEntry>& written) {
    std::vector<std::wstring> sections;
    for (const IniEntry& e : written) {
        if (std::none_of(sections.begin(), sections.end(),
                         [&](const std::wstring& s) { return SameName(s, e.section); })) {
            sections.push_back(e.section);
        }
    }
    std::vector<IniEntry> layout;
    for (const std::wstring& section : sections) {
        size_t sectionStart = layout.size();
        for (const IniEntry& e : written) {
            if (!SameName(e.section, section)) continue;
            auto same = std::find_if(layout.begin() + sectionStart, layout.end(),
                                     [&](const IniEntry& l) { return SameName(l.key, e.key); });
            if (same != layout.end()) {
                same->value = e.value;
            } else {
                layout.push_back(e);
            }
        }
    }
    return layout;
}

bool FileReadsAs(const std::wstring& path, const std::vector<IniEntry>& layout) {
    std::string bytes;
    if (FAILED(AtomicRecordWriter_CL::ReadBytes(path, &bytes))) return false;
    std::vector<IniEntry> found = AtomicRecordWriter_CL::ParseUtf16Ini(bytes);
    if (found.size() != layout.size()) return false;
    for (size_t i = 0; i < found.size(); ++i) {
        if (!SameName(found[i].section, layout[i].section) || !SameName(found[i].key, layout[i].key) ||
            TrimmedValue(found[i].value) != TrimmedValue(layout[i].value)) {
            return false;
        }
    }
    return true;
}

bool WriteAll(HANDLE file, const void* data, size_t size) {
    DWORD written = 0;
    return ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

}  // namespace

HRESULT AtomicRecordWriter_CL::CreateTempBeside(const std::wstring& target, std::wstring* tempPath) {
    size_t slash = target.find_last_of(L'\\');
    std::wstring folder = slash == std::wstring::npos ? std::wstring(L".") : target.substr(0, slash);
    if (folder.empty()) folder = L"\\";
    // The name ends in ".tmp", so no scan for "*.ini" ever mistakes a leftover for a record.
    wchar_t name[MAX_PATH] = {};
    if (::GetTempFileNameW(folder.c_str(), L"lk~", 0, name) == 0) return LastError();
    *tempPath = name;
    return S_OK;
}

HRESULT AtomicRecordWriter_CL::FlushFile(const std::wstring& path) {
    FileHandle_CL file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return LastError();
    if (!::FlushFileBuffers(file.Get())) return LastError();
    return S_OK;
}

HRESULT AtomicRecordWriter_CL::MoveIntoPlace(const std::wstring& tempPath, const std::wstring& target) {
    // A rename within one folder: the target is the old file or the new one at every moment.
    if (!::MoveFileExW(tempPath.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return LastError();
    }
    return S_OK;
}

std::vector<IniEntry> AtomicRecordWriter_CL::ReadAllEntries(const std::wstring& path) {
    Inifile_CL file;
    file.Bind(path);
    std::vector<IniEntry> entries;
    std::vector<std::wstring> seen;
    for (const std::wstring& section : file.GetSectionNames()) {
        // A section written twice reads as its first copy; take it once.
        if (std::any_of(seen.begin(), seen.end(), [&](const std::wstring& s) { return SameName(s, section); })) {
            continue;
        }
        seen.push_back(section);
        for (auto& keyValue : file.GetSectionEntries(section)) {
            entries.push_back(IniEntry{section, keyValue.first, keyValue.second});
        }
    }
    return entries;
}

std::vector<IniEntry> AtomicRecordWriter_CL::ParseUtf16Ini(const std::string& bytes) {
    std::vector<IniEntry> entries;
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || static_cast<BYTE>(bytes[0]) != 0xFF ||
        static_cast<BYTE>(bytes[1]) != 0xFE) {
        return entries;
    }
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<wchar_t>(static_cast<BYTE>(bytes[2 + 2 * i]) | (static_cast<BYTE>(bytes[3 + 2 * i]) << 8));
    }
    std::wstring section;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = TrimmedValue(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        if (line.front() == L'[') {
            size_t close = line.find(L']');
            section = TrimmedValue(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
            continue;
        }
        size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) continue;
        entries.push_back(IniEntry{section, TrimmedValue(line.substr(0, equals)), TrimmedValue(line.substr(equals + 1))});
    }
    return entries;
}

std::vector<IniEntry> AtomicRecordWriter_CL::CarriedOver(const std::vector<IniEntry>& oldEntries,
                                                         const std::vector<IniEntry>& entries) {
    std::vector<IniEntry> carried;
    for (const IniEntry& old : oldEntries) {
        auto named = [&](const IniEntry& e) { return SameName(e.section, old.section) && SameName(e.key, old.key); };
        if (std::any_of(entries.begin(), entries.end(), named)) continue;
        if (std::any_of(carried.begin(), carried.end(), named)) continue;
        carried.push_back(old);
    }
    return carried;
}

HRESULT AtomicRecordWriter_CL::RewriteIni(const std::wstring& path, const std::vector<IniEntry>& entries,
                                          bool carryOver) {
    if (path.empty()) return E_INVALIDARG;
    std::vector<IniEntry> written = entries;
    if (carryOver && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // What cannot be read cannot be carried over: better no rewrite than lost tags.
        FileHandle_CL probe(::CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.IsValid()) return LastError();
        probe.Reset();
        std::vector<IniEntry> carried = CarriedOver(ReadAllEntries(path), entries);
        written.insert(written.end(), carried.begin(), carried.end());
    }

    if (!Continue(0)) return E_ABORT;
    std::wstring tempPath;
    HRESULT hr = CreateTempBeside(path, &tempPath);
    if (FAILED(hr)) return hr;
    {
        // The byte-order mark keeps the profile functions writing UTF-16.
        FileHandle_CL temp(::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!temp.IsValid() || !WriteAll(temp.Get(), kByteOrderMark, sizeof(kByteOrderMark))) {
            hr = LastError();
            temp.Reset();
            ::DeleteFileW(tempPath.c_str());
            return hr;
        }
    }

    Inifile_CL temp;
    temp.Bind(tempPath);
    int step = 1;
    for (const IniEntry& e : written) {
        if (!Continue(step++)) return E_ABORT;
        temp.WriteString(e.section, e.key, e.value);
    }
    if (!Continue(step++)) return E_ABORT;
    temp.Flush();
    hr = FlushFile(tempPath);
    // The profile functions report no failed write; reading the file back is the proof that
    // every key landed (a full disk or a lost network share shows here).
    if (SUCCEEDED(hr)) {
        if (!Continue(step++)) return E_ABORT;
        if (!FileReadsAs(tempPath, ExpectedLayout(written))) hr = HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
    }
    if (SUCCEEDED(hr)) {
        if (!Continue(step++)) return E_ABORT;
        hr = MoveIntoPlace(tempPath, path);
    }
    if (FAILED(hr)) ::DeleteFileW(tempPath.c_str());
    return hr;
}

HRESULT AtomicRecordWriter_CL::WriteBytes(const std::wstring& path, const std::string& bytes) {
    if (path.empty()) return E_INVALIDARG;
    if (!Continue(0)) return E_ABORT;
    std::wstring tempPath;
    HRESULT hr = CreateTempBeside(path, &tempPath);
    if (FAILED(hr)) return hr;
    {
        FileHandle_CL temp(::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!temp.IsValid()) {
            hr = LastError();
        } else {
            if (!Continue(1)) return E_ABORT;
            if (!WriteAll(temp.Get(), bytes.data(), bytes.size())) hr = LastError();
            if (SUCCEEDED(hr)) {
                if (!Continue(2)) return E_ABORT;
                if (!::FlushFileBuffers(temp.Get())) hr = LastError();
            }
        }
    }
    if (SUCCEEDED(hr)) {
        std::string check;
        if (FAILED(ReadBytes(tempPath, &check)) || check != bytes) hr = HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
    }
    if (SUCCEEDED(hr)) {
        if (!Continue(3)) return E_ABORT;
        hr = MoveIntoPlace(tempPath, path);
    }
    if (FAILED(hr)) ::DeleteFileW(tempPath.c_str());
    return hr;
}

HRESULT AtomicRecordWriter_CL::ReadPrefix(const std::wstring& path, size_t count, std::string* bytes) {
    bytes->clear();
    FileHandle_CL file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return LastError();
    char chunk[65536];
    while (bytes->size() < count) {
        DWORD want = static_cast<DWORD>(std::min(count - bytes->size(), sizeof(chunk)));
        DWORD got = 0;
        if (!::ReadFile(file.Get(), chunk, want, &got, nullptr)) return LastError();
        if (got == 0) break;
        bytes->append(chunk, got);
    }
    return S_OK;
}

HRESULT AtomicRecordWriter_CL::ReadBytes(const std::wstring& path, std::string* bytes) {
    return ReadPrefix(path, static_cast<size_t>(-1), bytes);
}

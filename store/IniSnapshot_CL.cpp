#include "store/IniSnapshot_CL.h"

#include <algorithm>

#include "base/UniqueHandle_CL.h"

namespace {

// The profile functions take for white space the ASCII blanks and control characters of text
// files, and the end-of-file mark ^Z of old ones; a full-width or no-break space is text.
bool IsProfileSpace(wchar_t c) { return c == L' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A; }

bool SameName(const wchar_t* a, size_t aUnits, const wchar_t* b, size_t bUnits) {
    if (aUnits != bUnits) return false;
    if (aUnits == 0) return true;
    return ::CompareStringOrdinal(a, static_cast<int>(aUnits), b, static_cast<int>(bUnits), TRUE) == CSTR_EQUAL;
}

// A name as asked for: the profile functions drop the white space around it.
void TrimmedName(const std::wstring& name, size_t* begin, size_t* units) {
    size_t first = 0, last = name.size();
    while (first < last && IsProfileSpace(name[first])) ++first;
    while (last > first && IsProfileSpace(name[last - 1])) --last;
    *begin = first;
    *units = last - first;
}

std::wstring Decode(const uint8_t* bytes, size_t size, UINT codePage) {
    if (size == 0) return std::wstring();
    const int units = ::MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(bytes),
                                            static_cast<int>(size), nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(bytes), static_cast<int>(size), &text[0],
                          units);
    return text;
}

}  // namespace

IniSnapshot_CL IniSnapshot_CL::ReadFile(const std::wstring& path) {
    FileHandle_CL file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return IniSnapshot_CL();
    LARGE_INTEGER size{};
    // Settings files are small; one far beyond any real one is not read into memory at all.
    constexpr LONGLONG kMaxBytes = 256LL << 20;
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 || size.QuadPart > kMaxBytes) {
        return IniSnapshot_CL();
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - filled, 1u << 30));
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + filled, chunk, &read, nullptr) || read == 0) break;
        filled += read;
    }
    return FromBytes(bytes.data(), filled);
}

IniSnapshot_CL IniSnapshot_CL::FromBytes(const uint8_t* bytes, size_t size, UINT ansiCodePage) {
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        return FromText(Decode(bytes + 3, size - 3, CP_UTF8));
    }
    if (size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        const bool bigEndian = bytes[0] == 0xFE;
        std::wstring text;
        text.reserve((size - 2) / 2);
        for (size_t i = 2; i + 1 < size; i += 2) {
            text.push_back(static_cast<wchar_t>(bigEndian ? (bytes[i] << 8 | bytes[i + 1])
                                                          : (bytes[i + 1] << 8 | bytes[i])));
        }
        return FromText(text);
    }
    return FromText(Decode(bytes, size, ansiCodePage));
}

IniSnapshot_CL IniSnapshot_CL::FromText(const std::wstring& text) {
    IniSnapshot_CL snapshot;
    // Lines before the first section header belong to a section without a name.
    snapshot.m_sections.push_back(Section());
    const wchar_t* const end = text.data() + text.size();
    const wchar_t* next = text.data();
    while (next < end) {
        const wchar_t* lineStart = next;
        const wchar_t* lineEnd = std::find_if(lineStart, end, [](wchar_t c) { return c == L'\n' || c == L'\r'; });
        next = lineEnd == end ? end : lineEnd + 1;
        while (lineStart < lineEnd && IsProfileSpace(*lineStart)) ++lineStart;
        while (lineEnd > lineStart && IsProfileSpace(lineEnd[-1])) --lineEnd;
        if (lineStart == lineEnd) continue;

        if (*lineStart == L'[') {
            const wchar_t* close = lineEnd - 1;
            while (close > lineStart && *close != L']') --close;
            if (close > lineStart) {
                const wchar_t* nameStart = lineStart + 1;
                const wchar_t* nameEnd = close;
                while (nameStart < nameEnd && IsProfileSpace(*nameStart)) ++nameStart;
                while (nameEnd > nameStart && IsProfileSpace(nameEnd[-1])) --nameEnd;
                Section section;
                section.name.assign(nameStart, nameEnd);
                snapshot.m_sections.push_back(std::move(section));
                continue;
            }
            // "[" without "]": an ordinary line.
        }
        Entry entry;
        const wchar_t* equals = std::find(lineStart, lineEnd, L'=');
        if (equals == lineEnd) {
            entry.key.assign(lineStart, lineEnd);
            entry.hasValue = false;
        } else {
            const wchar_t* nameEnd = equals;
            while (nameEnd > lineStart && IsProfileSpace(nameEnd[-1])) --nameEnd;
            const wchar_t* valueStart = equals + 1;
            while (valueStart < lineEnd && IsProfileSpace(*valueStart)) ++valueStart;
            entry.key.assign(lineStart, nameEnd);
            entry.value.assign(valueStart, lineEnd);
        }
        snapshot.m_sections.back().entries.push_back(std::move(entry));
    }
    return snapshot;
}

const IniSnapshot_CL::Entry* IniSnapshot_CL::Find(const std::wstring& section, const std::wstring& key) const {
    size_t sectionBegin = 0, sectionUnits = 0, keyBegin = 0, keyUnits = 0;
    TrimmedName(section, &sectionBegin, &sectionUnits);
    TrimmedName(key, &keyBegin, &keyUnits);
    for (const Section& candidate : m_sections) {
        if (!SameName(candidate.name.data(), candidate.name.size(), section.data() + sectionBegin, sectionUnits)) {
            continue;
        }
        // Only the first section of a name is looked at.
        for (const Entry& entry : candidate.entries) {
            if (SameName(entry.key.data(), entry.key.size(), key.data() + keyBegin, keyUnits)) return &entry;
        }
        return nullptr;
    }
    return nullptr;
}

std::wstring IniSnapshot_CL::GetString(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& defaultValue, DWORD bufferUnits) const {
    if (bufferUnits == 0) return std::wstring();
    const size_t room = bufferUnits - 1;
    const Entry* entry = Find(section, key);
    if (!entry || !entry->hasValue) {
        // The default loses its trailing spaces (never its first character).
        size_t units = defaultValue.size();
        while (units > 1 && defaultValue[units - 1] == L' ') --units;
        return defaultValue.substr(0, std::min(units, room));
    }
    const std::wstring& value = entry->value;
    if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0]) {
        const std::wstring inner = value.substr(1);  // the closing quote still at its end
        std::wstring copied = inner.substr(0, std::min(inner.size(), room));
        // The closing quote goes when the whole value fit the buffer.
        if (room + 1 >= inner.size() && !copied.empty()) copied.pop_back();
        return copied;
    }
    return value.substr(0, std::min(value.size(), room));
}

bool IniSnapshot_CL::Holds(const std::wstring& section, const std::wstring& key) const {
    const Entry* entry = Find(section, key);
    return entry && entry->hasValue;
}

int IniSnapshot_CL::GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) const {
    const std::wstring text = GetString(section, key, std::wstring(), kIntUnits);
    if (text.empty()) return defaultValue;
    return ParseProfileInt(text);
}

int IniSnapshot_CL::ParseProfileInt(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && text[i] <= L' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == L'0') {
        const wchar_t prefix = text[i + 1];
        base = prefix == L'x' ? 16 : prefix == L'o' ? 8 : prefix == L'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    uint32_t total = 0;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        uint32_t digit = 36;
        if (c >= L'0' && c <= L'9') digit = static_cast<uint32_t>(c - L'0');
        else if (c >= L'a' && c <= L'z') digit = static_cast<uint32_t>(c - L'a' + 10);
        else if (c >= L'A' && c <= L'Z') digit = static_cast<uint32_t>(c - L'A' + 10);
        if (digit >= base) break;
        total = total * base + digit;
    }
    if (negative) total = 0u - total;
    return static_cast<int>(total);
}

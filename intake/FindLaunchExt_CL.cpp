#include "intake/FindLaunchExt_CL.h"

#include <windows.h>

#include "base/UniqueHandle_CL.h"
#include "store/Inifile_CL.h"

namespace {
constexpr wchar_t kExtInfoSection[] = L"EXT_INFO";
constexpr wchar_t kOwnHandler[] = L"Lumikino";
constexpr wchar_t kOwnHandlerOther[] = L"Lumikina";
constexpr DWORD kNameUnits = 256;         // the longest key name the registry allows, and its end
constexpr DWORD kValueBytes = 2048 * 2;   // a handler or content type longer than this is not one

bool StartsWith(const std::wstring& text, const wchar_t* prefix) { return text.rfind(prefix, 0) == 0; }

// A string value of the key (REG_SZ or REG_EXPAND_SZ, unexpanded); name null for the default.
bool ReadString(HKEY key, const wchar_t* name, std::wstring* value) {
    DWORD type = 0;
    std::wstring buffer(kValueBytes / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = kValueBytes;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    buffer.resize(bytes / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0') buffer.pop_back();
    *value = buffer;
    return true;
}
}  // namespace

void FindLaunchExt_CL::ReadClassRoot(const std::function<void(const ClassRootKey&)>& visit) {
    wchar_t name[kNameUnits];
    for (DWORD index = 0;; ++index) {
        DWORD units = kNameUnits;
        const LSTATUS status = ::RegEnumKeyExW(HKEY_CLASSES_ROOT, index, name, &units, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) continue;  // a name too long, or a key gone meanwhile
        ClassRootKey key;
        key.name.assign(name, units);
        if (!StartsWith(key.name, L".")) {
            visit(key);
            continue;
        }
        HKEY opened = nullptr;
        if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, name, 0, KEY_READ, &opened) == ERROR_SUCCESS) {
            RegKey_CL owned(opened);
            key.hasHandler = ReadString(owned.Get(), nullptr, &key.handler);
            key.hasContentType = ReadString(owned.Get(), L"Content Type", &key.contentType);
        }
        visit(key);
    }
}

std::vector<LaunchExtension> FindLaunchExt_CL::Build(const KeySource& source,
                                                     const std::function<std::wstring(const std::wstring&)>& savedHandler) {
    std::vector<LaunchExtension> list;
    source([&](const ClassRootKey& key) {
        if (!StartsWith(key.name, L".") || !key.hasHandler || !key.hasContentType) return;
        if (!StartsWith(key.contentType, L"video") && !StartsWith(key.contentType, L"audio")) return;
        LaunchExtension entry;
        entry.extension = key.name;
        entry.contentType = key.contentType;
        entry.currentHandler = key.handler;
        entry.associated = key.handler == kOwnHandler;
        entry.savedHandler = savedHandler(key.name);
        list.push_back(std::move(entry));
    });
    return list;
}

std::vector<std::pair<std::wstring, std::wstring>> FindLaunchExt_CL::ExtInfoWrites(
    const std::vector<LaunchExtension>& list) {
    std::vector<std::pair<std::wstring, std::wstring>> writes;
    for (const LaunchExtension& entry : list) {
        if (entry.currentHandler == kOwnHandler || entry.currentHandler == kOwnHandlerOther) continue;
        if (entry.currentHandler == entry.savedHandler) continue;
        writes.emplace_back(entry.extension, entry.currentHandler);
    }
    return writes;
}

std::vector<LaunchExtension> FindLaunchExt_CL::Rebuild(const KeySource& source, const Inifile_CL& settings) {
    std::vector<LaunchExtension> list = Build(source, [&](const std::wstring& extension) {
        return settings.GetString(kExtInfoSection, extension, std::wstring());
    });
    for (const auto& write : ExtInfoWrites(list)) {
        settings.WriteString(kExtInfoSection, write.first, write.second);
        for (LaunchExtension& entry : list) {
            if (entry.extension == write.first) entry.savedHandler = write.second;
        }
    }
    return list;
}

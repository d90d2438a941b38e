#include "assoc/helper/AssocFile_CL.h"

#include <shlobj.h>

#include <algorithm>

#include "assoc/AssocKeys.h"
#include "assoc/helper/AssocRules.h"
#include "base/Platform.h"
#include "base/DataFolder_CL.h"
#include "base/UniqueHandle_CL.h"
#include "store/Inifile_CL.h"

namespace {
std::wstring FullPath(const std::wstring& path) {
    if (path.empty()) return std::wstring();
    const DWORD units = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (units == 0) return std::wstring();
    std::wstring full(units, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), units, &full[0], nullptr);
    if (written == 0 || written >= units) return std::wstring();
    full.resize(written);
    return full;
}

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnsureKey(HKEY root, const std::wstring& subKey) {
    RegKey_CL key;
    return ::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, key.Put(),
                             nullptr) == ERROR_SUCCESS;
}
}  // namespace

AssocFile_CL::AssocFile_CL(std::wstring requestPath, std::wstring helperFolder)
    : m_requestPath(std::move(requestPath)), m_helperFolder(std::move(helperFolder)) {}

std::wstring AssocFile_CL::DefaultRequestPath() {
    const std::wstring root = DataFolder_CL::Root();
    return root.empty() ? std::wstring() : root + L"\\" + kAssocRequestFileName;
}

std::wstring AssocFile_CL::OwnFolder() { return FolderPart(ProgramFilePath()); }

bool AssocFile_CL::Refuse(const std::wstring& problem) {
    m_problem = problem;
    m_request = AssocHelperRequest();
    m_loaded = false;
    return false;
}

bool AssocFile_CL::Load() {
    m_problem.clear();
    m_request = AssocHelperRequest();
    m_loaded = false;
    // Without a request there is nothing to register: empty keys would only break the
    // player's entry in the system's lists.
    if (m_requestPath.empty() || !IsExistingFile(m_requestPath)) return Refuse(L"no request file");
    // Bound, not opened: opening would create a missing file.
    Inifile_CL ini;
    ini.Bind(m_requestPath);
    AssocHelperRequest request;
    request.app = ini.GetString(kAssocAppSection, kAssocAppKey, L"");
    const std::wstring exe = ini.GetString(kAssocAppSection, kAssocExeKey, L"");
    request.icon = ini.GetString(kAssocAppSection, kAssocIconKey, L"");
    request.desc = ini.GetString(kAssocAppSection, kAssocDescKey, L"");
    if (request.app.empty() && exe.empty()) return Refuse(L"empty request");
    // The keys written are named after the application: any other name could overwrite the
    // class of another program ("exefile") with administrator rights.
    if (request.app != kAssocAppName) return Refuse(L"application name is not this program's");
    if (!DataFolder_CL::IsAbsolutePath(exe)) return Refuse(L"player path is not a full path");
    request.exe = FullPath(exe);
    if (request.exe.empty() || !IsExistingFile(request.exe)) return Refuse(L"player does not exist");
    // Only the player installed beside this helper may be registered: the request file is
    // writable by any program of the user, the registry keys are not.
    const std::wstring ownFolder = FullPath(m_helperFolder);
    if (ownFolder.empty() || !SameFolder(FolderPart(request.exe), ownFolder)) {
        return Refuse(L"player is not in the helper's folder");
    }
    if (!IsAllowedIconSuffix(request.icon)) return Refuse(L"icon suffix is not an index");

    const int count = std::clamp(ini.GetInt(kAssocExtSection, kAssocCountKey, 0), 0, kAssocMaxItems);
    for (int i = 0; i < count; ++i) {
        const std::wstring raw = ini.GetString(kAssocExtSection, MakeIndexedKey(kAssocItemStem, i), L"");
        if (raw.empty()) continue;
        AssocItem item;
        if (AcceptAssocItem(raw, &item)) {
            request.items.push_back(std::move(item));
        } else {
            ++request.refusedItems;
        }
    }
    m_request = std::move(request);
    m_loaded = true;
    return true;
}

bool AssocFile_CL::SetString(HKEY root, const std::wstring& subKey, const wchar_t* valueName, const std::wstring& data) {
    RegKey_CL key;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_WRITE, key.Put()) != ERROR_SUCCESS &&
        ::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.Put(),
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    // The size counts the terminating NUL, so a reader that trusts the size gets a whole string.
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.Get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes) ==
           ERROR_SUCCESS;
}

void AssocFile_CL::RegisterApplication() const {
    if (!m_loaded) return;
    const AssocHelperRequest& r = m_request;
    const std::wstring mediaKey = std::wstring(kAssocClientsMediaKey) + L"\\" + r.app;
    const std::wstring capabilitiesKey = mediaKey + kAssocCapabilitiesSubKey;
    const std::wstring classKey = std::wstring(kAssocClassesKey) + L"\\" + r.app;
    SetString(HKEY_LOCAL_MACHINE, mediaKey, nullptr, r.app);
    SetString(HKEY_LOCAL_MACHINE, mediaKey, kAssocLocalizedStringValue, r.app);
    SetString(HKEY_LOCAL_MACHINE, capabilitiesKey, kAssocAppDescriptionValue, r.desc);
    SetString(HKEY_LOCAL_MACHINE, capabilitiesKey, kAssocAppNameValue, r.app);
    SetString(HKEY_LOCAL_MACHINE, classKey + kAssocDefaultIconSubKey, nullptr, r.exe + r.icon);
    SetString(HKEY_LOCAL_MACHINE, classKey + kAssocOpenCommandSubKey, nullptr, OpenCommandFor(r.exe));
    // The handler of an item is not used here: the user picks the defaults in the system's
    // dialog, among the extensions the capabilities offer.
    for (const AssocItem& item : r.items) {
        SetString(HKEY_LOCAL_MACHINE, capabilitiesKey + kAssocFileAssociationsSubKey, item.extension.c_str(), r.app);
    }
    SetString(HKEY_LOCAL_MACHINE, kAssocRegisteredAppsKey, r.app.c_str(), capabilitiesKey);
}

void AssocFile_CL::RegisterClassRoot() const {
    if (!m_loaded) return;
    const AssocHelperRequest& r = m_request;
    const std::wstring iconKey = r.app + kAssocDefaultIconSubKey;
    const std::wstring commandKey = r.app + kAssocOpenCommandSubKey;
    EnsureKey(HKEY_CLASSES_ROOT, iconKey);
    EnsureKey(HKEY_CLASSES_ROOT, commandKey);
    SetString(HKEY_CLASSES_ROOT, iconKey, nullptr, r.exe + r.icon);
    SetString(HKEY_CLASSES_ROOT, commandKey, nullptr, OpenCommandFor(r.exe));
    // The handler is "Lumikino" for an extension given to the player, the handler it had
    // before for one handed back, or empty.
    for (const AssocItem& item : r.items) {
        EnsureKey(HKEY_CLASSES_ROOT, item.extension);
        SetString(HKEY_CLASSES_ROOT, item.extension, nullptr, item.handler);
    }
    ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

bool AssocFile_CL::Run(DWORD majorVersion) {
    if (!Load()) return false;
    if (majorVersion > 5) {
        RegisterApplication();
    } else {
        RegisterClassRoot();
    }
    return true;
}

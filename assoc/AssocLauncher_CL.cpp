#include "assoc/AssocLauncher_CL.h"

#include <windows.h>
#include <shellapi.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <algorithm>

#include "assoc/AssocKeys.h"
#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/Platform.h"
#include "base/UniqueHandle_CL.h"
#include "intake/FileExtList_CL.h"
#include "intake/FileExtension.h"
#include "intake/FindLaunchExt_CL.h"
#include "intake/IntakeKeys.h"
#include "store/AppSettings.h"
#include "store/Inifile_CL.h"

using Microsoft::WRL::ComPtr;

namespace {
// The shell's association dialog. The headers declare the interface but not the class.
constexpr CLSID kClsidAssociationRegistrationUI = {
    0x1968106D, 0xF3B5, 0x44CF, {0x89, 0x0E, 0x11, 0x6F, 0xCB, 0x9E, 0xCE, 0xF1}};
constexpr IID kIidAssociationRegistrationUI = {
    0x1F76A169, 0xF994, 0x40AC, {0x8F, 0xC8, 0x09, 0x59, 0xE8, 0x87, 0x47, 0x10}};
}  // namespace

AssocLauncher_CL::AssocLauncher_CL() : m_exePath(OwnExePath()) {
    const std::wstring root = DataFolder_CL::Root();
    if (!root.empty()) m_requestPath = root + L"\\" + kAssocRequestFileName;
    const std::wstring folder = FolderOf(m_exePath);
    if (!folder.empty()) m_helperPath = folder + L"\\" + kAssocHelperFileName;
}

AssocLauncher_CL::AssocLauncher_CL(std::wstring exePath, std::wstring requestPath, std::wstring helperPath)
    : m_exePath(std::move(exePath)), m_requestPath(std::move(requestPath)), m_helperPath(std::move(helperPath)) {}

std::wstring AssocLauncher_CL::OwnExePath() { return ProgramFilePath(); }

std::wstring AssocLauncher_CL::FolderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

bool AssocLauncher_CL::WriteRequest(const std::vector<AssocItem>& items) const {
    AssocRequestText request;
    if (!FormatAssocRequest(m_exePath, items, &request)) {
        LogPrintf(L"関連付け要求: 実行ファイルのパスを書けません (%zu文字): %ls", m_exePath.size(), m_exePath.c_str());
        return false;
    }
    if (m_requestPath.empty()) {
        LogPrintf(L"%ls", L"関連付け要求: データフォルダが分かりません");
        return false;
    }
    FileHandle_CL file(::CreateFileW(m_requestPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        LogPrintf(L"関連付け要求: %ls を作れません: %u", m_requestPath.c_str(), static_cast<unsigned>(::GetLastError()));
        return false;
    }
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(request.bytes.size());
    if (!::WriteFile(file.Get(), request.bytes.data(), size, &written, nullptr) || written != size) {
        LogPrintf(L"関連付け要求: %ls に書けません: %u", m_requestPath.c_str(), static_cast<unsigned>(::GetLastError()));
        return false;
    }
    LogPrintf(L"関連付け要求: %ls に%d件 (除外%d件)", m_requestPath.c_str(), request.itemCount, request.skippedCount);
    return true;
}

bool AssocLauncher_CL::StartHelper() const {
    if (m_helperPath.empty()) return false;
    // The helper asks for administrator rights in its manifest; the shell's "open" brings up
    // the elevation prompt, where CreateProcess would refuse such a program.
    const HINSTANCE result =
        ::ShellExecuteW(nullptr, L"open", m_helperPath.c_str(), nullptr, nullptr, SW_SHOW);
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    if (code <= 32) {
        LogPrintf(L"関連付けヘルパーを起動できません: %ls (%d)", m_helperPath.c_str(), static_cast<int>(code));
        return false;
    }
    LogPrintf(L"関連付けヘルパーを起動しました: %ls", m_helperPath.c_str());
    return true;
}

bool AssocLauncher_CL::Send(const std::vector<AssocItem>& items) const {
    if (!WriteRequest(items)) return false;
    return StartHelper();
}

std::vector<std::wstring> ReadDropExtensionFile(const std::wstring& iniPath) {
    std::vector<std::wstring> extensions;
    if (iniPath.empty()) return extensions;
    // Bound, not opened: the player never creates or writes this file.
    Inifile_CL ini;
    ini.Bind(iniPath);
    const int count = std::min(ini.GetInt(kDropExtSection, kDropExtCountKey, 0), FileExtList_CL::kMaxFileEntries);
    for (int i = 0; i < count; ++i) {
        const std::wstring value = LowerText(ini.GetString(kDropExtSection, MakeIndexedKey(kDropExtItemStem, i), L""));
        if (value.empty() || std::find(extensions.begin(), extensions.end(), value) != extensions.end()) continue;
        extensions.push_back(value);
    }
    return extensions;
}

bool SendAppliedCheckStates(const AssocLauncher_CL& launcher, std::vector<LaunchExtension>& records,
                            const std::vector<bool>& checked, std::vector<int>* changedRows) {
    const std::vector<AssocItem> items = ApplyCheckStates(records, checked, changedRows);
    LogPrintf(L"関連付けの適用: %zu件の変更", items.size());
    return launcher.Send(items);
}

bool SendRegisterAll(const AssocLauncher_CL& launcher, std::vector<LaunchExtension>& records,
                     const std::wstring& dropIniPath) {
    const std::vector<AssocItem> items = RegisterAllItems(records, ReadDropExtensionFile(dropIniPath));
    LogPrintf(L"関連付け情報の更新: %zu件", items.size());
    return launcher.Send(items);
}

bool SendHandBack(const AssocLauncher_CL& launcher, std::vector<LaunchExtension>& records,
                  unsigned long majorVersion) {
    if (majorVersion >= 6) {
        LogPrintf(L"関連付けの返却: システムのバージョン %lu では行いません", majorVersion);
        return false;
    }
    const std::vector<AssocItem> items = HandBackItems(records);
    LogPrintf(L"関連付けの返却: %zu件", items.size());
    return launcher.Send(items);
}

void HandBackAssociations() {
    const unsigned long majorVersion = OperatingSystemMajorVersion();
    if (majorVersion >= 6) {
        LogPrintf(L"関連付けの返却: システムのバージョン %lu では行いません", majorVersion);
        return;
    }
    AppSettings& settings = AppSettings::Process();
    settings.launch_extensions = FindLaunchExt_CL::Rebuild(FindLaunchExt_CL::ReadClassRoot, settings.File());
    (void)SendHandBack(AssocLauncher_CL(), settings.launch_extensions, majorVersion);
}

HRESULT ShowSystemAssociationDialog() {
    ComPtr<IApplicationAssociationRegistrationUI> dialog;
    HRESULT hr = ::CoCreateInstance(kClsidAssociationRegistrationUI, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                    kIidAssociationRegistrationUI, reinterpret_cast<void**>(dialog.GetAddressOf()));
    if (FAILED(hr)) {
        LogPrintf(L"関連付けの設定画面はこのシステムにありません: 0x%08x", static_cast<unsigned>(hr));
        return hr;
    }
    hr = dialog->LaunchAdvancedAssociationUI(kAssocAppName);
    LogPrintf(L"関連付けの設定画面: 0x%08x", static_cast<unsigned>(hr));
    return hr;
}

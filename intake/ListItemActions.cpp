#include "intake/ListItemActions.h"

#include <shellapi.h>
#include <shlobj.h>

#include "base/LogFile_CL.h"

namespace {
bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

std::wstring SelectInFolderParameters(const std::wstring& path) { return L"/select,\"" + path + L"\""; }

void OpenContainingFolder(const std::wstring& path) {
    wchar_t windows[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, windows))) return;
    const std::wstring explorer = std::wstring(windows) + L"\\EXPLORER.EXE";
    const std::wstring parameters = SelectInFolderParameters(path);
    LogPrintf(L"フォルダを開く %ls %ls", explorer.c_str(), parameters.c_str());
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", explorer.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
    if (result <= 32) LogPrintf(L"フォルダを開けません (%d) \"%ls\"", static_cast<int>(result), path.c_str());
}

std::vector<std::wstring> DeletableFiles(const std::vector<std::wstring>& paths) {
    std::vector<std::wstring> files;
    for (const std::wstring& path : paths) {
        if (path.empty()) continue;
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) continue;
        files.push_back(path);
    }
    return files;
}

HRESULT DeleteMovieFiles(HWND owner, const std::vector<std::wstring>& paths, bool allowUndo,
                         std::vector<std::wstring>* deleted) {
    deleted->clear();
    const std::vector<std::wstring> files = DeletableFiles(paths);
    if (files.empty()) return S_OK;
    std::vector<wchar_t> from;
    for (const std::wstring& file : files) {
        from.insert(from.end(), file.begin(), file.end());
        from.push_back(L'\0');
    }
    from.push_back(L'\0');  // the list ends with an empty path
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.data();
    operation.fFlags = static_cast<FILEOP_FLAGS>(FOF_NOCONFIRMATION | (allowUndo ? FOF_ALLOWUNDO : 0));
    const int result = ::SHFileOperationW(&operation);
    for (const std::wstring& file : files) {
        if (!Exists(file)) deleted->push_back(file);
    }
    if (result != 0) {
        LogPrintf(L"動画ファイルを削除できません (%d)", result);
        return E_FAIL;
    }
    if (operation.fAnyOperationsAborted) return E_ABORT;
    // The shell can answer success and leave a file that another program holds open.
    if (deleted->size() != files.size()) {
        LogPrintf(L"動画ファイルを削除できません (%zu件残る)", files.size() - deleted->size());
        return E_FAIL;
    }
    return S_OK;
}

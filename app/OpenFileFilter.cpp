#include "app/OpenFileFilter.h"

#include <commdlg.h>

#include "base/LogFile_CL.h"

namespace {
constexpr wchar_t kMovieFilesName[] = L"動画ファイル";
constexpr wchar_t kAllFilesName[] = L"すべてのファイル (*.*)";
constexpr wchar_t kOpenFileTitle[] = L"再生したい動画ファイルを選択してください";
}  // namespace

std::wstring OpenFileFilter(const std::vector<std::wstring>& extensions) {
    std::wstring patterns;
    for (const std::wstring& extension : extensions) {
        std::wstring bare = (!extension.empty() && extension[0] == L'.') ? extension.substr(1) : extension;
        // A pattern may not carry the characters that separate patterns or name wildcards.
        if (bare.empty() || bare.find_first_of(L";*?\\/ ") != std::wstring::npos) continue;
        if (!patterns.empty()) patterns += L';';
        patterns += L"*." + bare;
    }
    std::wstring filter;
    if (!patterns.empty()) {
        filter += kMovieFilesName;
        filter += L'\0';
        filter += patterns;
        filter += L'\0';
    }
    filter += kAllFilesName;
    filter += L'\0';
    filter += L"*.*";
    filter += L'\0';
    filter += L'\0';
    return filter;
}

std::wstring FolderOfChosenFile(const std::wstring& path) {
    size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return std::wstring();
    // A file at a drive's root keeps the root's separator: "C:" alone names the drive's
    // current folder, not its root.
    if (separator == 2 && path.size() > 2 && path[1] == L':') return path.substr(0, 3);
    return path.substr(0, separator);
}

bool AskForMovieFile(HWND owner, const std::wstring& filter, const std::wstring& initialFolder, std::wstring* path) {
    std::vector<wchar_t> chosen(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    dialog.lpstrTitle = kOpenFileTitle;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&dialog)) {
        if (DWORD error = ::CommDlgExtendedError()) LogPrintf(L"ファイルを開くダイアログの失敗 (0x%04x)", error);
        return false;
    }
    *path = chosen.data();
    return true;
}

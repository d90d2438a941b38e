#include "app/playlist/PlayListSaving.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/playlist/PlayListRules.h"
#include "base/LogFile_CL.h"
#include "intake/PlayListFiles.h"
#include "intake/PlayList_CL.h"

namespace {
constexpr wchar_t kSaveTitle[] = L"保存先とファイル名を選択してください";
constexpr wchar_t kDefaultName[] = L"新しいプレイリスト";
constexpr wchar_t kDefaultExtension[] = L"playlist";
constexpr wchar_t kUnpackTitle[] = L"zipファイルの展開先とファイル名を選択してください";
constexpr wchar_t kNoticeTitle[] = L"お知らせ";
constexpr wchar_t kArchiveNotice[] =
    L"一覧にzip内部のファイルの中身が含まれています。zip内部の\r\nファイルはプレイリストからは除外されます。";
constexpr wchar_t kUnknownFormat[] =
    L"プレイリストは拡張子 .playlist .asx .wvx .wax のいずれかで保存してください。保存しませんでした。";
constexpr wchar_t kSaveFailed[] = L"プレイリストを保存できませんでした。";

// The common save dialog over owner; false when the user cancelled or it failed (logged).
bool AskForSavePath(HWND owner, const wchar_t* title, const wchar_t* filter, const wchar_t* defaultExtension,
                    const std::wstring& proposedName, std::wstring* path) {
    std::vector<wchar_t> chosen(32768, L'\0');
    proposedName.copy(chosen.data(), std::min(proposedName.size(), chosen.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    if (!::GetSaveFileNameW(&dialog)) {
        if (DWORD error = ::CommDlgExtendedError()) LogPrintf(L"保存ダイアログの失敗 (0x%04x)", error);
        return false;
    }
    *path = chosen.data();
    return true;
}

bool AnyArchiveEntry(const PlayList_CL& list) {
    for (const PlayListItem& item : list.Items()) {
        if (item.inArchive != 0) return true;
    }
    return false;
}
}  // namespace

std::wstring PlayListSaveFilter() {
    static const wchar_t kPairs[][2][32] = {
        {L"テキスト形式(*.playlist)", L"*.playlist"},
        {L"ＸＭＬ形式(*.asx)", L"*.asx"},
        {L"ＸＭＬ形式(*.wvx)", L"*.wvx"},
        {L"ＸＭＬ形式(*.wax)", L"*.wax"},
    };
    std::wstring filter;
    for (const auto& pair : kPairs) {
        filter += pair[0];
        filter += L'\0';
        filter += pair[1];
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

bool AskForUnpackPath(HWND owner, const std::wstring& fileName, std::wstring* path) {
    return AskForSavePath(owner, kUnpackTitle, nullptr, nullptr, fileName, path);
}

std::wstring SaveResultText(HRESULT hr, int leftOut) {
    wchar_t text[256];
    if (FAILED(hr)) {
        std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%ls\r\n(0x%08x)", kSaveFailed, static_cast<unsigned>(hr));
        return text;
    }
    if (leftOut <= 0) return std::wstring();
    std::swprintf(text, sizeof(text) / sizeof(text[0]),
                  L"%d件のファイルは、パスにテキスト形式で書けない文字が含まれるため、プレイリストから除外しました。",
                  leftOut);
    return text;
}

std::wstring SavePlayListWithDialog(HWND owner, const PlayList_CL& list, const std::function<void(bool)>& setModal) {
    setModal(true);
    if (AnyArchiveEntry(list)) ::MessageBoxW(owner, kArchiveNotice, kNoticeTitle, MB_OK | MB_ICONINFORMATION);

    std::wstring path;
    if (!AskForSavePath(owner, kSaveTitle, PlayListSaveFilter().c_str(), kDefaultExtension, kDefaultName, &path)) {
        setModal(false);
        return std::wstring();
    }
    HRESULT hr = S_OK;
    int leftOut = 0;
    switch (SaveFormatOf(path)) {
        case PlayListSaveFormat::kText:
            hr = WriteTextListFile(path, list, &leftOut);
            break;
        case PlayListSaveFormat::kAsx:
            hr = WriteAsxListFile(path, list);
            break;
        case PlayListSaveFormat::kNone:
            // Nothing is written, and the user is told so rather than left believing it saved.
            LogPrintf(L"プレイリスト保存: 形式の分からない拡張子 \"%ls\"", path.c_str());
            ::MessageBoxW(owner, kUnknownFormat, kNoticeTitle, MB_OK | MB_ICONINFORMATION);
            setModal(false);
            return std::wstring();
    }
    LogPrintf(L"プレイリスト保存 \"%ls\" hr=0x%08x 除外=%d", path.c_str(), static_cast<unsigned>(hr), leftOut);
    const std::wstring message = SaveResultText(hr, leftOut);
    if (!message.empty()) {
        ::MessageBoxW(owner, message.c_str(), kNoticeTitle, MB_OK | (FAILED(hr) ? MB_ICONERROR : MB_ICONINFORMATION));
    }
    setModal(false);
    return SUCCEEDED(hr) ? path : std::wstring();
}

#include "app/DataFolderSetup.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/TextFormat.h"
#include "store/Inifile_CL.h"

void PrepareDataFolder() {
    std::wstring root = DataFolder_CL::Root();
    if (root.empty()) return;  // no documents folder: nothing can be kept this run
    ::CreateDirectoryW(root.c_str(), nullptr);

    {
        // The settings are not loaded yet; a private reader looks at the one key it needs.
        Inifile_CL settings;
        settings.Bind(DataFolder_CL::SettingsIniPath());
        LogFile_CL& log = LogFile_CL::Process();
        log.SetPath(DataFolder_CL::LogPath());
        if (settings.GetInt(L"SETTING", L"log_clear_on_startup", 0) != 0) log.Clear();
    }
    LogPrintf(L"%ls", L"\r\n★★★★★ アプリ起動 ★★★★★");
    LogPrintf(L"DataFolderPath = \"%ls\"", root.c_str());

    ::CreateDirectoryW(DataFolder_CL::CaptureFolder().c_str(), nullptr);

    Inifile_CL::CreateIfMissing(DataFolder_CL::SettingsIniPath());
    Inifile_CL::CreateIfMissing(DataFolder_CL::HistoryIniPath());
}

void CreateRecordFolders() {
    std::wstring contents = DataFolder_CL::ContentsFolder();
    if (contents.empty()) return;
    ::CreateDirectoryW(contents.c_str(), nullptr);
    for (int bucket = 0; bucket < kContentBucketCount; ++bucket) {
        ::CreateDirectoryW((contents + FormatString(L"\\%03d", bucket)).c_str(), nullptr);
    }
}

void RemoveZipFolder() {
    if (!DataFolder_CL::IsAbsolutePath(DataFolder_CL::DocumentsFolder())) return;
    const std::wstring zip = DataFolder_CL::ZipFolder();
    if (::GetFileAttributesW(zip.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    std::vector<wchar_t> from(zip.begin(), zip.end());
    from.push_back(L'\0');
    from.push_back(L'\0');  // the list of paths ends with an empty one
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.data();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    ::SHFileOperationW(&op);
}

#pragma once
// Paths of the data folder: the user's Documents folder followed by "\Lumikino". Every path is
// built anew from the platform's answer each time it is needed, as the user may move Documents.

#include <string>

class DataFolder_CL {
public:
    // The folder SHGetFolderPathW reports for CSIDL_PERSONAL; empty when it cannot be had.
    static std::wstring DocumentsFolder();
    // Documents + "\Lumikino"; empty when the documents folder is unknown.
    static std::wstring Root();

    static std::wstring SettingsIniPath();  // "\Lumikino\Lumikino.ini"
    static std::wstring HistoryIniPath();   // "\Lumikino\LumikinoHistory.ini"
    static std::wstring LogPath();          // "\Lumikino\log.txt"
    static std::wstring CaptureFolder();    // "\Lumikino\capture"
    static std::wstring ContentsFolder();   // "\Lumikino\contents"
    static std::wstring ZipFolder();        // "\Lumikino\zip"

    // Pure: true for "C:\..." and "\\server\share\..." paths, false for relative and
    // root-relative ("\Lumikino") ones, which would land on whatever drive is current.
    static bool IsAbsolutePath(const std::wstring& path);

private:
    static std::wstring Under(const wchar_t* tail);
};

constexpr int kContentBucketCount = 100;  // "\contents\000" ... "\contents\099"

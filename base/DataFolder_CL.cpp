#include "base/DataFolder_CL.h"

#include <windows.h>
#include <shlobj.h>

std::wstring DataFolder_CL::DocumentsFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return std::wstring();
    }
    return path;
}

std::wstring DataFolder_CL::Under(const wchar_t* tail) {
    std::wstring documents = DocumentsFolder();
    if (documents.empty()) return std::wstring();
    return documents + tail;
}

std::wstring DataFolder_CL::Root() { return Under(L"\\Lumikino"); }
std::wstring DataFolder_CL::SettingsIniPath() { return Under(L"\\Lumikino\\Lumikino.ini"); }
std::wstring DataFolder_CL::HistoryIniPath() { return Under(L"\\Lumikino\\LumikinoHistory.ini"); }
std::wstring DataFolder_CL::LogPath() { return Under(L"\\Lumikino\\log.txt"); }
std::wstring DataFolder_CL::CaptureFolder() { return Under(L"\\Lumikino\\capture"); }
std::wstring DataFolder_CL::ContentsFolder() { return Under(L"\\Lumikino\\contents"); }
std::wstring DataFolder_CL::ZipFolder() { return Under(L"\\Lumikino\\zip"); }

bool DataFolder_CL::IsAbsolutePath(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) {
        wchar_t drive = path[0];
        return (drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z');
    }
    // A UNC path needs a server name after the two separators.
    return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

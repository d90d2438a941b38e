#include "app/CaptureNaming.h"

#include "base/TextFormat.h"

std::wstring CaptureFolderPath(const std::wstring& dataRoot) {
    std::wstring folder = dataRoot;
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    folder += L"capture";
    return folder;
}

std::wstring CaptureFileName(const SYSTEMTIME& localTime, int sequence) {
    std::wstring name = FormatString(L"capture-%04d-%02d-%02d-%02d-%02d-%02d", localTime.wYear, localTime.wMonth,
                                     localTime.wDay, localTime.wHour, localTime.wMinute, localTime.wSecond);
    if (sequence > kFirstCaptureSequence) name += FormatString(L"-%d", sequence);
    name += L".png";
    return name;
}

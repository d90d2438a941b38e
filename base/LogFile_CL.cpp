#include "base/LogFile_CL.h"

#include <vector>

#include "base/LogSwitches.h"
#include "base/TextFormat.h"
#include "base/UniqueHandle_CL.h"

LogSwitches& ProcessLogSwitches() {
    static LogSwitches switches;
    return switches;
}

LogFile_CL& LogFile_CL::Process() {
    static LogFile_CL log;
    return log;
}

void LogFile_CL::SetPath(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(m_fileLock);
    m_path = path;
}

std::wstring LogFile_CL::Path() const {
    std::lock_guard<std::mutex> lock(m_fileLock);
    return m_path;
}

void LogFile_CL::Clear() {
    std::lock_guard<std::mutex> lock(m_fileLock);
    if (m_path.empty()) return;
    FileHandle_CL file(::CreateFileW(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::wstring LogFile_CL::FormatLine(const SYSTEMTIME& t, const wchar_t* format, va_list args) {
    wchar_t line[kLineUnits];
    int prefixUnits = std::swprintf(line, kLineUnits, L"%04d/%02d/%02d %02d:%02d:%02d.%03d : ",
                                    t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                                    t.wMilliseconds);
    if (prefixUnits < 0) prefixUnits = 0;
    size_t messageUnits = FormatBounded(line + prefixUnits, kMessageUnits, format, args);
    return std::wstring(line, static_cast<size_t>(prefixUnits) + messageUnits);
}

void LogFile_CL::Print(const wchar_t* format, va_list args) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    PrintAt(now, format, args);
}

void LogFile_CL::PrintAt(const SYSTEMTIME& localTime, const wchar_t* format, va_list args) {
    if (Path().empty()) return;
    AppendLine(FormatLine(localTime, format, args));
}

void LogFile_CL::AppendLine(const std::wstring& line) {
    std::lock_guard<std::mutex> lock(m_fileLock);
    if (m_path.empty()) return;
    FileHandle_CL file(::CreateFileW(m_path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return;  // the line is lost; nothing to report it to
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return;
    if (size.QuadPart > kMaxSizeBytes) {
        file.Reset(::CreateFileW(m_path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, TRUNCATE_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid()) return;
        size.QuadPart = 0;
    }
    // One write per line: the mark (for an empty file), the text and CR LF go out together,
    // so another process appending to the same log cannot split the line.
    std::vector<wchar_t> bytes;
    bytes.reserve(line.size() + 3);
    if (size.QuadPart == 0) bytes.push_back(L'\xFEFF');
    bytes.insert(bytes.end(), line.begin(), line.end());
    bytes.push_back(L'\r');
    bytes.push_back(L'\n');
    DWORD written = 0;
    ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size() * sizeof(wchar_t)), &written,
                nullptr);
}

void LogPrintf(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    LogFile_CL::Process().Print(format, args);
    va_end(args);
}

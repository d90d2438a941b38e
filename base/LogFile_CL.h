#pragma once
// The trace log "log.txt": UTF-16 LE lines, each prefixed with the local time to the
// millisecond, appended one line per open so that the trace survives a crash.

#include <windows.h>

#include <cstdarg>
#include <mutex>
#include <string>

class LogFile_CL {
public:
    static constexpr LONGLONG kMaxSizeBytes = 33554432;  // 32 MiB; the next line starts afresh
    static constexpr size_t kLineUnits = 1300;           // prefix and message together
    static constexpr size_t kMessageUnits = 1040;        // message, terminator included

    // The one log of the process.
    static LogFile_CL& Process();

    // Thread: UI, at start-up before other threads run. Lines are written only once a path is set.
    void SetPath(const std::wstring& path);
    std::wstring Path() const;

    // Thread: any. Empties the file (the start-up clear).
    void Clear();

    // Thread: any. Appends one line: time prefix, the formatted message, CR LF.
    void Print(const wchar_t* format, va_list args);
    // Thread: any. The same with a given time, so the format can be checked exactly.
    void PrintAt(const SYSTEMTIME& localTime, const wchar_t* format, va_list args);

    // Pure: the text of one line without its CR LF, cut to the buffer sizes above.
    static std::wstring FormatLine(const SYSTEMTIME& localTime, const wchar_t* format, va_list args);

private:
    void AppendLine(const std::wstring& line);

    // Guards the open-size check-truncate-append sequence, so lines of different threads
    // never interleave and two threads crossing the size limit truncate only once.
    mutable std::mutex m_fileLock;
    std::wstring m_path;  // under m_fileLock
};

// Appends one line to the process's trace log. Thread: any. The format must be a literal.
void LogPrintf(const wchar_t* format, ...);

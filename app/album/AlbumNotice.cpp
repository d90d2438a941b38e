#include "app/album/AlbumNotice.h"

#include <cstring>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"

namespace {

bool TraceOn() { return ProcessLogSwitches().log_detail_other; }

// The first top-level window of the class and title that is not except.
HWND FindTopLevel(const wchar_t* windowClass, const wchar_t* title, HWND except) {
    HWND found = ::FindWindowExW(nullptr, nullptr, windowClass, title);
    if (found && found == except) found = ::FindWindowExW(nullptr, found, windowClass, title);
    return found;
}

}  // namespace

bool BuildAlbumNoticeRecord(const std::wstring& moviePath, AlbumNoticeRecord& out) {
    out = AlbumNoticeRecord{};
    if (moviePath.empty() || moviePath.size() + 1 > kAlbumNoticePathUnits) return false;
    if (moviePath.find(L'\0') != std::wstring::npos) return false;
    out.magic = kAlbumNoticeMagic;
    out.length = static_cast<uint32_t>(moviePath.size());
    std::memcpy(out.path, moviePath.data(), moviePath.size() * sizeof(wchar_t));
    return true;
}

HWND FindAlbumWindow(HWND except) {
    HWND window = FindTopLevel(kAlbumWindowClass, kAlbumWindowTitle, except);
    // Older album applications registered a generic class name under the same title.
    if (!window) window = FindTopLevel(kAlbumWindowOlderClass, kAlbumWindowTitle, except);
    return window;
}

AlbumNoticeResult SendAlbumNotice(HWND sender, const std::wstring& moviePath, UINT timeoutMs) {
    AlbumNoticeRecord record;
    if (!BuildAlbumNoticeRecord(moviePath, record)) {
        if (TraceOn()) LogPrintf(L"AlbumNotice(skipped: no record of the path) = %ls", moviePath.c_str());
        return AlbumNoticeResult::BadPath;
    }
    HWND album = FindAlbumWindow(sender);
    if (!album) {
        if (TraceOn()) LogPrintf(L"AlbumNotice(skipped: no album window) = %ls", moviePath.c_str());
        return AlbumNoticeResult::NoWindow;
    }
    COPYDATASTRUCT data{};
    data.dwData = kAlbumNoticeMagic;
    data.cbData = sizeof(record);
    data.lpData = &record;
    DWORD_PTR answer = 0;
    ::SetLastError(ERROR_SUCCESS);
    LRESULT sent = ::SendMessageTimeoutW(album, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                                         reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_NORMAL,
                                         timeoutMs, &answer);
    if (sent) {
        if (TraceOn()) LogPrintf(L"AlbumNotice(sent) hwnd=%p = %ls", static_cast<void*>(album), moviePath.c_str());
        return AlbumNoticeResult::Sent;
    }
    DWORD error = ::GetLastError();
    // ERROR_TIMEOUT, or no error code at all on older systems, is a time-out (or a hung window).
    if (error == ERROR_TIMEOUT || error == ERROR_SUCCESS) {
        LogPrintf(L"AlbumNotice(timed out after %u ms) hwnd=%p = %ls", timeoutMs, static_cast<void*>(album),
                  moviePath.c_str());
        return AlbumNoticeResult::TimedOut;
    }
    LogPrintf(L"AlbumNotice(failed 0x%08x) hwnd=%p = %ls", static_cast<unsigned>(HRESULT_FROM_WIN32(error)),
              static_cast<void*>(album), moviePath.c_str());
    return AlbumNoticeResult::Failed;
}

std::function<void(const std::wstring& moviePath)> AlbumNoticeSender(HWND sender) {
    return [sender](const std::wstring& moviePath) { SendAlbumNotice(sender, moviePath); };
}

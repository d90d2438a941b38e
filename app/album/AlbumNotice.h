#pragma once
// The change notice to the album application: one WM_COPYDATA that names the movie whose tags,
// play count or rating the player has just written, so the album application reads that
// movie's record again. The record below is a wire format shared with that application: never
// reorder or resize it.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

constexpr uint32_t kAlbumNoticeMagic = 0x58424E51;  // in dwData and again at offset 0
constexpr size_t kAlbumNoticePathUnits = 260;         // MAX_PATH, terminator included
constexpr UINT kAlbumNoticeTimeoutMs = 2000;          // a hung album application must not stall the player

// The album application's window: class and title, tried in this order.
constexpr wchar_t kAlbumWindowClass[] = L"Kinoshelf";
constexpr wchar_t kAlbumWindowOlderClass[] = L"MainWindowClass";
constexpr wchar_t kAlbumWindowTitle[] = L"Kinoshelf";

struct AlbumNoticeRecord {
    uint32_t magic = 0;
    uint32_t length = 0;                        // characters of path, without the terminator
    wchar_t path[kAlbumNoticePathUnits] = {};   // NUL-terminated, the rest zero
};

static_assert(sizeof(wchar_t) == 2, "the path is UTF-16 on the wire");
static_assert(sizeof(AlbumNoticeRecord) == 528, "the change notice is a wire format");
static_assert(offsetof(AlbumNoticeRecord, magic) == 0, "wire offset");
static_assert(offsetof(AlbumNoticeRecord, length) == 4, "wire offset");
static_assert(offsetof(AlbumNoticeRecord, path) == 8, "wire offset");

// Pure: the record for a movie path. False, with out zeroed, for an empty path, a path with a
// NUL inside, and a path whose characters and terminator do not fit the 260-character field:
// the album application matches the exact path, so a cut one would name another movie.
bool BuildAlbumNoticeRecord(const std::wstring& moviePath, AlbumNoticeRecord& out);

// The album application's top-level window: class "Kinoshelf", else class "MainWindowClass",
// both titled "Kinoshelf"; never the window except (the sender itself). Null when none runs.
// Thread: any.
HWND FindAlbumWindow(HWND except = nullptr);

enum class AlbumNoticeResult {
    Sent,         // the album application took the message
    NoWindow,     // no album application runs: not an error
    BadPath,      // no record could be made of the path
    TimedOut,     // the album application did not answer in time (or hangs)
    Failed,       // the send failed for another reason
};

// Thread: UI (it waits up to timeoutMs for the album application). Sends the notice for
// moviePath from sender (the player's main window; it travels in wParam) and writes a line to
// the trace log: sent and skipped ones with the detail switch for other events on, a time-out
// or a failure always.
AlbumNoticeResult SendAlbumNotice(HWND sender, const std::wstring& moviePath,
                                  UINT timeoutMs = kAlbumNoticeTimeoutMs);

// A sender for the record store's album hook (ContentRecords_CL::SetAlbumNotice), so that
// passing a rating on to the album's copies also tells the album application.
std::function<void(const std::wstring& moviePath)> AlbumNoticeSender(HWND sender);

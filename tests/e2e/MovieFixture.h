#pragma once
// The fixture of the end-to-end tests that play movies: test movies whose frames show their
// number, the player started and closed, its records, settings and log read back, and the
// frame shown on the screen.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>  // DROPFILES

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/MoviePlayWindow_CL.h"
#include "base/UniqueHandle_CL.h"
#include "store/ContentRecordKeys.h"
#include "store/Inifile_CL.h"
#include "tests/e2e/PlayerFixture.h"
#include "tests/support/AviWriter_CL.h"
#include "tests/support/FrameNumberReader_CL.h"
#include "tests/support/ScreenPicture_CL.h"
#include "tests/support/TempFolder_CL.h"
#include "tests/support/UserInput.h"

constexpr int64_t kSecond = 10'000'000;
constexpr int kFramesPerSecond = 10;

// The player's own texts on the picture stay, but the title box over its top-left corner is
// turned off so the frame numbers read cleanly; the key trace shows which keys arrived, the
// step and rate traces what the player did with them.
constexpr wchar_t kPictureSettings[] =
    L"[SETTING]\r\nenable_title=0\r\nenable_playtime=0\r\nlog_detail_other=1\r\nlog_detail_audio=1\r\n";

inline AviMovieSpec MovieOf(int seconds, int width, int height) {
    AviMovieSpec movieSpec;
    movieSpec.width = width;
    movieSpec.height = height;
    movieSpec.frameRateNum = kFramesPerSecond;
    movieSpec.frameCount = seconds * kFramesPerSecond;
    movieSpec.withAudio = true;
    return movieSpec;
}

inline HWND VideoWindowOf(HWND mainWindow) { return ::GetDlgItem(mainWindow, MoviePlayWindow_CL::kControlId); }

// The thumbnail strip: the main window's other child numbered like the video window.
inline HWND StripWindowOf(HWND mainWindow) {
    HWND video = VideoWindowOf(mainWindow);
    for (HWND child = ::GetWindow(mainWindow, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (child != video && ::GetDlgCtrlID(child) == MoviePlayWindow_CL::kControlId) return child;
    }
    return nullptr;
}

// The frame the video window shows; with overlayClear, read around the control bar and the
// texts on the picture (for a large picture, where they cover the number's cells).
inline int ShownFrame(const FrameNumberReader_CL& reader, HWND video, bool overlayClear = false) {
    const BgrxPicture shot = ScreenPicture_CL::CaptureClient(video);
    if (!overlayClear) return reader.Read(shot);
    return reader.Read(shot, FrameNumberReader_CL::PlayerOverlayAreas(shot.width, shot.height));
}

// Waits until the picture shows a frame that accept takes; *frame gets the last frame read.
inline bool WaitForFrame(const FrameNumberReader_CL& reader, HWND video, const std::function<bool(int)>& accept,
                         DWORD timeoutMs, int* frame = nullptr, bool overlayClear = false) {
    int last = -1;
    const bool accepted = WaitUntil(
        [&] {
            const int shown = ShownFrame(reader, video, overlayClear);
            if (shown >= 0) last = shown;
            return shown >= 0 && accept(shown);
        },
        timeoutMs);
    if (frame) *frame = last;
    return accepted;
}

inline bool AnyFrame(int) { return true; }

// The player's coloured message line (a bright green text centred on the picture): the
// columns it spans, or 0 when no message is shown.
inline int MessageWidthPx(HWND video) {
    const BgrxPicture picture = ScreenPicture_CL::CaptureClient(video);
    if (picture.IsEmpty()) return 0;
    int left = picture.width, right = -1, pixels = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.At(x, y);
            if (p[1] >= 200 && p[2] <= 60 && p[0] <= 60) {
                left = std::min(left, x);
                right = std::max(right, x);
                ++pixels;
            }
        }
    }
    return pixels >= 50 ? right - left + 1 : 0;
}

// A top-level window of the process with the class (and, when given, the caption); visible
// ones only when asked. Null when there is none.
inline HWND FindProcessWindow(DWORD processId, const wchar_t* className, const std::wstring* caption,
                              bool visibleOnly) {
    struct Search {
        DWORD processId;
        const wchar_t* className;
        const std::wstring* caption;
        bool visibleOnly;
        HWND found;
    } search{processId, className, caption, visibleOnly, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            wchar_t className[32] = {}, text[128] = {};
            ::GetClassNameW(window, className, 32);
            if (owner != s->processId || std::wcscmp(className, s->className) != 0) return TRUE;
            // Only then the text: for a window of this process it is asked of the window's
            // thread, which may be one a test keeps from answering.
            ::GetWindowTextW(window, text, 128);
            if (s->caption && *s->caption != text) return TRUE;
            if (s->visibleOnly && !::IsWindowVisible(window)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A dialog of the process by its caption.
inline HWND FindDialog(DWORD processId, const std::wstring& caption) {
    return FindProcessWindow(processId, L"#32770", &caption, false);
}

// Hands paths to the player as the shell does when files are dropped on its window: a
// DROPFILES block in the player's own memory, its address as the message's wParam.
inline bool PostDrop(const PlayerProcess_CL& player, HWND window, const std::vector<std::wstring>& paths) {
    std::vector<uint8_t> block(sizeof(DROPFILES));
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    for (const std::wstring& path : paths) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(path.c_str());
        block.insert(block.end(), bytes, bytes + (path.size() + 1) * sizeof(wchar_t));
    }
    block.insert(block.end(), sizeof(wchar_t), 0);  // the list ends with an empty path
    KernelHandle_CL process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                                          FALSE, player.ProcessId()));
    if (!process.IsValid()) return false;
    // The block stays with the player: it reads it when the message arrives, and it goes
    // with the process.
    void* remote = ::VirtualAllocEx(process.Get(), nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    SIZE_T written = 0;
    if (!::WriteProcessMemory(process.Get(), remote, block.data(), block.size(), &written) ||
        written != block.size()) {
        return false;
    }
    return ::PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != FALSE;
}

// Types a full path into the common save dialog's file name box and presses its OK button.
inline bool ChooseInSaveDialog(HWND save, const std::wstring& path) {
    HWND name = ::GetDlgItem(save, 0x47C);  // the file name box (a combo box holding an edit)
    if (!name) name = ::GetDlgItem(save, 0x480);
    if (!name) return false;
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    return ::PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) != FALSE;
}

class MovieFixture : public PlayerFixture {
protected:
    std::wstring WriteMovie(const std::wstring& name, const AviMovieSpec& movieSpec) {
        const std::wstring path = m_movies.Join(name);
        std::string error;
        EXPECT_TRUE(AviWriter_CL::Write(path, movieSpec, &error)) << error;
        return path;
    }

    // The content record of a movie (found by the movie path it keeps), or empty.
    std::wstring RecordOf(const std::wstring& moviePath) const {
        for (const std::wstring& path : ContentRecordPaths()) {
            Inifile_CL record;
            record.Bind(path);
            if (record.GetString(kSectionMovieInfo, kKeyLinkName, L"") == moviePath) return path;
        }
        return std::wstring();
    }

    int RecordInt(const std::wstring& moviePath, const wchar_t* key) const {
        const std::wstring path = RecordOf(moviePath);
        if (path.empty()) return -100;
        Inifile_CL record;
        record.Bind(path);
        return record.GetInt(kSectionMovieInfo, key, -100);
    }

    int PlayCountOf(const std::wstring& moviePath) const { return RecordInt(moviePath, kKeyPlayCount); }

    int64_t LastPlayFrameOf(const std::wstring& moviePath) const {
        const std::wstring path = RecordOf(moviePath);
        if (path.empty()) return -100;
        Inifile_CL record;
        record.Bind(path);
        return record.GetHex64(kSectionMovieInfo, kKeyLastPlayFrame, -100);
    }

    int SettingInt(const wchar_t* section, const wchar_t* key) const {
        Inifile_CL settings;
        settings.Bind(DataPath(L"Lumikino.ini"));
        return settings.GetInt(section, key, -100);
    }

    size_t LogCount(const std::wstring& text) const {
        const std::wstring log = Log();
        size_t count = 0;
        for (size_t at = log.find(text); at != std::wstring::npos; at = log.find(text, at + text.size())) ++count;
        return count;
    }

    bool WaitForLogCount(const std::wstring& text, size_t count, DWORD timeoutMs = 10000) const {
        return WaitUntil([&] { return LogCount(text) >= count; }, timeoutMs);
    }

    // Lines of the log that hold both texts.
    size_t LogLines(const std::wstring& first, const std::wstring& second) const {
        size_t count = 0;
        for (const std::wstring& line : SplitLines(Log())) {
            count += line.find(first) != std::wstring::npos && line.find(second) != std::wstring::npos;
        }
        return count;
    }

    // The rate changes the fast ladder asked for, by their target rate ("1.200").
    size_t FastRateChanges(const std::wstring& target) const {
        return LogLines(L"First: SetRate前GetRate=", L" target=" + target);
    }

    // Starts the player and returns its main window (null when it did not appear).
    HWND StartPlayer(PlayerProcess_CL* player, const std::vector<std::wstring>& args) {
        ::SetCursorPos(1, 1);  // away from the picture and its control bar
        if (!player->Start(args)) return nullptr;
        return player->WaitForMainWindow(kStartTimeoutMs);
    }

    // Starts the player and waits until its picture shows a frame that accept takes (within
    // 20 s); the main window, or null when either did not happen.
    HWND StartPlayingUntil(PlayerProcess_CL* player, const std::vector<std::wstring>& args,
                           const FrameNumberReader_CL& reader, const std::function<bool(int)>& accept = AnyFrame) {
        HWND window = StartPlayer(player, args);
        if (!window || !WaitForFrame(reader, VideoWindowOf(window), accept, 20000)) return nullptr;
        return window;
    }

    void ClosePlayer(PlayerProcess_CL* player) {
        ASSERT_TRUE(player->PostClose());
        DWORD exitCode = 1;
        ASSERT_TRUE(player->WaitForExit(kExitTimeoutMs, &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    bool PostKey(PlayerProcess_CL* player, WPARAM key) { return player->PostToWindow(WM_KEYDOWN, key, 1); }

    // ---- pop-up menus, opened and walked as a user does ----

    // The player's visible pop-up menu ("#32768"), or null.
    static HWND MenuOf(const PlayerProcess_CL& player) {
        return FindProcessWindow(player.ProcessId(), L"#32768", nullptr, true);
    }

    // Right-clicks target at a client point and waits for the menu. Under Xvfb an injected
    // click right after a menu has closed is now and then lost before it reaches any window: a
    // click the player never saw (no seenTrace written; with no trace, no menu within 3 s) is
    // made again, but one it saw must open the menu.
    bool OpenMenu(const PlayerProcess_CL& player, HWND window, HWND target, POINT client,
                  const std::wstring& seenTrace) const {
        ::ClientToScreen(target, &client);
        for (int attempt = 0; attempt < 3; ++attempt) {
            const size_t before = seenTrace.empty() ? 0 : LogCount(seenTrace);
            MouseTo(client);
            RightButton(true);
            RightButton(false);
            if (seenTrace.empty()) {
                if (!WaitUntil([&] { return MenuOf(player) != nullptr; }, 3000)) continue;
            } else {
                if (!WaitUntil([&] { return LogCount(seenTrace) > before; }, 2000)) continue;
                if (!WaitUntil([&] { return MenuOf(player) != nullptr; }, kMenuTimeoutMs)) return false;
            }
            // The menu's own loop answers a sent message once it runs: keys typed from then on
            // reach the menu, not whatever had the keyboard before it.
            DWORD_PTR answer = 0;
            return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer) != 0;
        }
        return false;
    }

    // Walks the open menu with the keys and chooses the item reached, which must be command;
    // returns once the player has carried it out: its trace "<menuTrace>(0x....) ran=1" is
    // written after the command.
    bool ChooseWithKeys(const PlayerProcess_CL& player, std::initializer_list<WORD> keys, const wchar_t* menuTrace,
                        WORD command) const {
        wchar_t trace[64];
        swprintf(trace, 64, L"%ls(0x%04x) ran=1", menuTrace, command);
        const size_t before = LogCount(trace);
        for (WORD key : keys) PressKey(key);
        PressKey(VK_RETURN);
        const bool chosen = WaitUntil([&] { return MenuOf(player) == nullptr && LogCount(trace) > before; },
                                      kMenuTimeoutMs);
        ::SetCursorPos(1, 1);  // away from the picture and its control bar again
        if (!chosen) {
            for (const std::wstring& line : SplitLines(Log())) {
                if (line.find(menuTrace) != std::wstring::npos || line.find(L"Key") != std::wstring::npos ||
                    line.find(L"BUTTON") != std::wstring::npos) {
                    std::string narrow;
                    for (wchar_t c : line) narrow += c < 128 ? static_cast<char>(c) : '?';
                    std::printf("  %s\n", narrow.c_str());
                }
            }
            std::printf("  menu open: %d\n", MenuOf(player) != nullptr ? 1 : 0);
        }
        return chosen;
    }

    // Opens a menu and chooses an item with the keys. Under Xvfb the first keys now and then
    // land before the menu takes the keyboard; then the menu is closed and walked once more
    // (what a user would do). The lines printed show what the player saw.
    bool ChooseFromMenu(const PlayerProcess_CL& player, HWND window, HWND target, POINT client,
                        const std::wstring& seenTrace, std::initializer_list<WORD> keys, const wchar_t* menuTrace,
                        WORD command) const {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!OpenMenu(player, window, target, client, seenTrace)) return false;
            if (ChooseWithKeys(player, keys, menuTrace, command)) return true;
            for (int i = 0; i < 3 && MenuOf(player); ++i) PressKey(VK_ESCAPE);
            if (!WaitUntil([&] { return MenuOf(player) == nullptr; }, kMenuTimeoutMs)) return false;
        }
        return false;
    }

    // The player's visible pop-up menus, the one in front first (an open sub-menu before the
    // menu it belongs to).
    static std::vector<HWND> MenusOf(const PlayerProcess_CL& player) {
        struct Search {
            DWORD processId;
            std::vector<HWND> found;
        } search{player.ProcessId(), {}};
        ::EnumWindows(
            [](HWND window, LPARAM parameter) -> BOOL {
                auto* s = reinterpret_cast<Search*>(parameter);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                wchar_t className[32] = {};
                ::GetClassNameW(window, className, 32);
                if (owner == s->processId && std::wcscmp(className, L"#32768") == 0 && ::IsWindowVisible(window)) {
                    s->found.push_back(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // Clicks item index of a menu of count items of one height (a menu without separators).
    static void ClickMenuItem(HWND menu, int index, int count) {
        RECT client{};
        ::GetClientRect(menu, &client);
        POINT point{client.right / 2, static_cast<LONG>((2 * index + 1) * client.bottom / (2 * count))};
        ::ClientToScreen(menu, &point);
        MouseTo(point);
        LeftButton(true);
        LeftButton(false);
    }

    // With the mouse, in the open menu: opens item index of count, a sub-menu, and returns the
    // sub-menu's window (null when it did not open). A click the menu never saw (no sub-menu
    // within 3 s) is made again.
    HWND OpenSubMenuWithMouse(const PlayerProcess_CL& player, int index, int count) const {
        const std::vector<HWND> open = MenusOf(player);
        if (open.size() != 1) return nullptr;
        HWND sub = nullptr;
        for (int attempt = 0; attempt < 3 && !sub; ++attempt) {
            ClickMenuItem(open[0], index, count);
            WaitUntil([&] {
                const std::vector<HWND> now = MenusOf(player);
                sub = now.size() == 2 ? (now[0] != open[0] ? now[0] : now[1]) : nullptr;
                return sub != nullptr;
            }, 3000);
        }
        return sub;
    }

    // With the mouse: the sub-menu of item index of count, and in it item subIndex of
    // subCount, which must be command; returns once the player has carried it out (as
    // ChooseWithKeys).
    bool ChooseWithMouse(const PlayerProcess_CL& player, int index, int count, int subIndex, int subCount,
                         const wchar_t* menuTrace, WORD command) const {
        HWND sub = OpenSubMenuWithMouse(player, index, count);
        if (!sub) return false;
        wchar_t trace[64];
        swprintf(trace, 64, L"%ls(0x%04x) ran=1", menuTrace, command);
        const size_t before = LogCount(trace);
        ClickMenuItem(sub, subIndex, subCount);
        const bool chosen = WaitUntil([&] { return MenuOf(player) == nullptr && LogCount(trace) > before; },
                                      kMenuTimeoutMs);
        ::SetCursorPos(1, 1);
        return chosen;
    }

    // The picture menu, right-clicked on the bare picture (clear of the control bar's rows);
    // returns once the command has run to its end (the menu's trace comes before it).
    bool ChooseFromPictureMenu(const PlayerProcess_CL& player, HWND window, std::initializer_list<WORD> keys,
                               WORD command) const {
        HWND video = VideoWindowOf(window);
        RECT client{};
        ::GetClientRect(video, &client);
        wchar_t finished[64];
        swprintf(finished, 64, L"PictureMenu(0x%04x) finished", command);
        const size_t before = LogCount(finished);
        return ChooseFromMenu(player, window, video, POINT{client.right / 5, client.bottom * 2 / 5},
                              L"WM_RBUTTONUP(trace)", keys, L"PictureMenu", command) &&
               WaitUntil([&] { return LogCount(finished) > before; }, kMenuTimeoutMs);
    }

    static constexpr DWORD kMenuTimeoutMs = 10000;

    TempFolder_CL m_movies;
};

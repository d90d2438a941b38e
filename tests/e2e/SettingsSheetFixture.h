#pragma once
// The fixture of the end-to-end tests of the settings sheets: the sheets found, their tabs read
// and their pages shown, controls clicked with the real mouse until they answer, the settings
// file read back.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/MovieFixture.h"
#include "tests/e2e/RemoteMemory.h"
#include "tests/support/IniMap.h"


inline constexpr wchar_t kAppSheet[] = L"アプリケーションの設定";
inline constexpr wchar_t kContentSheet[] = L"コンテンツの設定";
// The picture's settings, and the load's trace whose last line says a movie is ready.
inline const std::wstring kSettings = std::wstring(kPictureSettings) + L"log_detail_graph=1\r\n";

// A window's text as the window itself answers it (an edit's typed text included).
inline std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    ::SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

inline RECT ScreenRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

inline POINT Centre(HWND window) {
    const RECT rect = ScreenRect(window);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The children of a page of one class, with their texts, top to bottom.
inline std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* className) {
    struct Found {
        const wchar_t* className;
        std::vector<HWND> windows;
    } found{className, {}};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* f = reinterpret_cast<Found*>(param);
            wchar_t name[64] = {};
            ::GetClassNameW(child, name, 64);
            if (std::wstring(name) == f->className) f->windows.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    std::stable_sort(found.windows.begin(), found.windows.end(),
                     [](HWND a, HWND b) { return ScreenRect(a).top < ScreenRect(b).top; });
    return found.windows;
}

inline std::vector<std::wstring> GroupCaptions(HWND page) {
    std::vector<std::wstring> captions;
    for (HWND button : ChildrenOf(page, L"Button")) {
        if ((::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) captions.push_back(TextOf(button));
    }
    return captions;
}

inline HWND ChildWithText(HWND page, const wchar_t* className, const std::wstring& text) {
    return ::FindWindowExW(page, nullptr, className, text.c_str());
}

class SettingsSheetFixture : public MovieFixture {
protected:
    // The sheet with the caption once it shows and lies on top where the user would click.
    HWND WaitForSheet(const PlayerProcess_CL& player, const std::wstring& caption) const {
        HWND sheet = nullptr;
        WaitUntil(
            [&] {
                sheet = FindProcessWindow(player.ProcessId(), L"#32770", &caption, true);
                return sheet && ::GetAncestor(::WindowFromPoint(Centre(sheet)), GA_ROOT) == sheet;
            },
            15000);
        return sheet;
    }

    // The tab titles, read through a buffer in the player.
    std::vector<std::wstring> TabTitles(const PlayerProcess_CL& player, HWND sheet) const {
        HWND tabs = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        constexpr size_t kUnits = 128;
        RemoteMemory memory(player.ProcessId(), sizeof(TCITEMW) + kUnits * sizeof(wchar_t));
        std::vector<std::wstring> titles;
        const int count = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = reinterpret_cast<wchar_t*>(memory.At(sizeof(TCITEMW)));
            item.cchTextMax = kUnits;
            std::vector<wchar_t> text(kUnits, L'\0');
            if (!memory.Write(&item, sizeof(item)) || !::SendMessageW(tabs, TCM_GETITEMW, i, memory.Param()) ||
                !memory.Read(text.data(), kUnits * sizeof(wchar_t), sizeof(TCITEMW))) {
                titles.push_back(L"<unreadable>");
                continue;
            }
            titles.push_back(text.data());
        }
        return titles;
    }

    // The window with the keyboard focus in the player's user-interface thread.
    static HWND FocusOf(const PlayerProcess_CL& player) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        const DWORD thread = ::GetWindowThreadProcessId(player.MainWindow(), nullptr);
        return ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    }

    static HWND ShowPage(HWND sheet, int index) {
        ::SendMessageW(sheet, PSM_SETCURSEL, index, 0);
        return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }

    // A click of the real mouse on the middle of a control.
    static void Click(HWND control) {
        MouseTo(Centre(control));
        LeftButton(true);
        LeftButton(false);
    }

    // Clicks until the control shows the click's effect. Under Xvfb an injected click right
    // after a menu or a window closed is now and then lost before any window sees it; a user
    // would click again.
    static bool ClickUntil(HWND control, const std::function<bool()>& done) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            Click(control);
            if (WaitUntil(done, 2000)) return true;
        }
        return false;
    }

    // Every control of a page lies inside the page, which lies inside the sheet.
    static void ExpectControlsInside(HWND sheet, HWND page) {
        const RECT pageRect = ScreenRect(page), sheetRect = ScreenRect(sheet);
        EXPECT_TRUE(pageRect.left >= sheetRect.left && pageRect.right <= sheetRect.right &&
                    pageRect.top >= sheetRect.top && pageRect.bottom <= sheetRect.bottom);
        for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const RECT rect = ScreenRect(child);
            EXPECT_TRUE(rect.left >= pageRect.left && rect.right <= pageRect.right && rect.top >= pageRect.top &&
                        rect.bottom <= pageRect.bottom)
                << "a control sticks out of its page: \"" << std::string(TextOf(child).size(), '?') << "\"";
        }
    }

    IniMap Settings() const { return ReadIniMap(DataPath(L"Lumikino.ini")); }

    // The last lines of the player's log, for a failure's story.
    void PrintLogTail(size_t count) const {
        const std::vector<std::wstring> lines = SplitLines(Log());
        for (size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i) {
            std::string narrow;
            for (wchar_t c : lines[i]) narrow += c < 128 ? static_cast<char>(c) : '?';
            std::printf("  %s\n", narrow.c_str());
        }
    }

    // The settings, and the player's window where a sheet fits centred over it.
    void WriteSettingsAndPlace(const std::wstring& settings) {
        WriteSettings(settings);
        RECT rect{400, 200, 1240, 860};
        ASSERT_TRUE(::WritePrivateProfileStructW(L"WINDOW", L"rect", &rect, sizeof(rect), DataPath(L"Lumikino.ini").c_str()));
    }

    // The player started on a new test movie of the given length, once it is loaded; null
    // when it did not come.
    HWND StartOnMovie(PlayerProcess_CL* player, const std::wstring& name, int seconds, std::wstring* movie) {
        WriteSettingsAndPlace(kSettings);
        *movie = WriteMovie(name, MovieOf(seconds, 320, 180));
        HWND window = StartPlayer(player, {*movie});
        return window && WaitForLog(L"SetContent2(完了)") ? window : nullptr;
    }

    // Clicks a sheet's button (OK, キャンセル, 適用) with the mouse once it can be pressed,
    // until done shows it was.
    static bool PressSheetButton(HWND sheet, int id, const std::function<bool()>& done) {
        HWND button = ::GetDlgItem(sheet, id);
        if (!button || !WaitUntil([&] { return ::IsWindowEnabled(button) != FALSE; }, 5000)) return false;
        return ClickUntil(button, done);
    }

    // The sum of a screen area's pixels, to see whether something was drawn there.
    static uint64_t AreaSum(HWND window, const RECT& area) {
        const BgrxPicture picture = ScreenPicture_CL::CaptureClient(window);
        uint64_t sum = 0;
        for (LONG y = area.top; y < area.bottom && y < picture.height; ++y) {
            for (LONG x = area.left; x < area.right && x < picture.width; ++x) {
                const uint8_t* pixel = picture.At(x, y);
                sum += pixel[0] + pixel[1] * 3u + pixel[2] * 7u;
            }
        }
        return sum;
    }

    static constexpr int kApplyButton = 0x3021;
};

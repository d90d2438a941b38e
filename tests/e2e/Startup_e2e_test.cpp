// The real program under Wine: first start, hand-off to a running instance, duplicate
// launches, closing, malformed hand-off records and the keyboard rules of the message loop.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <thread>

#include "app/LaunchRequest.h"
#include "base/TextFormat.h"
#include "tests/e2e/PlayerFixture.h"

namespace {
std::string Bom() { return std::string("\xFF\xFE", 2); }
}  // namespace

using StartupEndToEnd = PlayerFixture;

TEST_F(StartupEndToEnd, FirstStartBuildsTheDataFolderAndWritesOnlyTheStartLines) {
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({}));
    ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);

    EXPECT_TRUE(FolderExists(DataPath(L"capture")));
    // The record folders are made once the window shows, before the first message is handled.
    EXPECT_TRUE(WaitUntil([&] { return FolderExists(DataPath(L"contents\\099")); }, 5000));
    for (int bucket = 0; bucket < 100; ++bucket) {
        EXPECT_TRUE(FolderExists(DataPath(FormatString(L"contents\\%03d", bucket)))) << bucket;
    }
    EXPECT_FALSE(FolderExists(DataPath(L"contents\\100")));
    EXPECT_EQ(ReadFileBytes(DataPath(L"Lumikino.ini")), Bom());
    EXPECT_EQ(ReadFileBytes(DataPath(L"LumikinoHistory.ini")), Bom());

    std::string rawLog = ReadFileBytes(DataPath(L"log.txt"));
    ASSERT_GE(rawLog.size(), 2u);
    EXPECT_EQ(rawLog.substr(0, 2), Bom());
    std::vector<std::wstring> lines = SplitLines(Log());
    // The banner starts with CR LF, so its logged line spans two text lines.
    ASSERT_EQ(lines.size(), 3u) << "log:\n" << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0].size(), std::wstring(L"2024/03/05 07:08:09.004 : ").size());
    EXPECT_EQ(lines[1], L"★★★★★ アプリ起動 ★★★★★");
    EXPECT_NE(lines[2].find(L" : DataFolderPath = \""), std::wstring::npos);
    EXPECT_NE(lines[2].find(L"\\Lumikino\""), std::wstring::npos);

    ULONGLONG closeAsked = ::GetTickCount64();
    ASSERT_TRUE(player.PostClose());
    DWORD exitCode = 1234;
    ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    // The window stays for its grace period before it is destroyed.
    EXPECT_GE(::GetTickCount64() - closeAsked, 2900u);
    // Closing remembered the window's place.
    std::wstring ini = ReadLogText(DataPath(L"Lumikino.ini"));
    EXPECT_NE(ini.find(L"[WINDOW]"), std::wstring::npos);
    EXPECT_NE(ini.find(L"rect="), std::wstring::npos);
    EXPECT_NE(ini.find(L"width="), std::wstring::npos);
}

TEST_F(StartupEndToEnd, SecondLaunchHandsItsPathToTheRunningInstanceAndEnds) {
    PlayerProcess_CL first;
    ASSERT_TRUE(first.Start({}));
    ASSERT_NE(first.WaitForMainWindow(kStartTimeoutMs), nullptr);

    const std::wstring moviePath = L"C:\\映画\\テスト movie.avi";
    PlayerProcess_CL second;
    ASSERT_TRUE(second.Start({moviePath, L"/FullScreen", L"/start", L"90000"}));
    DWORD exitCode = 1234;
    ASSERT_TRUE(second.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(FindPlayerWindows(second.ProcessId()).empty());

    EXPECT_TRUE(WaitForLog(L"WM_COPYDATA \"" + moviePath + L"\" full_screen=1"));
    EXPECT_TRUE(LogContains(L"start=900000000"));
    EXPECT_TRUE(first.IsRunning());

    // A launch without a path sends nothing and still ends at once.
    PlayerProcess_CL third;
    ASSERT_TRUE(third.Start({}));
    ASSERT_TRUE(third.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    size_t handOffs = 0;
    for (const std::wstring& line : SplitLines(Log())) handOffs += line.find(L"WM_COPYDATA \"") != std::wstring::npos;
    EXPECT_EQ(handOffs, 1u);

    ASSERT_TRUE(first.PostClose());
    ASSERT_TRUE(first.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(StartupEndToEnd, DuplicateLaunchSettingLetsTwoInstancesRun) {
    WriteSettings(L"[SETTING]\r\nduplicate_launch=1\r\n");
    PlayerProcess_CL first, second;
    ASSERT_TRUE(first.Start({}));
    ASSERT_NE(first.WaitForMainWindow(kStartTimeoutMs), nullptr);
    ASSERT_TRUE(second.Start({L"C:\\movie.avi"}));
    ASSERT_NE(second.WaitForMainWindow(kStartTimeoutMs), nullptr);
    EXPECT_NE(first.MainWindow(), second.MainWindow());
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(second.IsRunning());
    EXPECT_FALSE(LogContains(L"WM_COPYDATA \""));

    DWORD code1 = 1, code2 = 1;
    ASSERT_TRUE(first.PostClose());
    ASSERT_TRUE(second.PostClose());
    ASSERT_TRUE(first.WaitForExit(kExitTimeoutMs, &code1));
    ASSERT_TRUE(second.WaitForExit(kExitTimeoutMs, &code2));
    EXPECT_EQ(code1, 0u);
    EXPECT_EQ(code2, 0u);
}

TEST_F(StartupEndToEnd, MalformedHandOffRecordsAreIgnored) {
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({}));
    ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);

    std::vector<char> big(4096, 'x');
    for (DWORD size : {0u, 10u, 679u, 681u, 4096u}) {
        LRESULT answer = 1;
        ASSERT_TRUE(player.SendCopyData(0, big.data(), size, &answer)) << size;
        EXPECT_EQ(answer, FALSE) << size;
    }
    EXPECT_TRUE(player.IsRunning());
    EXPECT_FALSE(LogContains(L"WM_COPYDATA \""));
    EXPECT_TRUE(LogContains(L"WM_COPYDATA を無視しました (cbData=679"));

    // A record of the right size whose path has no terminator is cut inside its 260 units.
    LaunchRequest request;
    for (wchar_t& c : request.path) c = L'A';
    LRESULT answer = 0;
    ASSERT_TRUE(player.SendCopyData(0, &request, sizeof(request), &answer));
    EXPECT_EQ(answer, TRUE);
    EXPECT_TRUE(WaitForLog(L"WM_COPYDATA \"" + std::wstring(259, L'A') + L"\" full_screen=0"));
    EXPECT_TRUE(player.IsRunning());

    ASSERT_TRUE(player.PostClose());
    DWORD exitCode = 1;
    ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(StartupEndToEnd, LaunchPathIsOpenedAtFirstPaintAndOverlongPathsAreNot) {
    {
        PlayerProcess_CL player;
        ASSERT_TRUE(player.Start({L"C:\\movies\\a.avi", L"/NoResume"}));
        ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
        EXPECT_TRUE(WaitForLog(L"WM_OPEN_LAUNCH_FILE \"C:\\movies\\a.avi\""));
        player.Kill();
    }
    {
        PlayerProcess_CL player;
        ASSERT_TRUE(player.Start({L"C:\\" + std::wstring(300, L'b') + L".avi"}));
        ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
        EXPECT_TRUE(WaitForLog(L"コマンドラインのパスが長すぎます (307 文字)"));
        ASSERT_TRUE(player.PostClose());
        ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, nullptr));
        size_t opened = 0;
        for (const std::wstring& line : SplitLines(Log())) opened += line.find(L"WM_OPEN_LAUNCH_FILE") != std::wstring::npos;
        EXPECT_EQ(opened, 1u);  // only the first run's
    }
}

TEST_F(StartupEndToEnd, ExtResumeEndsWithoutAWindow) {
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({L"/ExtResume"}));
    DWORD exitCode = 1;
    ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(FindPlayerWindows(player.ProcessId()).empty());
    EXPECT_TRUE(LogContains(L"/ExtResume"));
}

TEST_F(StartupEndToEnd, MessageLoopHoldsArrowsAndTurnsRemoteSequencesIntoF7F8) {
    WriteSettings(L"[SETTING]\r\nlog_detail_other=1\r\n");
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({}));
    ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);

    // A remote control's "arrow, Control, Shift, B" is one F7 and no arrow.
    for (WPARAM key : {WPARAM(VK_RIGHT), WPARAM(VK_CONTROL), WPARAM(VK_SHIFT), WPARAM('B')}) {
        ASSERT_TRUE(player.PostToWindow(WM_KEYDOWN, key, 1));
    }
    EXPECT_TRUE(WaitForLog(L"KeyHandler(0x76)"));
    // A plain arrow acts once its countdown has run out.
    ASSERT_TRUE(player.PostToWindow(WM_KEYDOWN, VK_LEFT, 1));
    EXPECT_TRUE(WaitForLog(L"KeyHandler(0x25)"));
    EXPECT_FALSE(LogContains(L"KeyHandler(0x27)"));
    EXPECT_TRUE(LogContains(L"WM_KEYDOWN = 00000027, 00000001"));

    ASSERT_TRUE(player.PostClose());
    ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, nullptr));
}

TEST_F(StartupEndToEnd, DamagedSettingsFilesStartWithDefaultsAndAreLeftAlone) {
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* traced;
    };
    const std::vector<Case> cases = {
        {"utf8", "\xEF\xBB\xBF[SETTING]\r\nduplicate_launch=0\r\n", L"(UTF-8,"},
        {"single-byte", "[RESUME]\r\nlast_open_file_folder=C:\\\x83\x65\x83\x58\x83\x67\r\n", L"(single-byte,"},
        {"truncated", std::string("\xFF\xFE[\0S\0E\0", 8), L"(UTF-16,"},
        {"empty", std::string(), L"(empty,"},
        {"very large", std::string("\xFF\xFE", 2) + std::string(24u << 20, ';'), L"(UTF-16,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTree(DataFolder());
        ::CreateDirectoryW(DataFolder().c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(DataPath(L"Lumikino.ini"), c.bytes));
        PlayerProcess_CL player;
        ASSERT_TRUE(player.Start({}));
        ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
        player.Kill();  // closing would remember the window's place in the file
        EXPECT_EQ(ReadFileBytes(DataPath(L"Lumikino.ini")), c.bytes);
        if (std::wstring(c.traced) != L"(UTF-16,") {
            EXPECT_TRUE(LogContains(c.traced));
        }
    }
    {
        SCOPED_TRACE("folder in place of the file");
        RemoveTree(DataFolder());
        ::CreateDirectoryW(DataFolder().c_str(), nullptr);
        ::CreateDirectoryW(DataPath(L"Lumikino.ini").c_str(), nullptr);
        PlayerProcess_CL player;
        ASSERT_TRUE(player.Start({}));
        ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
        EXPECT_TRUE(LogContains(L"(a folder,"));
        ASSERT_TRUE(player.PostClose());
        DWORD exitCode = 1;
        ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_TRUE(FolderExists(DataPath(L"Lumikino.ini")));
    }
    {
        SCOPED_TRACE("read-only file");
        RemoveTree(DataFolder());
        ::CreateDirectoryW(DataFolder().c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(DataPath(L"Lumikino.ini"), Bom()));
        ::SetFileAttributesW(DataPath(L"Lumikino.ini").c_str(), FILE_ATTRIBUTE_READONLY);
        PlayerProcess_CL player;
        ASSERT_TRUE(player.Start({}));
        ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
        ASSERT_TRUE(player.PostClose());
        DWORD exitCode = 1;
        ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        // (The test runs as root under Wine, where a read-only attribute does not stop writes;
        // what matters here is that the player starts and ends normally.)
    }
}

namespace {
std::wstring BuildFolder() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path = path.substr(0, path.find_last_of(L'\\'));  // build\bin
    return path.substr(0, path.find_last_of(L'\\'));  // build
}
}  // namespace

TEST_F(StartupEndToEnd, ADllPlantedInTheMoviesFolderIsNeverLoaded) {
    TempFolder_CL movies;
    std::wstring planted = movies.Join(L"rgb9rast.dll");
    ASSERT_TRUE(::CopyFileW((BuildFolder() + L"\\planted\\rgb9rast.dll").c_str(), planted.c_str(), FALSE));
    const std::wstring marker = movies.Join(L"planted_dll_ran.txt");

    // The plant works: a bare-name load from that folder runs it.
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(movies.Path().c_str());
    HMODULE loaded = ::LoadLibraryW(L"rgb9rast.dll");
    ::SetCurrentDirectoryW(previous);
    ASSERT_NE(loaded, nullptr);
    ::FreeLibrary(loaded);
    ASSERT_TRUE(FileExists(marker));
    ASSERT_TRUE(::DeleteFileW(marker.c_str()));

    // Started through an association, the player's current folder is the movie's.
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({movies.Join(L"movie.avi")}, movies.Path()));
    ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
    ASSERT_TRUE(player.PostClose());
    DWORD exitCode = 1;
    ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(FileExists(marker));
}

TEST_F(StartupEndToEnd, ClosingDeletesTheTemporaryZipFolder) {
    ::CreateDirectoryW(DataFolder().c_str(), nullptr);
    ::CreateDirectoryW(DataPath(L"zip").c_str(), nullptr);
    ::CreateDirectoryW(DataPath(L"zip\\inner").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(DataPath(L"zip\\inner\\extracted.avi"), "RIFF"));
    PlayerProcess_CL player;
    ASSERT_TRUE(player.Start({}));
    ASSERT_NE(player.WaitForMainWindow(kStartTimeoutMs), nullptr);
    EXPECT_TRUE(FolderExists(DataPath(L"zip")));  // kept while the player runs
    ASSERT_TRUE(player.PostClose());
    ASSERT_TRUE(player.WaitForExit(kExitTimeoutMs, nullptr));
    EXPECT_FALSE(FolderExists(DataPath(L"zip")));
    EXPECT_TRUE(FolderExists(DataPath(L"contents")));
}

TEST_F(StartupEndToEnd, AHungRunningInstanceDoesNotBlockASecondLaunch) {
    // A window that looks like a running player but never answers its messages.
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE created = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MainWindowClass";
        ::RegisterClassExW(&wc);
        HWND window = ::CreateWindowExW(0, L"MainWindowClass", L"Lumikino", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                        nullptr, nullptr, wc.hInstance, nullptr);
        ::SetEvent(created);
        ::WaitForSingleObject(release, 60000);  // no message pumping meanwhile
        ::DestroyWindow(window);
        ::UnregisterClassW(L"MainWindowClass", wc.hInstance);
    });
    ASSERT_EQ(::WaitForSingleObject(created, 10000), WAIT_OBJECT_0);

    PlayerProcess_CL second;
    ASSERT_TRUE(second.Start({L"C:\\movies\\a.avi"}));
    DWORD exitCode = 1;
    bool ended = second.WaitForExit(20000, &exitCode);
    ::SetEvent(release);
    hung.join();
    ::CloseHandle(release);
    ::CloseHandle(created);
    ASSERT_TRUE(ended) << "the second launch waited on the hung window";
    EXPECT_EQ(exitCode, 0u);
}

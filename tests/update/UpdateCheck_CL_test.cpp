// The whole version check against a local HTTP server: the request for the real host name goes
// through http_proxy to 127.0.0.1, so nothing leaves the machine. The notice and the opening of
// the site are replaced by recorders; the clock and the random delay are fixed.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "store/Inifile_CL.h"
#include "tests/support/TempFolder_CL.h"
#include "tests/update/LocalHttpServer_CL.h"
#include "update/UpdateCheckRunner_CL.h"
#include "update/UpdateCheck_CL.h"

namespace {
constexpr int64_t kNow = 1'700'000'000;
constexpr int kToday = 15;
constexpr UINT WM_TEST_UPDATE_RESULT = WM_APP + 0x31;
constexpr DWORD kTestTimeoutMs = 1500;  // the player waits 10 s; the tests need not

// One server for the program: WinINet reads the proxy from the environment when a session
// opens, so it is set before the first session and stays.
LocalHttpServer_CL& Server() {
    static LocalHttpServer_CL server;
    static bool proxySet = [] {
        std::wstring proxy = L"http://127.0.0.1:" + std::to_wstring(server.Port());
        ::SetEnvironmentVariableW(L"http_proxy", proxy.c_str());
        _wputenv((L"http_proxy=" + proxy).c_str());
        return true;
    }();
    (void)proxySet;
    return server;
}

std::string Reply(const std::string& body, const char* lengthHeader, const char* status = "200 OK") {
    std::string reply = std::string("HTTP/1.1 ") + status + "\r\nContent-Type: text/plain\r\n";
    if (lengthHeader) reply += std::string("Content-Length: ") + lengthHeader + "\r\n";
    return reply + "\r\n" + body;
}

std::string Reply(const std::string& body) { return Reply(body, std::to_string(body.size()).c_str()); }

std::string VersionBody(const std::string& version, const std::string& address) {
    std::string line = version + "\r\n";
    while (line.size() < 9) line.insert(line.size() - 2, "\r\n");  // the address starts at 9
    return line + address + "\r\n";
}

// A message-only window for the runner to post to.
struct MessageWindow {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ~MessageWindow() { ::DestroyWindow(window); }
};

class UpdateCheckOverHttp : public ::testing::Test {
protected:
    void SetUp() override {
        server = &Server();
        server->Reset();
        settings = std::make_unique<UpdateSettings_CL>(temp.Join(L"Lumikino.ini"));
        settings->WriteLastDay(kToday - 1);
    }
    void TearDown() override { server->Reset(); }

    UpdateCheck_CL MakeCheck(int delayDays = 0, int answer = kNoticeClosed) {
        UpdateRequest request;
        request.timeoutMs = kTestTimeoutMs;
        UpdateHooks hooks;
        hooks.showNotice = [this, answer](HWND, const std::wstring& caption, const std::wstring& remote,
                                          const std::wstring& own) {
            notices.push_back(remote);
            noticeThreads.push_back(::GetCurrentThreadId());
            EXPECT_EQ(caption, L"Lumikino更新確認");
            EXPECT_EQ(own, L"1.3.1");
            EXPECT_TRUE(UpdateCheck_CL::NoticeShowing());
            return answer;
        };
        hooks.openAddress = [this](const std::wstring& address) { opened.push_back(address); };
        hooks.clock = [] { return UpdateClockReading{kNow, kToday}; };
        hooks.delayDays = [delayDays] { return delayDays; };
        return UpdateCheck_CL(*settings, request, hooks);
    }
    std::wstring RawKey(const wchar_t* key) const {
        return Inifile_CL(settings->Path()).GetString(kVersionSection, key, L"(none)");
    }
    void WriteKey(const wchar_t* key, int value) const {
        Inifile_CL(settings->Path()).WriteInt(kVersionSection, key, value);
    }

    TempFolder_CL temp;
    LocalHttpServer_CL* server = nullptr;
    std::unique_ptr<UpdateSettings_CL> settings;
    std::vector<std::wstring> notices;
    std::vector<DWORD> noticeThreads;
    std::vector<std::wstring> opened;
};

TEST_F(UpdateCheckOverHttp, DueCheckAsksForTheVersionFileAndRecordsTheDay) {
    server->SetReply(Reply(VersionBody("1.3.1", "http://update.lumikino.jp/")), false);
    UpdateCheck_CL check = MakeCheck();
    EXPECT_EQ(check.Run(), -1);
    ASSERT_EQ(server->ConnectionCount(), 1);
    const std::string head = server->RequestHeads().at(0);
    EXPECT_EQ(head.rfind("GET ", 0), 0u) << head;
    EXPECT_NE(head.find("update.lumikino.jp"), std::string::npos) << head;
    EXPECT_NE(head.find("/Lumikino/Version.txt HTTP/1.1\r\n"), std::string::npos) << head;
    EXPECT_EQ(settings->LastDay(), kToday);
    EXPECT_EQ(RawKey(kKeyNextVersion), L"(none)");
    EXPECT_TRUE(notices.empty());
}

TEST_F(UpdateCheckOverHttp, NewerVersionIsRecordedWithItsDelay) {
    server->SetReply(Reply(VersionBody("1.3.2", "http://update.lumikino.jp/")), false);
    UpdateCheck_CL check = MakeCheck(3);
    EXPECT_EQ(check.Run(), -1);
    EXPECT_EQ(settings->NextVersion(), L"1.3.2");
    EXPECT_EQ(settings->NextNotify(), kNow + 3 * 86'400);
    EXPECT_EQ(settings->LastDay(), kToday);
    EXPECT_TRUE(notices.empty());
    // The same day again: not due, and the server hears nothing.
    server->Reset();
    EXPECT_EQ(MakeCheck(3).Run(), -1);
    EXPECT_EQ(server->ConnectionCount(), 0);
}

TEST_F(UpdateCheckOverHttp, NewerVersionWithoutDelayIsAnnouncedAndOpensTheSite) {
    server->SetReply(Reply(VersionBody("1.3.2", "https://update.lumikino.jp/dl")), false);
    UpdateCheck_CL check = MakeCheck(0, kNoticeGoToSite);
    EXPECT_EQ(check.Run(), kNoticeGoToSite);
    EXPECT_EQ(notices, std::vector<std::wstring>{L"1.3.2"});
    EXPECT_EQ(opened, std::vector<std::wstring>{L"https://update.lumikino.jp/dl"});
    EXPECT_EQ(settings->NextVersion(), L"1.3.2");
    EXPECT_EQ(settings->NextNotify(), kNow);
    EXPECT_EQ(settings->LastDay(), kToday - 1);  // going to the site does not end the day
    EXPECT_FALSE(UpdateCheck_CL::NoticeShowing());
}

TEST_F(UpdateCheckOverHttp, DelayOverIsAnnouncedAndLaterEndsTheDay) {
    settings->WriteNextVersion(L"1.3.2");
    settings->WriteNextNotify(kNow - 1);
    server->SetReply(Reply(VersionBody("1.3.2", "http://update.lumikino.jp/")), false);
    UpdateCheck_CL check = MakeCheck(5, kNoticeLater);
    EXPECT_EQ(check.Run(), kNoticeLater);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(settings->NextNotify(), kNow - 1);  // a known version keeps its time
    EXPECT_EQ(settings->LastDay(), kToday);
}

TEST_F(UpdateCheckOverHttp, ForcedCheckAnnouncesAnErrorPageOnTheSameDay) {
    settings->WriteLastDay(kToday);
    WriteKey(kKeyForce, 1);
    const std::string page = "<html><body>Not Found http://evil/</body></html>\r\n";
    server->SetReply(Reply(page, std::to_string(page.size()).c_str(), "404 Not Found"), false);
    UpdateCheck_CL check = MakeCheck(0, kNoticeGoToSite);
    EXPECT_EQ(check.Run(), kNoticeGoToSite);
    EXPECT_EQ(notices, std::vector<std::wstring>{L"0.0.0.0"});
    EXPECT_TRUE(opened.empty());
}

TEST_F(UpdateCheckOverHttp, CheckNotDueOrSwitchedOffStartsNoThreadAndSendsNothing) {
    server->SetReply(Reply(VersionBody("1.3.2", "http://update.lumikino.jp/")), false);
    MessageWindow messageWindow;
    HWND window = messageWindow.window;
    ASSERT_NE(window, nullptr);
    settings->WriteLastDay(kToday);
    UpdateCheckRunner_CL notDue(MakeCheck());
    EXPECT_FALSE(notDue.Start(window, WM_TEST_UPDATE_RESULT));
    EXPECT_FALSE(notDue.IsRunning());

    settings->WriteLastDay(0);
    WriteKey(kKeyForce, 1);
    WriteKey(kKeyNotify, 1);
    UpdateCheckRunner_CL off(MakeCheck());
    EXPECT_FALSE(off.Start(window, WM_TEST_UPDATE_RESULT));
    EXPECT_EQ(MakeCheck().Run(), -1);
    EXPECT_EQ(server->ConnectionCount(), 0);
    MSG message{};
    EXPECT_FALSE(::PeekMessageW(&message, window, WM_TEST_UPDATE_RESULT, WM_TEST_UPDATE_RESULT, PM_REMOVE));
}

// Waits for the worker's message to the window; the worker posts exactly once.
bool WaitForPosted(HWND window, UINT messageId, DWORD timeoutMs, MSG& message) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (::PeekMessageW(&message, window, messageId, messageId, PM_REMOVE)) return true;
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_POSTMESSAGE);
    }
}

TEST_F(UpdateCheckOverHttp, RunnerFetchesOnAWorkerAndAppliesOnTheUiThread) {
    server->SetReply(Reply(VersionBody("1.3.2", "http://update.lumikino.jp/")), false);
    MessageWindow messageWindow;
    HWND window = messageWindow.window;
    ASSERT_NE(window, nullptr);
    UpdateCheckRunner_CL runner(MakeCheck(0, kNoticeLater));
    ASSERT_TRUE(runner.Start(window, WM_TEST_UPDATE_RESULT));
    EXPECT_FALSE(runner.Start(window, WM_TEST_UPDATE_RESULT));  // one worker at a time
    MSG message{};
    ASSERT_TRUE(WaitForPosted(window, WM_TEST_UPDATE_RESULT, 30'000, message));
    // The worker wrote nothing; the settings change only when the UI thread applies the result.
    EXPECT_EQ(RawKey(kKeyNextVersion), L"(none)");
    EXPECT_EQ(settings->LastDay(), kToday - 1);
    EXPECT_EQ(runner.OnResult(message.lParam), kNoticeLater);
    EXPECT_EQ(noticeThreads, std::vector<DWORD>{::GetCurrentThreadId()});
    EXPECT_EQ(settings->NextVersion(), L"1.3.2");
    EXPECT_EQ(settings->LastDay(), kToday);
    EXPECT_TRUE(runner.Finish(30'000));
    EXPECT_EQ(server->ConnectionCount(), 1);
}

TEST_F(UpdateCheckOverHttp, RunnerEndsWhenTheServerFallsSilent) {
    server->SetReply(Reply("1.3.2\r\n", "40"), true);  // 7 of 40 bytes, then nothing
    MessageWindow messageWindow;
    HWND window = messageWindow.window;
    ASSERT_NE(window, nullptr);
    UpdateCheckRunner_CL runner(MakeCheck(0, kNoticeGoToSite));
    ASSERT_TRUE(runner.Start(window, WM_TEST_UPDATE_RESULT));
    MSG message{};
    ASSERT_TRUE(WaitForPosted(window, WM_TEST_UPDATE_RESULT, 30'000, message));
    EXPECT_FALSE(reinterpret_cast<const UpdateFetchResult*>(message.lParam)->received);
    EXPECT_EQ(runner.OnResult(message.lParam), -1);
    EXPECT_TRUE(runner.Finish(30'000));
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(settings->LastDay(), kToday - 1);  // a failed check is tried again today
}

TEST_F(UpdateCheckOverHttp, FinishFreesAResultTheWindowNeverHandled) {
    server->SetReply(Reply(VersionBody("1.3.2", "http://update.lumikino.jp/")), false);
    MessageWindow messageWindow;
    HWND window = messageWindow.window;
    ASSERT_NE(window, nullptr);
    UpdateCheckRunner_CL runner(MakeCheck(0, kNoticeLater));
    ASSERT_TRUE(runner.Start(window, WM_TEST_UPDATE_RESULT));
    // The window is closing: it waits for the worker and never handles the result it posted.
    EXPECT_TRUE(runner.Finish(30'000));
    MSG left{};
    EXPECT_FALSE(::PeekMessageW(&left, window, WM_TEST_UPDATE_RESULT, WM_TEST_UPDATE_RESULT, PM_NOREMOVE))
        << "a result was left in the queue";
    EXPECT_EQ(server->ConnectionCount(), 1);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(settings->LastDay(), kToday - 1);  // a result freed unapplied changes nothing
}

struct HostileAddress {
    const char* address;
};
class HostileAddressBody : public UpdateCheckOverHttp, public ::testing::WithParamInterface<HostileAddress> {};

TEST_P(HostileAddressBody, IsAnnouncedButNeverOpened) {
    server->SetReply(Reply(VersionBody("1.3.2", GetParam().address)), false);
    UpdateCheck_CL check = MakeCheck(0, kNoticeGoToSite);
    EXPECT_EQ(check.Run(), kNoticeGoToSite);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_TRUE(opened.empty()) << GetParam().address;
}

INSTANTIATE_TEST_SUITE_P(Addresses, HostileAddressBody,
                         ::testing::Values(HostileAddress{"file:///C:/Windows/System32/calc.exe"},
                                           HostileAddress{"C:\\Windows\\System32\\calc.exe"},
                                           HostileAddress{"\\\\evil\\share\\setup.exe"},
                                           HostileAddress{"http://evil.example/a b"},
                                           HostileAddress{"http://evil.example/\x01"}, HostileAddress{""}));

struct HostileReply {
    const char* name;
    std::string reply;
    bool holdOpen;
};
class HostileLength : public UpdateCheckOverHttp, public ::testing::WithParamInterface<HostileReply> {};

TEST_P(HostileLength, EndsWithoutShowingOrWritingAnything) {
    server->SetReply(GetParam().reply, GetParam().holdOpen);
    WriteKey(kKeyForce, 1);  // anything received would be announced
    UpdateCheck_CL check = MakeCheck(0, kNoticeGoToSite);
    EXPECT_EQ(check.Run(), -1) << GetParam().name;
    EXPECT_EQ(server->ConnectionCount(), 1);
    EXPECT_TRUE(notices.empty());
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(settings->LastDay(), kToday - 1);
    EXPECT_EQ(RawKey(kKeyNextVersion), L"(none)");
}

const std::string kNewer = VersionBody("1.3.2", "http://update.lumikino.jp/");

INSTANTIATE_TEST_SUITE_P(
    Replies, HostileLength,
    ::testing::Values(HostileReply{"negative", Reply(kNewer, "-5"), true},
                      HostileReply{"all ones", Reply(kNewer, "4294967295"), true},
                      HostileReply{"a terabyte", Reply(kNewer, "1000000000000"), true},
                      HostileReply{"over 64 KiB", Reply(kNewer, "65537"), true},
                      HostileReply{"zero", Reply(kNewer, "0"), true},
                      HostileReply{"missing", Reply(kNewer, nullptr), false},
                      HostileReply{"body never ends", Reply("1.3.2\r\n", "40"), true},
                      HostileReply{"body ends early", Reply("1.3.2\r\n", "40"), false},
                      HostileReply{"no answer at all", "", true},
                      HostileReply{"headers never end", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", true}));

TEST_F(UpdateCheckOverHttp, ReadsOnlyTheAnnouncedBytes) {
    server->SetReply(Reply(kNewer, "3"), false);  // "1.3" of a longer body
    UpdateCheck_CL check = MakeCheck(0, kNoticeGoToSite);
    EXPECT_EQ(check.Run(), -1);  // "1.3" is older than 1.3.1: nothing to announce
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(settings->LastDay(), kToday);
}
}  // namespace

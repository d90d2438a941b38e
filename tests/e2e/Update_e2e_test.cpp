// The version check on the real player: started with the check due, it asks a local server
// (reached through the proxy its environment names) for the version file once its window
// shows, announces the newer version whose waiting time has passed, and "後日通知する" records
// the day so the check rests until tomorrow.

#include <windows.h>

#include <string>

#include "tests/e2e/MovieFixture.h"
#include "tests/update/LocalHttpServer_CL.h"
#include "update/UpdateTexts.h"

namespace {

// Sets an environment variable of this process (and so of the players it starts) for the
// test's life.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : m_name(name) {
        wchar_t old[512] = {};
        const DWORD units = ::GetEnvironmentVariableW(name, old, 512);
        m_had = units > 0 && units < 512;
        m_old = m_had ? old : L"";
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironment() { ::SetEnvironmentVariableW(m_name.c_str(), m_had ? m_old.c_str() : nullptr); }

private:
    std::wstring m_name, m_old;
    bool m_had = false;
};

class UpdateE2eTest : public MovieFixture {};

TEST_F(UpdateE2eTest, ADueCheckAnnouncesTheNewerVersionAndLaterRestsUntilTomorrow) {
    LocalHttpServer_CL server;
    const std::string body = "1.3.9.0\r\nhttp://127.0.0.1/download\r\n";
    server.SetReply("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
                        "\r\nConnection: close\r\n\r\n" + body,
                    false);
    const std::wstring proxy = L"http://127.0.0.1:" + std::to_wstring(server.Port());
    ScopedEnvironment lower(L"http_proxy", proxy), upper(L"HTTP_PROXY", proxy);
    // Due (last_day is not today), the version already seen and its waiting time over.
    WriteSettings(std::wstring(kPictureSettings) +
                  L"[VERSION]\r\nnotify=0\r\nlast_day=0\r\nnext_version=1.3.9.0\r\nnext_notify=00000000:00000001\r\n");
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {});
    ASSERT_NE(window, nullptr);

    HWND notice = nullptr;
    const std::wstring caption = kUpdateCaption;
    ASSERT_TRUE(WaitUntil([&] { return (notice = FindProcessWindow(player.ProcessId(), L"#32770", &caption, true)) != nullptr; },
                          20000))
        << "no notice of the newer version";
    ASSERT_EQ(server.ConnectionCount(), 1);
    ASSERT_FALSE(server.RequestHeads().empty());
    EXPECT_NE(server.RequestHeads().front().find("/Lumikino/Version.txt"), std::string::npos);
    // The player answers while the notice is up.
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer), 0);

    HWND later = ::GetDlgItem(notice, 4098);
    ASSERT_NE(later, nullptr);
    RECT rect{};
    ::GetWindowRect(later, &rect);
    const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    bool closed = false;
    for (int attempt = 0; attempt < 3 && !closed; ++attempt) {
        ::SetWindowPos(notice, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        WaitUntil([&] { return ::WindowFromPoint(middle) == later; }, 2000);
        ClickAt(middle);
        closed = WaitUntil([&] { return !::IsWindow(notice); }, 3000);
    }
    ASSERT_TRUE(closed) << "the notice stayed";
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    EXPECT_TRUE(WaitUntil([&] { return SettingInt(L"VERSION", L"last_day") == today.wDay; }, 5000));
    ClosePlayer(&player);

    // The next start the same day asks nothing.
    PlayerProcess_CL again;
    ASSERT_NE(StartPlayer(&again, {}), nullptr);
    ClosePlayer(&again);
    EXPECT_EQ(server.ConnectionCount(), 1);
}

}  // namespace

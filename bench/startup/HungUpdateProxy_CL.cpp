#include "bench/startup/HungUpdateProxy_CL.h"

#include "tests/update/LocalHttpServer_CL.h"

#include <vector>

#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {
constexpr wchar_t kProxyVariable[] = L"http_proxy";
}  // namespace

HungUpdateProxy_CL::HungUpdateProxy_CL() : m_server(std::make_unique<LocalHttpServer_CL>()) {
    // No reply at all, and the connection held until the round ends.
    m_server->SetReply(std::string(), true);
    wchar_t old[512] = {};
    const DWORD length = ::GetEnvironmentVariableW(kProxyVariable, old, 512);
    m_hadProxy = length > 0 && length < 512;
    if (m_hadProxy) m_oldProxy = old;
    const std::wstring proxy = L"http://127.0.0.1:" + std::to_wstring(m_server->Port());
    ::SetEnvironmentVariableW(kProxyVariable, proxy.c_str());
}

HungUpdateProxy_CL::~HungUpdateProxy_CL() {
    ::SetEnvironmentVariableW(kProxyVariable, m_hadProxy ? m_oldProxy.c_str() : nullptr);
}

int HungUpdateProxy_CL::Port() const { return m_server->Port(); }

std::wstring HungUpdateProxy_CL::SettingsText(bool checkOn) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    // 1-28 and never today: the check counts as due only when the last one was on another day.
    const int otherDay = now.wDay % 28 + 1;
    return L"[VERSION]\r\nnotify=" + std::wstring(checkOn ? L"0" : L"1") + L"\r\nlast_day=" +
           std::to_wstring(otherDay) + L"\r\n";
}

bool HungUpdateProxy_CL::WriteSettings(const std::wstring& dataFolder, bool checkOn) {
    ::CreateDirectoryW(dataFolder.c_str(), nullptr);
    return WriteFileBytes(dataFolder + L"\\Lumikino.ini", Utf16File(SettingsText(checkOn)));
}

int HungUpdateProxy_CL::Connections() const { return m_server->ConnectionCount(); }

bool HungUpdateProxy_CL::WaitForConnection(unsigned timeoutMs) const {
    return WaitUntil([this] { return Connections() > 0; }, timeoutMs);
}

int HungUpdateProxy_CL::EndRound() {
    const int count = Connections();
    if (m_firstRequestLine.empty()) {
        for (const std::string& head : m_server->RequestHeads()) {
            if (head.empty()) continue;
            m_firstRequestLine = head.substr(0, head.find("\r\n"));
            break;
        }
    }
    m_server->Reset();
    m_total += count;
    return count;
}

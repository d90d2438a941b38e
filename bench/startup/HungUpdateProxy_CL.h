#pragma once
// For the benchmarks that compare the player with its version check on and off: a proxy on
// 127.0.0.1 that accepts the check's connection, reads its request and never answers, as a
// server that has stopped talking would. While the object lives, http_proxy in this process's
// environment points at it, so every player started meanwhile inherits it (WinINet reads the
// proxy from the environment when its session opens); the old value comes back afterwards.
//
// Thread: one (the benchmark's); the listener runs on a thread of its own inside.

#include <memory>
#include <string>

class LocalHttpServer_CL;

class HungUpdateProxy_CL {
public:
    HungUpdateProxy_CL();
    ~HungUpdateProxy_CL();
    HungUpdateProxy_CL(const HungUpdateProxy_CL&) = delete;
    HungUpdateProxy_CL& operator=(const HungUpdateProxy_CL&) = delete;

    int Port() const;

    // The settings file's text with the check either on and due (notify=0, last_day a day of
    // the month other than today's) or off (notify=1).
    static std::wstring SettingsText(bool checkOn);
    // Writes SettingsText as dataFolder\Lumikino.ini (the folder is made when missing).
    static bool WriteSettings(const std::wstring& dataFolder, bool checkOn);

    // Connections accepted since the last EndRound.
    int Connections() const;
    // Polls until at least one connection came in; false at the deadline.
    bool WaitForConnection(unsigned timeoutMs) const;
    // Call once the round's player has ended: lets the held connection go, adds the round's
    // connections to the total and returns them. The first request line seen is kept.
    int EndRound();

    int TotalConnections() const { return m_total; }
    const std::string& FirstRequestLine() const { return m_firstRequestLine; }

private:
    std::unique_ptr<LocalHttpServer_CL> m_server;
    std::wstring m_oldProxy;
    bool m_hadProxy = false;
    int m_total = 0;
    std::string m_firstRequestLine;
};

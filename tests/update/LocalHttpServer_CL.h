#pragma once
// A one-reply HTTP server on 127.0.0.1 for the version check's tests. It answers every
// connection with the reply set, either closing at once or holding the connection open
// (a server that stops talking) until Reset. It records each request's head.

#include <winsock2.h>
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LocalHttpServer_CL {
public:
    LocalHttpServer_CL();
    ~LocalHttpServer_CL();

    int Port() const { return m_port; }
    // The raw bytes sent after reading a request; holdOpen keeps the connection until Reset.
    void SetReply(const std::string& bytes, bool holdOpen);
    // Lets a held connection go, waits until the server is idle, and forgets what it saw.
    void Reset();
    int ConnectionCount() const;
    std::vector<std::string> RequestHeads() const;

private:
    void AcceptLoop();
    void Serve(SOCKET client);

    SOCKET m_listen = INVALID_SOCKET;
    int m_port = 0;
    HANDLE m_release = nullptr;  // manual-reset: held connections may close
    mutable std::mutex m_lock;   // guards everything below
    std::condition_variable m_idle;
    bool m_busy = false;
    bool m_stopping = false;
    std::string m_reply;
    bool m_holdOpen = false;
    int m_connections = 0;
    std::vector<std::string> m_heads;
    std::thread m_thread;
};

#include "tests/update/LocalHttpServer_CL.h"

#include <ws2tcpip.h>

LocalHttpServer_CL::LocalHttpServer_CL() {
    WSADATA data{};
    ::WSAStartup(MAKEWORD(2, 2), &data);
    m_release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_listen = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // any free port
    ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(m_listen, 8);
    int length = sizeof(address);
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { AcceptLoop(); });
}

LocalHttpServer_CL::~LocalHttpServer_CL() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stopping = true;
    }
    ::SetEvent(m_release);
    // A connection of our own wakes the accept call, which then sees the stop.
    SOCKET wake = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(m_port));
    ::connect(wake, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    m_thread.join();
    ::closesocket(wake);
    ::closesocket(m_listen);
    ::CloseHandle(m_release);
    ::WSACleanup();
}

void LocalHttpServer_CL::SetReply(const std::string& bytes, bool holdOpen) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_reply = bytes;
    m_holdOpen = holdOpen;
}

void LocalHttpServer_CL::Reset() {
    ::SetEvent(m_release);
    std::unique_lock<std::mutex> lock(m_lock);
    m_idle.wait(lock, [this] { return !m_busy; });
    ::ResetEvent(m_release);
    m_connections = 0;
    m_heads.clear();
}

int LocalHttpServer_CL::ConnectionCount() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_connections;
}

std::vector<std::string> LocalHttpServer_CL::RequestHeads() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_heads;
}

void LocalHttpServer_CL::AcceptLoop() {
    for (;;) {
        SOCKET client = ::accept(m_listen, nullptr, nullptr);
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_stopping || client == INVALID_SOCKET) {
                if (client != INVALID_SOCKET) ::closesocket(client);
                return;
            }
            m_busy = true;
            ++m_connections;
        }
        Serve(client);
        ::closesocket(client);
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_busy = false;
        }
        m_idle.notify_all();
    }
}

void LocalHttpServer_CL::Serve(SOCKET client) {
    std::string head;
    char buffer[2048];
    while (head.find("\r\n\r\n") == std::string::npos) {
        int got = ::recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0) break;
        head.append(buffer, static_cast<size_t>(got));
    }
    std::string reply;
    bool holdOpen = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_heads.push_back(head);
        reply = m_reply;
        holdOpen = m_holdOpen;
    }
    if (!reply.empty()) ::send(client, reply.data(), static_cast<int>(reply.size()), 0);
    if (holdOpen) ::WaitForSingleObject(m_release, INFINITE);
}

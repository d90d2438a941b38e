#pragma once
// One HTTP GET over WinINet: the internet session, the connection to one host on port 80 and
// the request, each owned from the call that makes it and closed in reverse on every path.
// The body is trusted only as far as its size: the Content-Length header must announce
// 1 ... 64 KiB, and exactly that many bytes must arrive before the time-out.
//
// Thread: any; one object is used by one thread at a time (the version check's worker).

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <string>

#include "base/UniqueHandle_CL.h"

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::InternetCloseHandle(h); }
};
using InternetHandle_CL = UniqueHandle_CL<InternetHandleTraits>;

class InetHttp_CL {
public:
    // A dead or silent server must end the request, not hold the player's worker for ever.
    static constexpr DWORD kDefaultTimeoutMs = 10'000;
    // The version file is a few dozen bytes; nothing larger is ever read.
    static constexpr uint32_t kMaxBodyBytes = 64 * 1024;
    static constexpr INTERNET_PORT kPort = 80;
    // INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE: always from the server, never cached.
    static constexpr DWORD kRequestFlags = 0x84000000;
    static_assert(kRequestFlags == (INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE),
                  "the request asks the server every time");
    static constexpr DWORD kHeaderBufferBytes = 256;

    explicit InetHttp_CL(DWORD timeoutMs = kDefaultTimeoutMs) : m_timeoutMs(timeoutMs) {}
    InetHttp_CL(const InetHttp_CL&) = delete;
    InetHttp_CL& operator=(const InetHttp_CL&) = delete;

    // The session with the program's agent text and the system's proxy settings; sets the
    // connect, send and receive time-outs.
    [[nodiscard]] HRESULT Open();
    // Connects to host on port 80; a connection held before is closed first (its request too).
    [[nodiscard]] HRESULT Connect(const std::wstring& host);
    // Sends GET path and reads the status code and the Content-Length header.
    [[nodiscard]] HRESULT Request(const std::wstring& path);
    // Reads the body announced by Content-Length: S_OK only when the length was acceptable and
    // that many bytes arrived. A missing or unacceptable length reads nothing.
    [[nodiscard]] HRESULT ReadBody();

    DWORD StatusCode() const { return m_statusCode; }
    // The Content-Length header as sent (empty when missing).
    const std::wstring& ContentLengthText() const { return m_contentLengthText; }
    // The accepted body size, 0 when the header is missing or out of range.
    uint32_t BodyLength() const { return m_bodyLength; }
    const std::string& Body() const { return m_body; }

    // Pure: the body size a Content-Length text allows: decimal digits only (surrounding
    // blanks aside), 1 ... kMaxBodyBytes; anything else (missing, negative, too large, junk)
    // gives 0, meaning "no body".
    static uint32_t AcceptedBodyLength(const std::wstring& headerText);

private:
    // Writes one trace line for a failed call (when the detail switch is on) and returns the
    // last error as an HRESULT.
    static HRESULT LogLastError(const wchar_t* format);

    DWORD m_timeoutMs;
    // Declared in the order they are made, so they close in reverse: request, connection, session.
    InternetHandle_CL m_internet;
    InternetHandle_CL m_connection;
    InternetHandle_CL m_request;
    DWORD m_statusCode = 0;
    std::wstring m_contentLengthText;
    uint32_t m_bodyLength = 0;
    std::string m_body;
};

#include "update/InetHttp_CL.h"


#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "update/UpdateTexts.h"

namespace {
// The system's text for an error; WinINet's own codes live in its module's message table.
std::wstring ErrorText(DWORD error) {
    wchar_t* text = nullptr;
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    HMODULE wininet = ::GetModuleHandleW(L"wininet.dll");
    if (wininet && error >= INTERNET_ERROR_BASE && error <= INTERNET_ERROR_LAST) {
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    }
    DWORD length = ::FormatMessageW(flags, wininet, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    LocalMemory_CL owner(text);
    std::wstring result = length && text ? std::wstring(text, length) : std::wstring();
    while (!result.empty() && (result.back() == L'\r' || result.back() == L'\n' || result.back() == L' ')) {
        result.pop_back();
    }
    return result;
}

void SetTimeout(HINTERNET handle, DWORD option, DWORD timeoutMs) {
    // A handle that refuses the option keeps the system's time-out; the request still works.
    ::InternetSetOptionW(handle, option, &timeoutMs, sizeof(timeoutMs));
}
}  // namespace

HRESULT InetHttp_CL::LogLastError(const wchar_t* format) {
    DWORD error = ::GetLastError();
    HRESULT hr = error ? static_cast<HRESULT>(0x80070000u | error) : E_FAIL;
    if (ProcessLogSwitches().log_detail_other) {
        std::wstring text = ErrorText(error);
        // The formats are the named literals of UpdateTexts.h.
        LogPrintf(format, static_cast<unsigned>(hr), text.c_str());
    }
    return hr;
}

HRESULT InetHttp_CL::Open() {
    m_request.Reset();
    m_connection.Reset();
    m_internet.Reset(::InternetOpenW(kInternetAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!m_internet.IsValid()) return LogLastError(kLogOpenFailed);
    SetTimeout(m_internet.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, m_timeoutMs);
    SetTimeout(m_internet.Get(), INTERNET_OPTION_SEND_TIMEOUT, m_timeoutMs);
    SetTimeout(m_internet.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, m_timeoutMs);
    return S_OK;
}

HRESULT InetHttp_CL::Connect(const std::wstring& host) {
    m_request.Reset();
    m_connection.Reset();
    if (!m_internet.IsValid()) return E_UNEXPECTED;
    m_connection.Reset(::InternetConnectW(m_internet.Get(), host.c_str(), kPort, nullptr, nullptr,
                                          INTERNET_SERVICE_HTTP, 0, 0));
    if (!m_connection.IsValid()) return LogLastError(kLogConnectFailed);
    return S_OK;
}

HRESULT InetHttp_CL::Request(const std::wstring& path) {
    m_request.Reset();
    m_statusCode = 0;
    m_contentLengthText.clear();
    m_bodyLength = 0;
    m_body.clear();
    if (!m_connection.IsValid()) return E_UNEXPECTED;
    m_request.Reset(::HttpOpenRequestW(m_connection.Get(), L"GET", path.c_str(), nullptr, nullptr, nullptr,
                                       kRequestFlags, 0));
    if (!m_request.IsValid()) return LogLastError(kLogOpenRequestFailed);
    // The session's time-outs do not reach an open request on every platform; set them here too.
    SetTimeout(m_request.Get(), INTERNET_OPTION_SEND_TIMEOUT, m_timeoutMs);
    SetTimeout(m_request.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, m_timeoutMs);
    if (!::HttpSendRequestW(m_request.Get(), nullptr, 0, nullptr, 0)) return LogLastError(kLogSendRequestFailed);

    DWORD status = 0;
    DWORD size = sizeof(status);
    if (::HttpQueryInfoW(m_request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                         nullptr)) {
        m_statusCode = status;
    }
    wchar_t lengthText[kHeaderBufferBytes / sizeof(wchar_t)] = {};
    size = sizeof(lengthText) - sizeof(wchar_t);
    if (::HttpQueryInfoW(m_request.Get(), HTTP_QUERY_CONTENT_LENGTH, lengthText, &size, nullptr)) {
        m_contentLengthText.assign(lengthText, size / sizeof(wchar_t));
    }
    m_bodyLength = AcceptedBodyLength(m_contentLengthText);
    return S_OK;
}

HRESULT InetHttp_CL::ReadBody() {
    m_body.clear();
    if (!m_request.IsValid()) return E_UNEXPECTED;
    if (m_bodyLength == 0) {
        if (ProcessLogSwitches().log_detail_other) LogPrintf(kLogBadLength, m_contentLengthText.c_str());
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    std::string body(m_bodyLength, '\0');
    DWORD total = 0;
    while (total < m_bodyLength) {
        DWORD got = 0;
        // Never ask for more than is still announced: the platform may hand over bytes past
        // the announced end when the server sends them.
        if (!::InternetReadFile(m_request.Get(), &body[total], m_bodyLength - total, &got)) {
            return LogLastError(kLogReadFailed);
        }
        if (got == 0) break;  // the server ended the body early
        total += got;
    }
    if (total != m_bodyLength) {
        if (ProcessLogSwitches().log_detail_other) LogPrintf(kLogShortBody, total, m_bodyLength);
        return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
    }
    m_body = std::move(body);
    return S_OK;
}

uint32_t InetHttp_CL::AcceptedBodyLength(const std::wstring& headerText) {
    size_t begin = 0;
    size_t end = headerText.size();
    while (begin < end && (headerText[begin] == L' ' || headerText[begin] == L'\t')) ++begin;
    while (end > begin && (headerText[end - 1] == L' ' || headerText[end - 1] == L'\t')) --end;
    if (begin == end) return 0;
    uint64_t value = 0;
    for (size_t i = begin; i < end; ++i) {
        wchar_t c = headerText[i];
        if (c < L'0' || c > L'9') return 0;
        value = value * 10 + static_cast<uint64_t>(c - L'0');
        if (value > kMaxBodyBytes) return 0;  // stops before the number can overflow
    }
    return static_cast<uint32_t>(value);
}

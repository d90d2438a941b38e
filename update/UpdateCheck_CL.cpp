#include "update/UpdateCheck_CL.h"

#include <shellapi.h>

#include <atomic>
#include <ctime>
#include <random>

#include "update/InetHttp_CL.h"
#include "update/UpdateDialog_CL.h"

static_assert(kUpdateTimeoutMs == InetHttp_CL::kDefaultTimeoutMs, "one time-out for the check");

namespace {
std::atomic<bool> g_noticeShowing{false};

// Holds the process's notice flag while a notice is on screen.
class NoticeFlag_CL {
public:
    NoticeFlag_CL() { g_noticeShowing = true; }
    ~NoticeFlag_CL() { g_noticeShowing = false; }
    NoticeFlag_CL(const NoticeFlag_CL&) = delete;
    NoticeFlag_CL& operator=(const NoticeFlag_CL&) = delete;
};

void OpenWithShell(const std::wstring& address) {
    // The maker's own machine carries this file and never jumps to the site.
    if (::GetFileAttributesW(kHomeMarkerFile) != INVALID_FILE_ATTRIBUTES) return;
    ::ShellExecuteW(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

UpdateClockReading ReadLocalClock() {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return UpdateClockReading{static_cast<int64_t>(_time64(nullptr)), local.wDay};
}

int RandomDelayDays() {
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    static std::mt19937 engine(static_cast<uint32_t>(counter.QuadPart ^ (counter.QuadPart >> 32)) ^
                               ::GetCurrentProcessId());
    return std::uniform_int_distribution<int>(0, kMaxNoticeDelayDays)(engine);
}
}  // namespace

UpdateHooks UpdateHooks::Platform() {
    UpdateHooks hooks;
    hooks.showNotice = &UpdateDialog_CL::Show;
    hooks.openAddress = &OpenWithShell;
    hooks.clock = &ReadLocalClock;
    hooks.delayDays = &RandomDelayDays;
    return hooks;
}

UpdateCheck_CL::UpdateCheck_CL(UpdateSettings_CL settings, UpdateRequest request, UpdateHooks hooks)
    : m_settings(std::move(settings)), m_request(std::move(request)), m_hooks(std::move(hooks)) {
    UpdateHooks platform = UpdateHooks::Platform();
    if (!m_hooks.showNotice) m_hooks.showNotice = platform.showNotice;
    if (!m_hooks.openAddress) m_hooks.openAddress = platform.openAddress;
    if (!m_hooks.clock) m_hooks.clock = platform.clock;
    if (!m_hooks.delayDays) m_hooks.delayDays = platform.delayDays;
}

bool UpdateCheck_CL::NoticeShowing() { return g_noticeShowing; }

UpdateGate UpdateCheck_CL::ReadGate() const {
    UpdateGate gate;
    gate.force = m_settings.Force();
    gate.noticeShowing = NoticeShowing();
    gate.notify = m_settings.Notify();
    gate.lastDay = m_settings.LastDay();
    gate.today = m_hooks.clock().today;
    return gate;
}

bool UpdateCheck_CL::IsDue() const { return IsCheckDue(ReadGate()); }

UpdateFetchResult UpdateCheck_CL::Fetch(const UpdateRequest& request) {
    UpdateFetchResult result;
    InetHttp_CL http(request.timeoutMs);
    if (FAILED(http.Open()) || FAILED(http.Connect(request.host)) || FAILED(http.Request(request.path))) {
        return result;
    }
    result.statusCode = http.StatusCode();
    if (FAILED(http.ReadBody())) return result;
    result.received = true;
    if (result.statusCode == HTTP_STATUS_OK) {
        result.file = ParseVersionFile(http.Body());
    } else {
        // Any other answer is the server's error page, whatever its body looks like: it counts
        // as the page version and carries no address.
        result.file.version = kPageVersion;
    }
    return result;
}

int UpdateCheck_CL::Apply(const UpdateFetchResult& fetched) {
    if (!fetched.received) return -1;
    // The user may have switched the check off, or another notice may have come up, while the
    // network step ran.
    if (NoticeShowing() || m_settings.Notify() != 0) return -1;

    const UpdateClockReading clock = m_hooks.clock();
    const int force = m_settings.Force();
    VersionMemory stored;
    stored.nextVersion = m_settings.NextVersion();
    stored.nextNotify = m_settings.NextNotify();
    const UpdateOutcome outcome = DecideAfterFetch(m_request.ownVersion, fetched.file.version, force, stored,
                                                   clock.nowSeconds, m_hooks.delayDays());
    if (outcome.recordNextVersion) {
        m_settings.WriteNextVersion(outcome.nextVersion);
        m_settings.WriteNextNotify(outcome.nextNotify);
    }
    if (outcome.recordLastDay) m_settings.WriteLastDay(clock.today);
    if (!outcome.showNotice) return -1;

    int result = kNoticeClosed;
    {
        NoticeFlag_CL flag;
        result = m_hooks.showNotice(m_request.parent, m_request.caption, fetched.file.version, m_request.ownVersion);
    }
    if (result == kNoticeGoToSite) {
        if (fetched.file.hasAddress && IsOpenableAddress(fetched.file.address)) {
            m_hooks.openAddress(fetched.file.address);
        }
    } else if (result == kNoticeLater) {
        m_settings.WriteLastDay(clock.today);
    }
    return result;
}

int UpdateCheck_CL::Run() {
    if (!IsDue()) return -1;
    return Apply(Fetch(m_request));
}

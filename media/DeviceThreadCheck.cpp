#include "media/DeviceThreadCheck.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <mutex>

#include "base/LogFile_CL.h"
#include "base/UniqueHandle_CL.h"

namespace {

std::atomic<int> g_violations{0};
std::atomic<bool> g_deliberate{false};

struct CheckSetting {
    bool enabled = false;
    wchar_t reportPath[MAX_PATH] = {};
};

const CheckSetting& Setting() {
    static const CheckSetting setting = [] {
        CheckSetting read;
        wchar_t value[MAX_PATH] = {};
        const DWORD length = ::GetEnvironmentVariableW(L"LK_DEVICE_THREAD_CHECK", value, MAX_PATH);
        if (length == 0 || length >= MAX_PATH || std::wcscmp(value, L"0") == 0) return read;
        read.enabled = true;
        if (std::wcscmp(value, L"1") != 0) std::wcscpy(read.reportPath, value);
        return read;
    }();
    return setting;
}

void AppendReport(const wchar_t* path, const char* line) {
    static std::mutex reportLock;
    std::lock_guard<std::mutex> lock(reportLock);
    FileHandle_CL file(::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return;
    DWORD written = 0;
    ::WriteFile(file.Get(), line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
}

}  // namespace

bool DeviceThreadCheck::Enabled() { return Setting().enabled; }

int DeviceThreadCheck::Violations() { return g_violations.load(); }

void DeviceThreadCheck::SetDeliberate(bool deliberate) { g_deliberate = deliberate; }

void DeviceThreadCheck::Note(const wchar_t* call, DWORD ownerThread) {
    const CheckSetting& setting = Setting();
    if (!setting.enabled) return;
    const DWORD current = ::GetCurrentThreadId();
    if (current == ownerThread) return;
    ++g_violations;
    LogPrintf(L"Direct3Dデバイス呼出しが所有スレッド外: %ls owner=%u thread=%u", call, static_cast<unsigned>(ownerThread),
              static_cast<unsigned>(current));
    if (setting.reportPath[0] == 0 || g_deliberate.load()) return;
    char line[256];
    std::snprintf(line, sizeof(line), "pid %lu: %ls off the owner thread (owner %lu, caller %lu)\r\n",
                  static_cast<unsigned long>(::GetCurrentProcessId()), call, static_cast<unsigned long>(ownerThread),
                  static_cast<unsigned long>(current));
    AppendReport(setting.reportPath, line);
}

#include "app/LaunchHandOff.h"

#include <cstring>

#include "app/CommandLine.h"
#include "app/MainWindowIds.h"
#include "base/DataFolder_CL.h"
#include "store/IniSnapshot_CL.h"

bool HandOffToRunningInstance() {
    // A launch is handed over when a player runs and duplicate_launch is not 1. The window is
    // looked for first: it is the cheap half, and a first start then reads no file here.
    HWND running = ::FindWindowExW(nullptr, nullptr, kMainWindowClass, kMainWindowTitle);
    if (!running) return false;
    const IniSnapshot_CL settings = IniSnapshot_CL::ReadFile(DataFolder_CL::SettingsIniPath());
    if (settings.GetInt(L"SETTING", L"duplicate_launch", 0) == 1) return false;

    LaunchRequest request;
    // "/ExtResume" re-applies the association and ends without a window: start-up does that
    // itself, whether or not an instance runs.
    if (ParseCommandLine(ProcessArguments(), request) == ParseOutcome::ExtResume) return false;
    if (request.path[0] != L'\0') {
        COPYDATASTRUCT data{};
        data.dwData = kCopyDataLaunchRequest;
        data.cbData = sizeof(request);
        data.lpData = &request;
        DWORD_PTR result = 0;
        // The running player brings itself to the front; this start, which the user just made,
        // may give it that right.
        DWORD runningProcess = 0;
        ::GetWindowThreadProcessId(running, &runningProcess);
        if (runningProcess) ::AllowSetForegroundWindow(runningProcess);
        // Fire and forget, but never wait for ever on an instance that hangs.
        ::SendMessageTimeoutW(running, WM_COPYDATA, reinterpret_cast<WPARAM>(::GetModuleHandleW(nullptr)),
                              reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                              kHandOffTimeoutMs, &result);
    }
    if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
    return true;
}

bool ReadLaunchRecord(const COPYDATASTRUCT* data, LaunchRequest& out) {
    if (!data || data->cbData != sizeof(LaunchRequest) || !data->lpData) return false;
    std::memcpy(&out, data->lpData, sizeof(LaunchRequest));
    out.path[kLaunchPathUnits - 1] = L'\0';
    return true;
}

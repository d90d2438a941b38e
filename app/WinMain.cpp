// Program entry: start-up in its fixed order, the message loop, and the orderly shut-down.

#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

#include "app/DataFolderSetup.h"
#include "app/GraphicsHelpers.h"
#include "app/LaunchHandOff.h"
#include "app/LumikinoHDMainWindow_CL.h"
#include "app/MessageLoop_CL.h"
#include "base/LogFile_CL.h"
#include "base/UniqueHandle_CL.h"
#include "store/AppSettings.h"

namespace {
// Held for the life of the process; the duplicate-launch check works through the window.
constexpr wchar_t kInstanceMutexName[] = L"Lumikino.Player.Instance.7f3c1e52";

class ScopedCom_CL {
public:
    ScopedCom_CL() : m_hr(::CoInitialize(nullptr)) {}
    ~ScopedCom_CL() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ScopedCom_CL(const ScopedCom_CL&) = delete;
    ScopedCom_CL& operator=(const ScopedCom_CL&) = delete;

private:
    HRESULT m_hr;
};

class ScopedGdiplus_CL {
public:
    ScopedGdiplus_CL() {
        Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread
        if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
    }
    ~ScopedGdiplus_CL() {
        if (m_token) Gdiplus::GdiplusShutdown(m_token);
    }
    ScopedGdiplus_CL(const ScopedGdiplus_CL&) = delete;
    ScopedGdiplus_CL& operator=(const ScopedGdiplus_CL&) = delete;

private:
    ULONG_PTR m_token = 0;
};

class ScopedMutex_CL {
public:
    explicit ScopedMutex_CL(const wchar_t* name) : m_mutex(::CreateMutexW(nullptr, TRUE, name)) {}
    ~ScopedMutex_CL() {
        if (m_mutex.IsValid()) ::ReleaseMutex(m_mutex.Get());
    }
    ScopedMutex_CL(const ScopedMutex_CL&) = delete;
    ScopedMutex_CL& operator=(const ScopedMutex_CL&) = delete;

private:
    KernelHandle_CL m_mutex;
};
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Libraries we load by name come from the system folder or ours, never the current folder.
    ::SetDllDirectoryW(L"");
    std::setlocale(LC_ALL, "Japanese");
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    if (HandOffToRunningInstance()) return 0;

    ScopedMutex_CL instanceMutex(kInstanceMutexName);
    PrepareDataFolder();
    ScopedCom_CL com;
    ScopedGdiplus_CL gdiplus;
    ProbeGraphicsHelpers();
    InstallVideoPresenter();

    int exitCode = 0;
    {
        LumikinoHDMainWindow_CL window(instance);
        if (window.ParseLaunchCommandLine() == ParseOutcome::ExtResume) {
            LoadAppSettings();
            // Re-applying the association is the association helper's work; this start only
            // records that it was asked for.
            LogPrintf(L"%ls", L"/ExtResume: ファイル関連付けの再適用を要求されました");
            return 0;
        }
        LoadAppSettings();
        if (!window.RegisterWindowClass()) {
            LogPrintf(L"RegisterClassExW failed: %u", static_cast<unsigned>(::GetLastError()));
            return 1;
        }
        if (!window.Create()) {
            LogPrintf(L"CreateWindowExW failed: %u", static_cast<unsigned>(::GetLastError()));
            return 1;
        }
        MessageLoop_CL loop(window);
        exitCode = loop.Run();
    }
    return exitCode;
}

// Program entry: start-up in its fixed order, the message loop, and the orderly shut-down.

#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "app/DataFolderSetup.h"
#include "app/DelayLoadRoute.h"
#include "app/GraphicsHelpers.h"
#include "app/LaunchHandOff.h"
#include "app/LumikinoHDMainWindow_CL.h"
#include "app/MainWindowIds.h"
#include "app/MessageLoop_CL.h"
#include "assoc/AssocLauncher_CL.h"
#include "base/LogFile_CL.h"
#include "base/ScopedCom_CL.h"
#include "base/UniqueHandle_CL.h"
#include "store/AppSettings.h"

namespace {
// Held for the life of the process; the duplicate-launch check works through the window.
constexpr wchar_t kInstanceMutexName[] = L"Lumikino.Player.Instance.7f3c1e52";

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

// What a start needs only once its window is up: COM and GDI+ for the graphs and the pictures,
// the graphics helpers and the presenter for the first graph. Nothing of it is used before the
// message loop runs, and under Wine each piece costs time the user would otherwise wait for
// the window.
struct ServicesAfterShow {
    std::optional<ScopedCom_CL> com;
    std::optional<ScopedGdiplus_CL> gdiplus;

    void Start() {
        com.emplace();
        gdiplus.emplace();
        ProbeGraphicsHelpers();
        InstallVideoPresenter();
    }
};
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RouteDelayLoadsToSystemFolder();
    // Libraries we load by name come from the system folder or ours, never the current folder.
    ::SetDllDirectoryW(L"");
    std::setlocale(LC_ALL, "Japanese");
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    if (HandOffToRunningInstance()) return 0;

    ScopedMutex_CL instanceMutex(kInstanceMutexName);
    PrepareDataFolder();
    // Declared before the window so that they end after it: the window releases its graph
    // before COM goes.
    ServicesAfterShow services;

    int exitCode = 0;
    {
        LumikinoHDMainWindow_CL window(instance);
        if (window.ParseLaunchCommandLine() == ParseOutcome::ExtResume) {
            services.Start();
            CreateRecordFolders();
            LoadAppSettings();
            // Every extension goes back to the handler it had before the player (the helper
            // writes the registry); no window is made.
            LogPrintf(L"%ls", L"/ExtResume: ファイル関連付けの再適用を要求されました");
            HandBackAssociations();
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
        // The window is up (its WM_CREATE showed it) and drawn; the rest of the start runs
        // before the first message is taken, so nothing that message starts finds it missing.
        ::RedrawWindow(window.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        services.Start();
        CreateRecordFolders();
        ::PostMessageW(window.Handle(), WM_REBUILD_LAUNCH_EXTENSIONS, 0, 0);
        MessageLoop_CL loop(window);
        for (HWND dialog : window.ModelessDialogs()) loop.AddModelessDialog(dialog);
        exitCode = loop.Run();
    }
    return exitCode;
}

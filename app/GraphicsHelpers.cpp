#include "app/GraphicsHelpers.h"

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/Platform.h"
#include "media/DXHelper_CL.h"

namespace {
GraphicsHelpers g_helpers;
}  // namespace

void ProbeGraphicsHelpers() {
    GraphicsHelpers& h = g_helpers;
    h.rgb9rast = LoadTrustedLibrary(L"rgb9rast.dll", LibraryFolders::kSystemAndProgram);
    h.D3D9GetSWInfo = LibraryEntry<GraphicsHelpers::D3D9GetSWInfoFn>(h.rgb9rast, "D3D9GetSWInfo");
    if (h.rgb9rast && !h.D3D9GetSWInfo) return;  // a foreign rgb9rast: leave DWM alone as well
    h.dwmapi = LoadTrustedLibrary(L"dwmapi.dll", LibraryFolders::kSystemAndProgram);
    h.DwmIsCompositionEnabled =
        LibraryEntry<GraphicsHelpers::DwmIsCompositionEnabledFn>(h.dwmapi, "DwmIsCompositionEnabled");
    if (!h.DwmIsCompositionEnabled) return;
    h.DwmGetCompositionTimingInfo =
        LibraryEntry<GraphicsHelpers::DwmGetCompositionTimingInfoFn>(h.dwmapi, "DwmGetCompositionTimingInfo");
    if (!h.DwmGetCompositionTimingInfo) return;
    h.DwmSetPresentParameters =
        LibraryEntry<GraphicsHelpers::DwmSetPresentParametersFn>(h.dwmapi, "DwmSetPresentParameters");
}

const GraphicsHelpers& ProcessGraphicsHelpers() { return g_helpers; }

void InstallVideoPresenter() {
    DXHelper_CL::SetSoftwareRasterizer(reinterpret_cast<FARPROC>(reinterpret_cast<void*>(g_helpers.D3D9GetSWInfo)));
    const DXHelper_CL::PresentPath path = DXHelper_CL::DetectPresentPath();
    DXHelper_CL::SetPresentPath(path);
    SetPresenterFactory(CreateDXHelper);
    // The device is made on this thread while the graph starts and its first picture is on
    // the way, not before the graph is built.
    SetPresenterSetUpDeferred(true);
    if (ProcessLogSwitches().log_detail_renderer) {
        LogPrintf(L"映像の表示経路: %ls", path == DXHelper_CL::PresentPath::kCopy ? L"コピー(GDI)" : L"Present");
    }
}

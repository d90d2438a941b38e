#include "app/GraphicsHelpers.h"

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "media/DXHelper_CL.h"

namespace {
GraphicsHelpers g_helpers;

HMODULE LoadTrustedLibrary(const wchar_t* name) {
    return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
}

template <typename Fn>
Fn Entry(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
}  // namespace

void ProbeGraphicsHelpers() {
    GraphicsHelpers& h = g_helpers;
    h.rgb9rast = LoadTrustedLibrary(L"rgb9rast.dll");
    h.D3D9GetSWInfo = Entry<GraphicsHelpers::D3D9GetSWInfoFn>(h.rgb9rast, "D3D9GetSWInfo");
    if (h.rgb9rast && !h.D3D9GetSWInfo) return;  // a foreign rgb9rast: leave DWM alone as well
    h.dwmapi = LoadTrustedLibrary(L"dwmapi.dll");
    h.DwmIsCompositionEnabled = Entry<GraphicsHelpers::DwmIsCompositionEnabledFn>(h.dwmapi, "DwmIsCompositionEnabled");
    if (!h.DwmIsCompositionEnabled) return;
    h.DwmGetCompositionTimingInfo =
        Entry<GraphicsHelpers::DwmGetCompositionTimingInfoFn>(h.dwmapi, "DwmGetCompositionTimingInfo");
    if (!h.DwmGetCompositionTimingInfo) return;
    h.DwmSetPresentParameters = Entry<GraphicsHelpers::DwmSetPresentParametersFn>(h.dwmapi, "DwmSetPresentParameters");
}

const GraphicsHelpers& ProcessGraphicsHelpers() { return g_helpers; }

void InstallVideoPresenter() {
    DXHelper_CL::SetSoftwareRasterizer(reinterpret_cast<FARPROC>(reinterpret_cast<void*>(g_helpers.D3D9GetSWInfo)));
    const DXHelper_CL::PresentPath path = DXHelper_CL::DetectPresentPath();
    DXHelper_CL::SetPresentPath(path);
    SetPresenterFactory(CreateDXHelper);
    if (ProcessLogSwitches().log_detail_renderer) {
        LogPrintf(L"映像の表示経路: %ls", path == DXHelper_CL::PresentPath::kCopy ? L"コピー(GDI)" : L"Present");
    }
}

#include "app/GraphicsHelpers.h"

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

#pragma once
// Optional graphics entry points probed once at start-up and kept for the process's life.
// Each is null when its library or entry is missing; the presenter works without them.

#include <windows.h>

struct GraphicsHelpers {
    using D3D9GetSWInfoFn = HRESULT(WINAPI*)();
    using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
    using DwmGetCompositionTimingInfoFn = HRESULT(WINAPI*)(HWND, void*);
    using DwmSetPresentParametersFn = HRESULT(WINAPI*)(HWND, void*);

    HMODULE rgb9rast = nullptr;
    HMODULE dwmapi = nullptr;
    D3D9GetSWInfoFn D3D9GetSWInfo = nullptr;
    DwmIsCompositionEnabledFn DwmIsCompositionEnabled = nullptr;
    DwmGetCompositionTimingInfoFn DwmGetCompositionTimingInfo = nullptr;
    DwmSetPresentParametersFn DwmSetPresentParameters = nullptr;
};

// Thread: UI, once at start-up. The libraries are loaded only from the system folder and the
// program's folder, never from the current folder (the movie's folder when an association
// started us), so a DLL planted beside a movie cannot run.
void ProbeGraphicsHelpers();
const GraphicsHelpers& ProcessGraphicsHelpers();

// Thread: UI, once at start-up after ProbeGraphicsHelpers and before any graph is built.
// Makes the Direct3D presenter the one every video renderer draws through, hands it the
// software rasteriser found above, and chooses how its picture reaches the screen.
void InstallVideoPresenter();

#pragma once
// One Direct3D 9 device for the presenter, with the hidden window it belongs to. The device's
// own back buffer stays tiny: the presenter draws into targets sized to the video window (an
// additional swap chain, or a render target that is read back), so a resize never resets the
// device. A reset is needed only after a loss.
//
// Threads: the thread that creates it owns it (the user-interface thread). Creation, Reset,
// TestCooperativeLevel and the final release happen there, and DeviceThreadCheck records any
// that do not. Device() may be used by the drawing thread under the presenter's frame lock.
//
// A device is expensive to make (about 190 ms under Wine with the presenter's set-up), so when a
// presenter ends, its device is parked for the next one on the same thread: the next movie or a
// second launch's movie draws on it at once.

#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <memory>
#include <string>

#include "base/UniqueHandle_CL.h"
#include "media/OverlayPainter_CL.h"

class PresenterDevice_CL {
public:
    // A device made on the calling thread, which becomes its owner; null when Direct3D 9 or
    // every device type fails. softwareRasterizer: rgb9rast's entry when start-up found one.
    static std::unique_ptr<PresenterDevice_CL> Create(FARPROC softwareRasterizer);
    ~PresenterDevice_CL();
    PresenterDevice_CL(const PresenterDevice_CL&) = delete;
    PresenterDevice_CL& operator=(const PresenterDevice_CL&) = delete;

    IDirect3DDevice9* Device() const { return m_device.Get(); }
    DWORD OwnerThread() const { return m_owner; }

    // Thread: owner.
    HRESULT TestCooperativeLevel();
    // Thread: owner. Every D3DPOOL_DEFAULT resource must be released first; the overlay is
    // taken through the reset here.
    HRESULT Reset();

    // The overlay's fonts, texts and atlas: made once for this device (a resize keeps them)
    // and parked with it. Draw it under the presenter's frame lock.
    OverlayPainter_CL& Overlay() { return m_overlay; }
    // Thread: owner. Makes the overlay unless it was made already with this atlas.
    void PrepareOverlay(const std::wstring& atlasPath);

    // Thread: owner. Keeps the device for the next presenter of this thread; a device parked
    // before goes.
    static void Park(std::unique_ptr<PresenterDevice_CL> device);
    // Thread: owner. The parked device when it belongs to the calling thread, else null.
    static std::unique_ptr<PresenterDevice_CL> TakeParked();
    // Thread: owner. Releases the parked device (the program's end, the tests' tear-down).
    static void ReleaseParked();

    // Devices made by this process so far, for the tests.
    static int CreatedCount();

private:
    PresenterDevice_CL() = default;
    D3DPRESENT_PARAMETERS Parameters() const;

    Microsoft::WRL::ComPtr<IDirect3D9> m_d3d;
    Microsoft::WRL::ComPtr<IDirect3DDevice9> m_device;
    OwnedWindow_CL m_window;  // hidden, never shown
    DWORD m_owner = 0;
    OverlayPainter_CL m_overlay;
    bool m_overlayMade = false;
    std::wstring m_overlayAtlas;
};

#pragma once
// A Direct3D 9 device of its own for overlay tests and benchmarks: made on a hidden top-level
// window (under Wine a device on a hidden window draws and reads back normally), with a back
// buffer of the asked size that frames are drawn into and read back from. Made as the
// presenter makes its device (hardware first, then the software device; software vertex
// processing, multithreaded, FPU preserved). No GoogleTest here, so the benchmark links it too.
// Thread: the thread that opens it, throughout.

#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <cstdint>
#include <vector>

#include "base/UniqueHandle_CL.h"

// Pixels read back, 0x00RRGGBB, rows top-down.
struct OffscreenPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class OffscreenDevice_CL {
public:
    OffscreenDevice_CL() = default;
    ~OffscreenDevice_CL() { Close(); }
    OffscreenDevice_CL(const OffscreenDevice_CL&) = delete;
    OffscreenDevice_CL& operator=(const OffscreenDevice_CL&) = delete;

    // False when no device could be made.
    bool Open(int width, int height);
    void Close();
    IDirect3DDevice9* Device() const { return m_device.Get(); }
    SIZE Size() const { return m_size; }

    // Clears the back buffer to the colour and begins a scene.
    bool BeginFrame(D3DCOLOR background);
    void EndFrame();
    // Waits until the device has finished everything sent so far (an event query).
    void Finish();
    // The back buffer as it is now.
    bool ReadBack(OffscreenPicture* picture);
    // Resets the device with the same parameters (default-pool resources must be gone).
    HRESULT Reset();

private:
    D3DPRESENT_PARAMETERS Parameters() const;

    OwnedWindow_CL m_window;
    Microsoft::WRL::ComPtr<IDirect3D9> m_d3d;
    Microsoft::WRL::ComPtr<IDirect3DDevice9> m_device;
    Microsoft::WRL::ComPtr<IDirect3DQuery9> m_finished;
    SIZE m_size{0, 0};
};

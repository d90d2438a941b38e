#include "media/PresenterDevice_CL.h"

#include <atomic>
#include <mutex>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "media/DeviceThreadCheck.h"
#include "media/Direct3DLibrary_CL.h"

namespace {

constexpr wchar_t kDeviceWindowClass[] = L"LumikinoPresenterDevice";
constexpr UINT kOwnBackBufferSide = 16;

std::atomic<int> g_created{0};
std::mutex g_parkLock;
PresenterDevice_CL* g_parked = nullptr;  // under g_parkLock; deliberately not destroyed at exit

LRESULT CALLBACK DeviceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateDeviceWindow() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    if (!::GetClassInfoW(instance, kDeviceWindowClass, &windowClass)) {
        windowClass.lpfnWndProc = DeviceWindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kDeviceWindowClass;
        if (!::RegisterClassW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    }
    return ::CreateWindowExW(WS_EX_TOOLWINDOW, kDeviceWindowClass, L"", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr,
                             instance, nullptr);
}

}  // namespace

D3DPRESENT_PARAMETERS PresenterDevice_CL::Parameters() const {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = kOwnBackBufferSide;
    parameters.BackBufferHeight = kOwnBackBufferSide;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = m_window.Get();
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = FALSE;
    parameters.Flags = D3DPRESENTFLAG_VIDEO;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return parameters;
}

std::unique_ptr<PresenterDevice_CL> PresenterDevice_CL::Create(FARPROC softwareRasterizer) {
    const bool trace = ProcessLogSwitches().log_detail_renderer;
    std::unique_ptr<PresenterDevice_CL> made(new PresenterDevice_CL());
    made->m_owner = ::GetCurrentThreadId();
    // Taken over without another reference (this ComPtr's Attach would add one).
    *made->m_d3d.ReleaseAndGetAddressOf() = Direct3DLibrary_CL::Instance().CreateDirect3D();
    if (trace) LogPrintf(L"%ls", L"DXHelper_CL::InitializeD3D9(01)");
    if (!made->m_d3d) return nullptr;
    if (softwareRasterizer) made->m_d3d->RegisterSoftwareDevice(reinterpret_cast<void*>(softwareRasterizer));
    if (trace) LogPrintf(L"%ls", L"DXHelper_CL::InitializeD3D9(02)");
    made->m_window.Reset(CreateDeviceWindow());
    if (!made->m_window.Get()) return nullptr;

    if (trace) LogPrintf(L"%ls", L"DXHelper_CL::InitializeD3D9(03)");
    DeviceThreadCheck::Note(L"CreateDevice", made->m_owner);
    const DWORD behaviour = D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED | D3DCREATE_FPU_PRESERVE;
    D3DPRESENT_PARAMETERS parameters = made->Parameters();
    HRESULT hr = made->m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, made->m_window.Get(), behaviour,
                                           &parameters, made->m_device.ReleaseAndGetAddressOf());
    if (FAILED(hr) || !made->m_device) {
        parameters = made->Parameters();
        hr = made->m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_SW, made->m_window.Get(), behaviour, &parameters,
                                       made->m_device.ReleaseAndGetAddressOf());
    }
    if (trace) LogPrintf(L"DXHelper_CL::InitializeD3D9(04) hr=0x%08x", static_cast<unsigned>(hr));
    if (FAILED(hr) || !made->m_device) return nullptr;
    ++g_created;
    return made;
}

PresenterDevice_CL::~PresenterDevice_CL() {
    m_overlay.Release();
    if (m_device) DeviceThreadCheck::Note(L"Release (final)", m_owner);
    m_device.Reset();
    m_d3d.Reset();
}

HRESULT PresenterDevice_CL::TestCooperativeLevel() {
    DeviceThreadCheck::Note(L"TestCooperativeLevel", m_owner);
    return m_device->TestCooperativeLevel();
}

HRESULT PresenterDevice_CL::Reset() {
    DeviceThreadCheck::Note(L"Reset", m_owner);
    m_overlay.BeforeReset();
    D3DPRESENT_PARAMETERS parameters = Parameters();
    const HRESULT hr = m_device->Reset(&parameters);
    if (SUCCEEDED(hr)) m_overlay.AfterReset();
    return hr;
}

void PresenterDevice_CL::PrepareOverlay(const std::wstring& atlasPath) {
    if (m_overlayMade && atlasPath == m_overlayAtlas) return;
    m_overlayMade = SUCCEEDED(m_overlay.Create(m_device.Get(), atlasPath));
    m_overlayAtlas = atlasPath;
    if (ProcessLogSwitches().log_detail_renderer) {
        LogPrintf(L"DXHelper_CL::PrepareOverlay fonts=%d atlas=%d", m_overlay.HasFonts() ? 1 : 0,
                  m_overlay.HasAtlas() ? 1 : 0);
    }
}

void PresenterDevice_CL::Park(std::unique_ptr<PresenterDevice_CL> device) {
    if (!device) return;
    if (device->m_owner != ::GetCurrentThreadId()) return;  // released here: the check records it
    PresenterDevice_CL* old = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_parkLock);
        old = g_parked;
        g_parked = device.release();
    }
    delete old;
}

std::unique_ptr<PresenterDevice_CL> PresenterDevice_CL::TakeParked() {
    std::lock_guard<std::mutex> lock(g_parkLock);
    if (!g_parked || g_parked->m_owner != ::GetCurrentThreadId()) return nullptr;
    std::unique_ptr<PresenterDevice_CL> taken(g_parked);
    g_parked = nullptr;
    return taken;
}

void PresenterDevice_CL::ReleaseParked() {
    PresenterDevice_CL* parked = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_parkLock);
        if (!g_parked || g_parked->m_owner != ::GetCurrentThreadId()) return;
        parked = g_parked;
        g_parked = nullptr;
    }
    delete parked;
}

int PresenterDevice_CL::CreatedCount() { return g_created.load(); }

#include "tests/media/overlay/OffscreenDevice_CL.h"

#include <cstring>

#include "media/Direct3DLibrary_CL.h"

using Microsoft::WRL::ComPtr;

D3DPRESENT_PARAMETERS OffscreenDevice_CL::Parameters() const {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferWidth = static_cast<UINT>(m_size.cx);
    parameters.BackBufferHeight = static_cast<UINT>(m_size.cy);
    parameters.BackBufferCount = 1;
    parameters.hDeviceWindow = m_window.Get();
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return parameters;
}

bool OffscreenDevice_CL::Open(int width, int height) {
    Close();
    m_size = SIZE{width, height};
    m_window.Reset(::CreateWindowExW(0, L"STATIC", L"overlay device", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                                     nullptr, nullptr));
    if (!m_window.Get()) return false;
    *m_d3d.ReleaseAndGetAddressOf() = Direct3DLibrary_CL::Instance().CreateDirect3D();
    if (!m_d3d) return false;
    const DWORD behaviour = D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED | D3DCREATE_FPU_PRESERVE;
    for (D3DDEVTYPE type : {D3DDEVTYPE_HAL, D3DDEVTYPE_SW}) {
        D3DPRESENT_PARAMETERS parameters = Parameters();
        if (SUCCEEDED(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, type, m_window.Get(), behaviour, &parameters,
                                          m_device.ReleaseAndGetAddressOf()))) {
            break;
        }
    }
    if (!m_device) return false;
    m_device->CreateQuery(D3DQUERYTYPE_EVENT, m_finished.ReleaseAndGetAddressOf());
    return true;
}

void OffscreenDevice_CL::Close() {
    m_finished.Reset();
    m_device.Reset();
    m_d3d.Reset();
    m_window.Reset();
}

bool OffscreenDevice_CL::BeginFrame(D3DCOLOR background) {
    if (!m_device) return false;
    if (FAILED(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, background, 1.0f, 0))) return false;
    return SUCCEEDED(m_device->BeginScene());
}

void OffscreenDevice_CL::EndFrame() {
    if (m_device) m_device->EndScene();
}

void OffscreenDevice_CL::Finish() {
    if (!m_finished) return;
    m_finished->Issue(D3DISSUE_END);
    while (m_finished->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
        ::SwitchToThread();
    }
}

bool OffscreenDevice_CL::ReadBack(OffscreenPicture* picture) {
    ComPtr<IDirect3DSurface9> back;
    if (!m_device || FAILED(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) return false;
    ComPtr<IDirect3DSurface9> copy;
    if (FAILED(m_device->CreateOffscreenPlainSurface(static_cast<UINT>(m_size.cx), static_cast<UINT>(m_size.cy),
                                                     D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr)) ||
        FAILED(m_device->GetRenderTargetData(back.Get(), copy.Get()))) {
        return false;
    }
    D3DLOCKED_RECT locked{};
    if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return false;
    picture->width = m_size.cx;
    picture->height = m_size.cy;
    picture->pixels.resize(static_cast<size_t>(m_size.cx) * m_size.cy);
    for (int y = 0; y < m_size.cy; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) +
                                                            static_cast<size_t>(locked.Pitch) * y);
        for (int x = 0; x < m_size.cx; ++x) picture->pixels[static_cast<size_t>(y) * m_size.cx + x] = row[x] & 0xFFFFFF;
    }
    copy->UnlockRect();
    return true;
}

HRESULT OffscreenDevice_CL::Reset() {
    if (!m_device) return E_POINTER;
    m_finished.Reset();  // queries live in the default pool
    D3DPRESENT_PARAMETERS parameters = Parameters();
    HRESULT hr = m_device->Reset(&parameters);
    if (SUCCEEDED(hr)) m_device->CreateQuery(D3DQUERYTYPE_EVENT, m_finished.ReleaseAndGetAddressOf());
    return hr;
}

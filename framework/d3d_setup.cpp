#include "framework/d3d_setup.h"

#include <cstring>

#include "diag/log.h"

namespace {

// The first candidate the default adapter's hardware device accepts full screen, or 0.
D3DFORMAT findMode(IDirect3D9* d3d, const D3DFORMAT (&candidates)[2], const char* failureMessage) {
    for (D3DFORMAT candidate : candidates) {
        if (SUCCEEDED(d3d->CheckDeviceType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, candidate, candidate, FALSE))) {
            return candidate;
        }
    }
    LogMessage(failureMessage, 0);
    return D3DFMT_UNKNOWN;
}

}  // namespace

HRESULT fwCreateD3D(IDirect3D9** d3d) {
    *d3d = Direct3DCreate9(D3D_SDK_VERSION);
    return *d3d != nullptr ? S_OK : E_FAIL;
}

HRESULT fwGetFormat(IDirect3D9* d3d, bool fullScreen, BYTE depth, D3DFORMAT* format) {
    if (!fullScreen) {
        *format = D3DFMT_UNKNOWN;  // windowed: the current display format
        return S_OK;
    }
    switch (depth) {
    case 16:
        *format = fwFind16BitMode(d3d);
        return S_OK;
    case 32:
        *format = fwFind32BitMode(d3d);
        return S_OK;
    default:
        LogMessage("fwGetFormat: called with invalid depth", 0);
        *format = D3DFMT_UNKNOWN;
        return E_FAIL;
    }
}

D3DFORMAT fwFind16BitMode(IDirect3D9* d3d) {
    static const D3DFORMAT candidates[2] = {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};
    return findMode(d3d, candidates, "fwFind16BitMode failed to find a usable mode");
}

D3DFORMAT fwFind32BitMode(IDirect3D9* d3d) {
    static const D3DFORMAT candidates[2] = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8};
    return findMode(d3d, candidates, "fwFind32BitMode failed to find a usable mode");
}

void fwInitPresentParameters(bool fullScreen, HWND window, UINT width, UINT height, D3DFORMAT backBufferFormat,
                             D3DFORMAT depthStencilFormat, D3DPRESENT_PARAMETERS* parameters) {
    std::memset(parameters, 0, sizeof(*parameters));
    // Windowed, 0 x 0 lets the device take the window's client size.
    parameters->BackBufferWidth = fullScreen ? width : 0;
    parameters->BackBufferHeight = fullScreen ? height : 0;
    parameters->BackBufferFormat = backBufferFormat;
    parameters->BackBufferCount = 1;
    parameters->MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters->MultiSampleQuality = 0;
    parameters->SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters->hDeviceWindow = window;
    parameters->Windowed = fullScreen ? FALSE : TRUE;
    parameters->EnableAutoDepthStencil = depthStencilFormat != D3DFMT_UNKNOWN ? TRUE : FALSE;
    parameters->AutoDepthStencilFormat = depthStencilFormat;
    parameters->Flags = 0;
    parameters->FullScreen_RefreshRateInHz = 0;
    parameters->PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
}

HRESULT fwCreateDevice(IDirect3D9* d3d, UINT adapter, D3DDEVTYPE deviceType, HWND window,
                       D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    return d3d->CreateDevice(adapter, deviceType, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, parameters, device);
}

void fwReleaseD3D(IDirect3D9** d3d, IDirect3DDevice9** device) {
    if (*device != nullptr) {
        (*device)->Release();
        *device = nullptr;
    }
    if (*d3d != nullptr) {
        (*d3d)->Release();
        *d3d = nullptr;
    }
}

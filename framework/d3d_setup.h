// Direct3D setup: the Direct3D object, a full-screen display format, the presentation
// parameters, the device, and their release.
#pragma once

#include <windows.h>
#include <d3d9.h>

HRESULT fwCreateD3D(IDirect3D9** d3d);
HRESULT fwGetFormat(IDirect3D9* d3d, bool fullScreen, BYTE depth, D3DFORMAT* format);
D3DFORMAT fwFind16BitMode(IDirect3D9* d3d);
D3DFORMAT fwFind32BitMode(IDirect3D9* d3d);
void fwInitPresentParameters(bool fullScreen, HWND window, UINT width, UINT height, D3DFORMAT backBufferFormat,
                             D3DFORMAT depthStencilFormat, D3DPRESENT_PARAMETERS* parameters);
HRESULT fwCreateDevice(IDirect3D9* d3d, UINT adapter, D3DDEVTYPE deviceType, HWND window,
                       D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device);
void fwReleaseD3D(IDirect3D9** d3d, IDirect3DDevice9** device);

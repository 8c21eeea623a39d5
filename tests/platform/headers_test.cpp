// The platform's types keep their Windows sizes and its constants their published values.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <cstddef>

static_assert(sizeof(LONG) == 4 && sizeof(DWORD) == 4 && sizeof(HRESULT) == 4 && sizeof(LPARAM) == sizeof(void*),
              "types");
static_assert(sizeof(D3DADAPTER_IDENTIFIER9) == 1100 && offsetof(D3DADAPTER_IDENTIFIER9, DeviceName) == 1024,
              "the adapter record");
static_assert(sizeof(WNDCLASSEXA) == (sizeof(void*) == 4 ? 48 : 80), "48 bytes on 32-bit Windows, 80 on 64-bit");
static_assert(sizeof(D3DPRESENT_PARAMETERS) == 13 * 4 + sizeof(HWND), "presentation parameters");
static_assert(E_FAIL == static_cast<HRESULT>(0x80004005) && D3DERR_DEVICELOST == static_cast<HRESULT>(0x88760868) &&
                  D3DERR_INVALIDCALL == static_cast<HRESULT>(0x8876086C) &&
                  D3DXERR_INVALIDDATA == static_cast<HRESULT>(0x88760B59),
              "statuses");
static_assert(D3DFMT_A8R8G8B8 == 21 && D3DFMT_X8R8G8B8 == 22 && D3DFMT_R5G6B5 == 23 && D3DFMT_X1R5G5B5 == 24,
              "formats");
static_assert((WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON) == 0x50030009 &&
                  (WS_VISIBLE | WS_CAPTION) == 0x10C00000 && (WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME) == 0x00040001,
              "styles");

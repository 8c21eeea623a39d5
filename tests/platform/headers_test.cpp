// The platform's constants keep their published values (the sizes matter to nothing but the Windows build).
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

static_assert(E_FAIL == static_cast<HRESULT>(0x80004005) && D3DERR_DEVICELOST == static_cast<HRESULT>(0x88760868) &&
                  D3DERR_INVALIDCALL == static_cast<HRESULT>(0x8876086C) &&
                  D3DXERR_INVALIDDATA == static_cast<HRESULT>(0x88760B59) && D3DFMT_R5G6B5 == 23,
              "statuses and formats");
static_assert((WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON) == 0x50030009 &&
                  (WS_VISIBLE | WS_CAPTION) == 0x10C00000 && (WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME) == 0x00040001,
              "styles");

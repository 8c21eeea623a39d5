// The D3DX 9 font, over FreeType and fontconfig.
#pragma once

#include "d3d9.h"

#define _FACDD 0x876
#define MAKE_DDHRESULT(code) MAKE_HRESULT(1, _FACDD, code)

enum _D3DXERR {
    D3DXERR_CANNOTMODIFYINDEXBUFFER = MAKE_DDHRESULT(2900),
    D3DXERR_INVALIDMESH = MAKE_DDHRESULT(2901),
    D3DXERR_CANNOTATTRSORT = MAKE_DDHRESULT(2902),
    D3DXERR_SKINNINGNOTSUPPORTED = MAKE_DDHRESULT(2903),
    D3DXERR_TOOMANYINFLUENCES = MAKE_DDHRESULT(2904),
    D3DXERR_INVALIDDATA = MAKE_DDHRESULT(2905),
    D3DXERR_LOADEDMESHASNODATA = MAKE_DDHRESULT(2906),
    D3DXERR_DUPLICATENAMEDFRAGMENT = MAKE_DDHRESULT(2907),
    D3DXERR_CANNOTREMOVELASTITEM = MAKE_DDHRESULT(2908),
};

struct ID3DXSprite;
typedef ID3DXSprite* LPD3DXSPRITE;

struct ID3DXFont : public IUnknown {
    virtual INT STDMETHODCALLTYPE DrawTextA(LPD3DXSPRITE sprite, LPCSTR text, INT count, LPRECT rect, DWORD format,
                                            D3DCOLOR color) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnLostDevice() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnResetDevice() = 0;

protected:
    ~ID3DXFont() = default;
};
typedef ID3DXFont* LPD3DXFONT;

HRESULT WINAPI D3DXCreateFontA(LPDIRECT3DDEVICE9 device, INT height, UINT width, UINT weight, UINT mipLevels,
                               BOOL italic, DWORD charSet, DWORD outputPrecision, DWORD quality,
                               DWORD pitchAndFamily, LPCSTR faceName, LPD3DXFONT* font);

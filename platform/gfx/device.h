// The software device: a back buffer in the chosen format, scenes, Clear, and Present into
// the device window through the backend. Loss is real: a full-screen device whose window loses
// the focus is lost, and once the focus is back it waits for Reset.
#pragma once

#include <d3d9.h>

#include <cstdint>
#include <vector>

#include "com_object.h"
#include "render_target.h"

namespace gfx {

class Device final : public ComObject<IDirect3DDevice9> {
public:
    // `parameters` are checked and resolved already (see CreateDevice).
    Device(IDirect3D9* owner, D3DDEVTYPE type, const D3DPRESENT_PARAMETERS& parameters);

    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                                      const RGNDATA* dirtyRegion) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                                    DWORD stencil) override;

    RenderTarget target() const;
    void holdDefaultPool(int change) { defaultPoolResources_ += change; }

private:
    enum class State { Usable, Lost, NotReset };
    ~Device() override;  // lets go of the Direct3D object
    void allocateBackBuffer();
    void noticeFocus();  // full screen: losing the focus loses the device
    void keepPresentedFrame();

    IDirect3D9* owner_;
    D3DDEVTYPE type_;
    D3DPRESENT_PARAMETERS parameters_;
    std::vector<uint8_t> backBuffer_;
    int pitch_ = 0;
    State state_ = State::Usable;
    bool inScene_ = false;
    bool presentedLast_ = false;  // the back buffer holds the frame last shown
    bool presentedSinceReset_ = false;
    int defaultPoolResources_ = 0;  // what others hold in D3DPOOL_DEFAULT; Reset refuses while any
};

// Checks parameters as Direct3D does and fills in what they leave to the device (a windowed
// 0 x 0 back buffer takes the window's client size, an unknown format the display's).
HRESULT ResolvePresentParameters(HWND focusWindow, D3DDEVTYPE type, D3DPRESENT_PARAMETERS* parameters);

// An object that keeps D3DPOOL_DEFAULT resources of `device` (the font) says when it makes
// (+1) or frees (-1) them; devices that are not ours are ignored.
void HoldDefaultPoolResources(IDirect3DDevice9* device, int change);

// Fills rectangles of the target with one colour: HAL a row at a time, Reference pixel by pixel.
void FillRect(const RenderTarget& target, const RECT& rect, D3DCOLOR color);

}  // namespace gfx

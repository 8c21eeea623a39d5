// The software device. See device.h.
#include "device.h"

#include <deque>
#include <string>

#include "backend/backend.h"
#include "gfx_state.h"
#include "pixel_format.h"
#include "sim/sim.h"
#include "sim/sim_gfx.h"
#include "system/environment.h"

namespace gfx {
namespace {

constexpr UINT kMaxBackBufferSide = 8192;  // beyond it a back buffer would be hundreds of megabytes

bool isPresentationInterval(UINT interval) {
    return interval == D3DPRESENT_INTERVAL_DEFAULT || interval == D3DPRESENT_INTERVAL_ONE ||
           interval == D3DPRESENT_INTERVAL_IMMEDIATE;
}

// A status the sim scripted for this call, if any.
bool takeScripted(std::deque<HRESULT>& script, HRESULT* status) {
    if (script.empty()) return false;
    *status = script.front();
    script.pop_front();
    return true;
}

// Whether the top-level window that holds `window` has the desktop's focus, asked as any Win32
// program would: the foreground window.
bool holdsTheForeground(HWND window) {
    while (GetParent(window)) window = GetParent(window);
    return window && window == GetForegroundWindow();
}

// The sim's failure for a call, with the call's usual status when the sim names none.
bool simulatedFailure(const char* call, HRESULT usual, HRESULT* status) {
    if (!sim::ShouldFail(call, status)) return false;
    if (*status == 0) *status = usual;
    return true;
}

}  // namespace

HRESULT ResolvePresentParameters(HWND focusWindow, D3DDEVTYPE type, D3DPRESENT_PARAMETERS* p) {
    if (!p->hDeviceWindow) p->hDeviceWindow = focusWindow;
    if (!p->hDeviceWindow || !IsWindow(p->hDeviceWindow)) return D3DERR_INVALIDCALL;
    if (p->BackBufferCount > 3) return D3DERR_INVALIDCALL;
    if (p->SwapEffect < D3DSWAPEFFECT_DISCARD || p->SwapEffect > D3DSWAPEFFECT_COPY) return D3DERR_INVALIDCALL;
    if (p->MultiSampleType != D3DMULTISAMPLE_NONE) return D3DERR_NOTAVAILABLE;
    if (p->EnableAutoDepthStencil && p->AutoDepthStencilFormat != D3DFMT_D16 &&
        p->AutoDepthStencilFormat != D3DFMT_D24S8)
        return D3DERR_INVALIDCALL;
    if (!isPresentationInterval(p->PresentationInterval)) return D3DERR_INVALIDCALL;

    if (p->Windowed) {
        if (p->FullScreen_RefreshRateInHz != 0) return D3DERR_INVALIDCALL;
        if (p->BackBufferFormat == D3DFMT_UNKNOWN) p->BackBufferFormat = D3DFMT_X8R8G8B8;  // the desktop's
        RECT client = {0, 0, 0, 0};
        GetClientRect(p->hDeviceWindow, &client);
        // A window without a client area gets 8 pixels a side, as from Wine's Direct3D.
        if (p->BackBufferWidth == 0) p->BackBufferWidth = client.right > 0 ? static_cast<UINT>(client.right) : 8;
        if (p->BackBufferHeight == 0) p->BackBufferHeight = client.bottom > 0 ? static_cast<UINT>(client.bottom) : 8;
    } else if (p->BackBufferFormat == D3DFMT_UNKNOWN || p->BackBufferWidth == 0 || p->BackBufferHeight == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (!IsBackBufferFormat(p->BackBufferFormat)) return D3DERR_INVALIDCALL;
    if (!AcceptsFormat(type, p->BackBufferFormat)) return D3DERR_NOTAVAILABLE;
    if (p->BackBufferWidth > kMaxBackBufferSide || p->BackBufferHeight > kMaxBackBufferSide)
        return D3DERR_OUTOFVIDEOMEMORY;
    if (p->BackBufferCount == 0) p->BackBufferCount = 1;
    return D3D_OK;
}

Device::Device(IDirect3D9* owner, D3DDEVTYPE type, const D3DPRESENT_PARAMETERS& parameters)
    : ComObject("IDirect3DDevice9::Release"), owner_(owner), type_(type), parameters_(parameters) {
    owner_->AddRef();  // a device keeps its Direct3D object alive
    ++sim::detail::Gfx().liveDevices;
    sim::CountCall("IDirect3DDevice9:create");
    allocateBackBuffer();
}

Device::~Device() {
    // The headless frame dump: the last frame shown, written when the device goes.
    const std::string& path = platform_env::Read().framePng;
    if (presentedLast_ && !path.empty()) {
        keepPresentedFrame();
        std::string error;
        if (!sim::WriteFramePng(sim::detail::Gfx().lastFrame, path, &error))
            OutputDebugStringA(("FONTLOOM_FRAME_PNG: " + error + "\n").c_str());
    }
    --sim::detail::Gfx().liveDevices;
    sim::CountCall("IDirect3DDevice9:free");
    owner_->Release();
}

void Device::allocateBackBuffer() {
    pitch_ = static_cast<int>(parameters_.BackBufferWidth) * BytesPerPixel(parameters_.BackBufferFormat);
    backBuffer_.assign(static_cast<size_t>(pitch_) * parameters_.BackBufferHeight, 0);
    presentedLast_ = false;
    presentedSinceReset_ = false;
}

RenderTarget Device::target() const {
    RenderTarget t;
    t.bits = const_cast<uint8_t*>(backBuffer_.data());
    t.width = static_cast<int>(parameters_.BackBufferWidth);
    t.height = static_cast<int>(parameters_.BackBufferHeight);
    t.pitch = pitch_;
    t.format = parameters_.BackBufferFormat;
    t.reference = type_ == D3DDEVTYPE_REF;
    return t;
}

void Device::noticeFocus() {
    // Only a full-screen device depends on the focus; any lost device waits for a Reset.
    const bool focused = parameters_.Windowed || holdsTheForeground(parameters_.hDeviceWindow);
    if (!focused) {
        state_ = State::Lost;
    } else if (state_ == State::Lost) {
        state_ = State::NotReset;
    }
}

HRESULT Device::TestCooperativeLevel() {
    HRESULT scripted = 0;
    if (takeScripted(sim::detail::Gfx().cooperativeLevels, &scripted)) return scripted;
    noticeFocus();
    switch (state_) {
        case State::Lost: return D3DERR_DEVICELOST;
        case State::NotReset: return D3DERR_DEVICENOTRESET;
        default: return D3D_OK;
    }
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* parameters) {
    HRESULT status = 0;
    if (simulatedFailure("Reset", D3DERR_INVALIDCALL, &status)) return status;
    if (!parameters) return D3DERR_INVALIDCALL;
    noticeFocus();
    if (state_ == State::Lost) return D3DERR_DEVICELOST;
    if (defaultPoolResources_ > 0) {
        // As Direct3D does: no reset while default-pool resources live, and a usable device
        // whose reset failed is lost, so it wants a Reset too (one that was not reset stays so).
        if (state_ == State::Usable) state_ = State::Lost;
        return D3DERR_INVALIDCALL;
    }
    D3DPRESENT_PARAMETERS resolved = *parameters;
    status = ResolvePresentParameters(parameters_.hDeviceWindow, type_, &resolved);
    if (status < 0) return status;
    *parameters = resolved;
    parameters_ = resolved;
    allocateBackBuffer();
    inScene_ = false;
    state_ = State::Usable;
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    HRESULT status = 0;
    if (simulatedFailure("BeginScene", D3DERR_INVALIDCALL, &status)) return status;
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    HRESULT status = 0;
    if (simulatedFailure("EndScene", D3DERR_INVALIDCALL, &status)) return status;
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float, DWORD) {
    HRESULT status = 0;
    if (simulatedFailure("Clear", D3DERR_INVALIDCALL, &status)) return status;
    const DWORD known = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if ((count != 0 && !rects) || flags == 0 || (flags & ~known) != 0) return D3DERR_INVALIDCALL;
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !parameters_.EnableAutoDepthStencil)
        return D3DERR_INVALIDCALL;  // there is no depth buffer to clear
    if (!(flags & D3DCLEAR_TARGET)) return D3D_OK;
    const RenderTarget t = target();
    if (count == 0) {
        FillRect(t, RECT{0, 0, t.width, t.height}, color);
    } else {
        for (DWORD i = 0; i < count; ++i) FillRect(t, RECT{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2}, color);
    }
    presentedLast_ = false;
    return D3D_OK;
}

void Device::keepPresentedFrame() {
    const RenderTarget t = target();
    sim::PresentedFrame& frame = sim::detail::Gfx().lastFrame;
    frame.width = t.width;
    frame.height = t.height;
    frame.format = t.format;
    frame.pixels.resize(static_cast<size_t>(t.width) * t.height);
    const PixelLayout layout = LayoutOf(t.format);
    for (int y = 0; y < t.height; ++y) {
        for (int x = 0; x < t.width; ++x) {
            const uint8_t* pixel = t.bits + static_cast<ptrdiff_t>(y) * t.pitch + x * layout.bytes;
            frame.pixels[static_cast<size_t>(y) * t.width + x] =
                UnpackPixel(layout, LoadPixel(pixel, layout.bytes)) | 0xFF000000u;
        }
    }
}

HRESULT Device::Present(const RECT*, const RECT*, HWND destWindowOverride, const RGNDATA*) {
    sim::detail::NotePresent();
    HRESULT status = 0;
    if (simulatedFailure("Present", D3DERR_INVALIDCALL, &status)) return status;
    if (takeScripted(sim::detail::Gfx().presentResults, &status)) {
        if (status == D3DERR_DEVICELOST) state_ = State::Lost;  // for real: it needs a Reset
        if (status < 0) return status;
    }
    noticeFocus();
    if (state_ != State::Usable) return D3DERR_DEVICELOST;

    const RenderTarget t = target();
    const HWND window = destWindowOverride ? destWindowOverride : parameters_.hDeviceWindow;
    backend::PresentFrame(window, backend::Frame{t.bits, t.width, t.height, t.pitch, t.format,
                                                  !presentedSinceReset_},
                          !parameters_.Windowed);
    presentedLast_ = presentedSinceReset_ = true;
    if (sim::detail::Gfx().keepFrames) keepPresentedFrame();
    return D3D_OK;
}

void HoldDefaultPoolResources(IDirect3DDevice9* device, int change) {
    if (Device* ours = dynamic_cast<Device*>(device)) ours->holdDefaultPool(change);
}

bool GetRenderTarget(IDirect3DDevice9* device, RenderTarget* target) {
    Device* ours = dynamic_cast<Device*>(device);
    if (!ours || !target) return false;
    *target = ours->target();
    return target->bits != nullptr;
}

}  // namespace gfx

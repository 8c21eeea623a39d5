// The Direct3D 9 object: adapters (one per display, or the sim's list), the formats each device
// type accepts, and device creation with Direct3D's own argument checks.
#include <d3d9.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "backend/backend.h"
#include "com_object.h"
#include "device.h"
#include "gfx_state.h"
#include "pixel_format.h"
#include "sim/sim.h"
#include "sim/sim_gfx.h"

namespace gfx {
namespace {

UINT adapterCount() {
    if (sim::detail::Gfx().adaptersOverridden) return static_cast<UINT>(sim::detail::Gfx().adapters.size());
    return static_cast<UINT>(std::max(0, backend::DisplayCount()));
}

void copyText(char* to, size_t size, const std::string& from) {
    const size_t n = std::min(from.size(), size - 1);
    std::memcpy(to, from.data(), n);
    to[n] = '\0';
}

bool isDeviceType(D3DDEVTYPE type) { return type == D3DDEVTYPE_HAL || type == D3DDEVTYPE_REF; }

class Direct3D final : public ComObject<IDirect3D9> {
public:
    Direct3D() : ComObject("IDirect3D9::Release") {
        ++sim::detail::Gfx().liveDirect3D;
        sim::CountCall("IDirect3D9:create");
    }
    ~Direct3D() override {
        --sim::detail::Gfx().liveDirect3D;
        sim::CountCall("IDirect3D9:free");
    }

    UINT STDMETHODCALLTYPE GetAdapterCount() override { return adapterCount(); }

    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT adapter, DWORD,
                                                   D3DADAPTER_IDENTIFIER9* identifier) override {
        HRESULT status = 0;
        if (sim::ShouldFail("GetAdapterIdentifier", &status)) return status != 0 ? status : D3DERR_INVALIDCALL;
        if (!identifier || adapter >= adapterCount()) return D3DERR_INVALIDCALL;
        std::memset(identifier, 0, sizeof *identifier);
        if (sim::detail::Gfx().adaptersOverridden) {
            copyText(identifier->Description, sizeof identifier->Description, sim::detail::Gfx().adapters[adapter].description);
            copyText(identifier->DeviceName, sizeof identifier->DeviceName, sim::detail::Gfx().adapters[adapter].deviceName);
        } else {
            copyText(identifier->Description, sizeof identifier->Description,
                     backend::DisplayName(static_cast<int>(adapter)));
            char deviceName[32];
            std::snprintf(deviceName, sizeof deviceName, "\\\\.\\DISPLAY%u", adapter + 1);
            copyText(identifier->DeviceName, sizeof identifier->DeviceName, deviceName);
        }
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                              D3DFORMAT backBufferFormat, BOOL windowed) override {
        HRESULT status = 0;
        if (sim::ShouldFail("CheckDeviceType", &status) ||
            sim::ShouldFail("CheckDeviceType:" + std::to_string(static_cast<int>(adapterFormat)), &status))
            return status != 0 ? status : D3DERR_NOTAVAILABLE;
        if (adapter >= adapterCount() || !isDeviceType(type)) return D3DERR_INVALIDCALL;
        if (backBufferFormat == D3DFMT_UNKNOWN && windowed) backBufferFormat = adapterFormat;
        if (!IsBackBufferFormat(adapterFormat) || !IsBackBufferFormat(backBufferFormat))
            return D3DERR_NOTAVAILABLE;
        // A display mode shows its own format; an alpha channel over X8R8G8B8 is the one extra.
        const bool matches = backBufferFormat == adapterFormat ||
                             (adapterFormat == D3DFMT_X8R8G8B8 && backBufferFormat == D3DFMT_A8R8G8B8);
        if (!matches || !AcceptsFormat(type, adapterFormat)) return D3DERR_NOTAVAILABLE;
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD,
                                           D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override {
        if (device) *device = nullptr;
        HRESULT status = 0;
        if (sim::ShouldFail("CreateDevice", &status)) return status != 0 ? status : D3DERR_NOTAVAILABLE;
        if (!device || !parameters || adapter >= adapterCount() || !isDeviceType(type))
            return D3DERR_INVALIDCALL;
        if (!focusWindow && !parameters->hDeviceWindow) return D3DERR_INVALIDCALL;
        D3DPRESENT_PARAMETERS resolved = *parameters;
        status = ResolvePresentParameters(focusWindow, type, &resolved);
        if (status < 0) return status;
        *parameters = resolved;  // as Direct3D does: the caller sees the sizes and format it got
        *device = new Device(this, type, resolved);
        return D3D_OK;
    }
};

}  // namespace

bool IsBackBufferFormat(D3DFORMAT format) { return BytesPerPixel(format) != 0; }

bool AcceptsFormat(D3DDEVTYPE type, D3DFORMAT format) {
    const sim::detail::GfxState& s = sim::detail::Gfx();
    const std::vector<D3DFORMAT>& accepted = type == D3DDEVTYPE_REF ? s.acceptedReference : s.acceptedHal;
    return std::find(accepted.begin(), accepted.end(), format) != accepted.end();
}

}  // namespace gfx

IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion) {
    if (sim::ShouldFail("Direct3DCreate9")) return nullptr;
    if (sdkVersion != D3D_SDK_VERSION) return nullptr;
    return new gfx::Direct3D();
}

// IUnknown for our COM objects (the Direct3D object, the device, the D3DX font): no other
// interface is offered, and the last Release deletes the object. What that last release means
// for each object (a device lets go of its Direct3D object) is its destructor's business.
#pragma once

#include <d3d9.h>

#include "sim/sim.h"

namespace gfx {

template <typename Interface>
class ComObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) final {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() final { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() final {
        if (countedRelease_) sim::CountCall(countedRelease_);
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    // `countedRelease`: the name under which the sim counts every Release, or null for none.
    explicit ComObject(const char* countedRelease) : countedRelease_(countedRelease) {}
    virtual ~ComObject() = default;

private:
    const char* countedRelease_;
    ULONG references_ = 1;
};

}  // namespace gfx

#include <d3dx9.h>

#include <cstring>

#include "tests/platform/device/device_fixture.h"

namespace {

TEST_F(DeviceTest, TheObjectNeedsTheSdkVersionAndListsTheSimsAdapters) {
    EXPECT_EQ(Direct3DCreate9(31), nullptr);
    EXPECT_GE(d3d->GetAdapterCount(), 1u) << "the headless display is one adapter";

    sim::SetAdapters({{"First card", "\\\\.\\DISPLAY1"}, {"Second card", "\\\\.\\DISPLAY2"}});
    ASSERT_EQ(d3d->GetAdapterCount(), 2u);
    D3DADAPTER_IDENTIFIER9 id;
    std::memset(&id, 0xAB, sizeof id);
    ASSERT_EQ(d3d->GetAdapterIdentifier(1, 0, &id), D3D_OK);
    EXPECT_STREQ(id.Description, "Second card");
    EXPECT_STREQ(id.DeviceName, "\\\\.\\DISPLAY2");
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&id);
    size_t nonZero = 0;
    for (size_t i = 0; i < sizeof id; ++i) nonZero += bytes[i] != 0;
    EXPECT_EQ(nonZero, std::strlen("Second card") + std::strlen("\\\\.\\DISPLAY2")) << "the rest is zeroed";
    EXPECT_EQ(d3d->GetAdapterIdentifier(2, 0, &id), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d->GetAdapterIdentifier(0, 0, nullptr), D3DERR_INVALIDCALL);

    sim::SetAdapters({});
    EXPECT_EQ(d3d->GetAdapterCount(), 0u);
    std::string error;
    ASSERT_TRUE(sim::RunScript("adapters 10", &error)) << error;
    EXPECT_EQ(d3d->GetAdapterCount(), 10u);
}

TEST_F(DeviceTest, CheckDeviceTypeAcceptsWhatTheDeviceTypeSupports) {
    auto check = [&](D3DFORMAT format, UINT adapter = 0, D3DDEVTYPE type = D3DDEVTYPE_HAL) {
        return d3d->CheckDeviceType(adapter, type, format, format, FALSE);
    };
    for (D3DFORMAT f : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}) EXPECT_EQ(check(f), D3D_OK);
    EXPECT_EQ(check(D3DFMT_A4R4G4B4), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(check(D3DFMT_R5G6B5, 7), D3DERR_INVALIDCALL);
    EXPECT_EQ(check(D3DFMT_R5G6B5, 0, D3DDEVTYPE_SW), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, FALSE), D3DERR_NOTAVAILABLE);

    sim::SetAcceptedFormats(D3DDEVTYPE_HAL, {D3DFMT_X1R5G5B5});
    EXPECT_EQ(check(D3DFMT_R5G6B5), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(check(D3DFMT_X1R5G5B5), D3D_OK);
    EXPECT_EQ(check(D3DFMT_R5G6B5, 0, D3DDEVTYPE_REF), D3D_OK) << "Reference keeps its own list";

    sim::FailCall("CheckDeviceType:24");
    EXPECT_LT(check(D3DFMT_X1R5G5B5), 0);
    EXPECT_EQ(check(D3DFMT_X1R5G5B5), D3D_OK);
}

TEST_F(DeviceTest, CreateDeviceChecksItsArgumentsAsDirect3DDoes) {
    D3DPRESENT_PARAMETERS p = Parameters(true, D3DFMT_R5G6B5);
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, 0, &p, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d->CreateDevice(1, D3DDEVTYPE_HAL, window, 0, &p, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, 0, nullptr, &device), D3DERR_INVALIDCALL);
    D3DPRESENT_PARAMETERS noWindow = p;
    noWindow.hDeviceWindow = nullptr;
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &noWindow, &device), D3DERR_INVALIDCALL);
    D3DPRESENT_PARAMETERS deadWindow = p;
    deadWindow.hDeviceWindow = reinterpret_cast<HWND>(0x4321);
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, deadWindow.hDeviceWindow, 0, &deadWindow, &device),
              D3DERR_INVALIDCALL);

    D3DPRESENT_PARAMETERS depth = p;  // the two depth formats Direct3D 9 devices offer, and no other
    depth.EnableAutoDepthStencil = TRUE;
    depth.AutoDepthStencilFormat = static_cast<D3DFORMAT>(71);  // D3DFMT_D32
    EXPECT_EQ(Create(&depth), D3DERR_INVALIDCALL);
    for (D3DFORMAT format : {D3DFMT_D16, D3DFMT_D24S8}) {
        depth.AutoDepthStencilFormat = format;
        ASSERT_EQ(Create(&depth), D3D_OK) << format;
        device->Release();
        device = nullptr;
    }
    D3DPRESENT_PARAMETERS noFormat = Parameters(true, D3DFMT_UNKNOWN);
    EXPECT_EQ(Create(&noFormat), D3DERR_INVALIDCALL) << "full screen needs a format";
    sim::SetAcceptedFormats(D3DDEVTYPE_HAL, {D3DFMT_X1R5G5B5});
    EXPECT_EQ(Create(&p), D3DERR_NOTAVAILABLE);
    D3DPRESENT_PARAMETERS huge = Parameters(true, D3DFMT_X1R5G5B5);
    huge.BackBufferWidth = 100000;
    EXPECT_LT(Create(&huge), 0);
    sim::FailCall("CreateDevice", 1, 0, D3DERR_OUTOFVIDEOMEMORY);
    D3DPRESENT_PARAMETERS accepted = Parameters(true, D3DFMT_X1R5G5B5);
    EXPECT_EQ(Create(&accepted), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(Create(&accepted), D3D_OK);
    ASSERT_NE(device, nullptr);
}

TEST_F(DeviceTest, AWindowedBackBufferTakesTheClientSizeAndTheDeviceHoldsItsObject) {
    D3DPRESENT_PARAMETERS p = Parameters(false, D3DFMT_UNKNOWN);
    ASSERT_EQ(Create(&p), D3D_OK);
    EXPECT_EQ(p.BackBufferWidth, 640u);
    EXPECT_EQ(p.BackBufferHeight, 480u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(sim::LiveDevices(), 1);

    // Released first, the object lives on in its device; the device frees it at the end.
    EXPECT_EQ(d3d->Release(), 1u);
    d3d = nullptr;
    EXPECT_EQ(sim::LiveDirect3DObjects(), 1);
    EXPECT_EQ(device->AddRef(), 2u);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(device->Release(), 0u);
    device = nullptr;
    EXPECT_EQ(sim::LiveDirect3DObjects(), 0);
    EXPECT_EQ(sim::CallCount("IDirect3D9::Release"), 2);
    EXPECT_EQ(sim::CallCount("IDirect3DDevice9::Release"), 2);

    MoveWindow(window, 0, 0, 1, 1, TRUE);  // no client area left: the back buffer is still 1 x 1
    D3DPRESENT_PARAMETERS tiny = Parameters(false, D3DFMT_UNKNOWN);
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_EQ(Create(&tiny), D3D_OK);
    EXPECT_EQ(tiny.BackBufferWidth, 1u);
    EXPECT_EQ(tiny.BackBufferHeight, 1u);
}

}  // namespace

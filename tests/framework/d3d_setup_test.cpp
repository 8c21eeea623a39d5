#include "framework/d3d_setup.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/sim/sim.h"
#include "tests/support/fake_d3d.h"
#include "tests/support/scratch_dir.h"

namespace {

class D3DSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        sim::CaptureDebugOutput(true);
    }
    void TearDown() override { sim::Reset(); }
    ScratchDir scratch;
    CallLog calls;
    FakeD3D d3d{&calls};
};

TEST_F(D3DSetupTest, WindowedNeverChecksAndTakesTheDisplayFormat) {
    D3DFORMAT format = D3DFMT_X8R8G8B8;
    EXPECT_EQ(fwGetFormat(&d3d, false, 16, &format), S_OK);
    EXPECT_EQ(format, D3DFMT_UNKNOWN);
    EXPECT_EQ(fwGetFormat(&d3d, false, 24, &format), S_OK);  // the depth is not even looked at
    EXPECT_TRUE(calls.events.empty());
}

TEST_F(D3DSetupTest, FullScreenTakesTheFirstAcceptedCandidateOnTheDefaultHardwareAdapter) {
    D3DFORMAT format = D3DFMT_UNKNOWN;
    d3d.acceptedFormats = {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};
    EXPECT_EQ(fwGetFormat(&d3d, true, 16, &format), S_OK);
    EXPECT_EQ(format, D3DFMT_R5G6B5);
    EXPECT_EQ(calls.events, std::vector<std::string>{"CheckDeviceType 0 1 23 23 0"});  // 24 never tried

    calls.events.clear();
    d3d.acceptedFormats = {D3DFMT_X1R5G5B5};
    EXPECT_EQ(fwGetFormat(&d3d, true, 16, &format), S_OK);
    EXPECT_EQ(format, D3DFMT_X1R5G5B5);
    EXPECT_EQ(calls.events, (std::vector<std::string>{"CheckDeviceType 0 1 23 23 0", "CheckDeviceType 0 1 24 24 0"}));

    calls.events.clear();
    d3d.acceptedFormats = {D3DFMT_A8R8G8B8};
    EXPECT_EQ(fwGetFormat(&d3d, true, 32, &format), S_OK);
    EXPECT_EQ(format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(calls.events, (std::vector<std::string>{"CheckDeviceType 0 1 22 22 0", "CheckDeviceType 0 1 21 21 0"}));
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
}

TEST_F(D3DSetupTest, NoUsableModeOrABadDepthIsLoggedWithFormatZero) {
    D3DFORMAT format = D3DFMT_R5G6B5;
    EXPECT_EQ(fwGetFormat(&d3d, true, 16, &format), S_OK);  // still S_OK: device creation fails later
    EXPECT_EQ(format, D3DFMT_UNKNOWN);
    format = D3DFMT_R5G6B5;
    EXPECT_EQ(fwGetFormat(&d3d, true, 32, &format), S_OK);
    EXPECT_EQ(format, D3DFMT_UNKNOWN);
    format = D3DFMT_R5G6B5;
    EXPECT_EQ(fwGetFormat(&d3d, true, 24, &format), E_FAIL);
    EXPECT_EQ(format, D3DFMT_UNKNOWN);
    EXPECT_EQ(ReadFileBytes("log.txt"),
              "fwFind16BitMode failed to find a usable mode\r\n"
              "fwFind32BitMode failed to find a usable mode\r\n"
              "fwGetFormat: called with invalid depth\r\n");
}

TEST_F(D3DSetupTest, PresentParametersByMode) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    D3DPRESENT_PARAMETERS parameters;
    std::memset(&parameters, 0xAB, sizeof(parameters));  // every member must be written
    fwInitPresentParameters(true, window, 640, 480, D3DFMT_R5G6B5, D3DFMT_UNKNOWN, &parameters);
    EXPECT_EQ(parameters.BackBufferWidth, 640u);
    EXPECT_EQ(parameters.BackBufferHeight, 480u);
    EXPECT_EQ(parameters.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(parameters.BackBufferCount, 1u);
    EXPECT_EQ(parameters.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(parameters.MultiSampleQuality, 0u);
    EXPECT_EQ(parameters.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(parameters.hDeviceWindow, window);
    EXPECT_EQ(parameters.Windowed, FALSE);
    EXPECT_EQ(parameters.EnableAutoDepthStencil, FALSE);
    EXPECT_EQ(parameters.AutoDepthStencilFormat, D3DFMT_UNKNOWN);
    EXPECT_EQ(parameters.Flags, 0u);
    EXPECT_EQ(parameters.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(parameters.PresentationInterval, 0x80000000u);

    fwInitPresentParameters(false, window, 640, 480, D3DFMT_UNKNOWN, static_cast<D3DFORMAT>(75), &parameters);
    EXPECT_EQ(parameters.BackBufferWidth, 0u);  // the device takes the client size
    EXPECT_EQ(parameters.BackBufferHeight, 0u);
    EXPECT_EQ(parameters.Windowed, TRUE);
    EXPECT_EQ(parameters.EnableAutoDepthStencil, TRUE);
    EXPECT_EQ(parameters.AutoDepthStencilFormat, static_cast<D3DFORMAT>(75));
}

TEST_F(D3DSetupTest, DeviceCreationPassesTheChoicesAndTheStatusThrough) {
    CallLog deviceCalls;
    FakeDevice device{&deviceCalls};
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferFormat = D3DFMT_X1R5G5B5;
    IDirect3DDevice9* created = nullptr;

    d3d.deviceToCreate = &device;
    EXPECT_EQ(fwCreateDevice(&d3d, 2, D3DDEVTYPE_REF, nullptr, &parameters, &created), S_OK);
    EXPECT_EQ(created, &device);
    EXPECT_EQ(calls.events, std::vector<std::string>{"CreateDevice 2 2 32"});  // software vertex processing
    EXPECT_EQ(d3d.seenParameters.BackBufferFormat, D3DFMT_X1R5G5B5);

    d3d.createStatus = D3DERR_INVALIDCALL;
    EXPECT_EQ(fwCreateDevice(&d3d, 0, D3DDEVTYPE_HAL, nullptr, &parameters, &created), D3DERR_INVALIDCALL);
}

TEST_F(D3DSetupTest, ReleaseGoesDeviceFirstAndOnlyOnce) {
    FakeDevice device{&calls};
    IDirect3D9* d3dReference = &d3d;
    IDirect3DDevice9* deviceReference = &device;
    fwReleaseD3D(&d3dReference, &deviceReference);
    fwReleaseD3D(&d3dReference, &deviceReference);
    EXPECT_EQ(calls.events, (std::vector<std::string>{"Release device", "Release d3d"}));
    EXPECT_EQ(d3dReference, nullptr);
    EXPECT_EQ(deviceReference, nullptr);

    IDirect3D9* none = nullptr;
    IDirect3DDevice9* noDevice = nullptr;
    fwReleaseD3D(&none, &noDevice);  // nothing to do, nothing touched
    EXPECT_EQ(calls.events.size(), 2u);
}

TEST_F(D3DSetupTest, CreateD3DReportsANullObject) {
    IDirect3D9* created = reinterpret_cast<IDirect3D9*>(&d3d);
    sim::FailCall("Direct3DCreate9");
    EXPECT_EQ(fwCreateD3D(&created), E_FAIL);
    EXPECT_EQ(created, nullptr);
}

}  // namespace

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

TEST_F(D3DSetupTest, FullScreenTakesTheFirstAcceptedCandidateAndWindowedNeverChecks) {
    struct Case {
        int depth;
        D3DFORMAT accepted, expected;
        std::vector<std::string> checks;
    };
    const Case cases[] = {
        {16, D3DFMT_R5G6B5, D3DFMT_R5G6B5, {"CheckDeviceType 0 1 23 23 0"}},
        {16, D3DFMT_X1R5G5B5, D3DFMT_X1R5G5B5, {"CheckDeviceType 0 1 23 23 0", "CheckDeviceType 0 1 24 24 0"}},
        {32, D3DFMT_A8R8G8B8, D3DFMT_A8R8G8B8, {"CheckDeviceType 0 1 22 22 0", "CheckDeviceType 0 1 21 21 0"}},
    };
    for (const Case& c : cases) {
        calls.events.clear();
        d3d.acceptedFormats = {c.accepted};
        D3DFORMAT format = D3DFMT_UNKNOWN;
        EXPECT_EQ(fwGetFormat(&d3d, true, c.depth, &format), S_OK);
        EXPECT_EQ(format, c.expected);
        EXPECT_EQ(calls.events, c.checks);
    }
    calls.events.clear();
    D3DFORMAT format = D3DFMT_X8R8G8B8;
    EXPECT_EQ(fwGetFormat(&d3d, false, 24, &format), S_OK);  // the depth is not even looked at
    EXPECT_EQ(format, D3DFMT_UNKNOWN);
    EXPECT_TRUE(calls.events.empty());
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
}

TEST_F(D3DSetupTest, NoUsableModeOrABadDepthIsLoggedWithFormatZero) {
    for (int depth : {16, 32, 24}) {
        D3DFORMAT format = D3DFMT_R5G6B5;
        EXPECT_EQ(fwGetFormat(&d3d, true, depth, &format), depth == 24 ? E_FAIL : S_OK);  // device creation fails later
        EXPECT_EQ(format, D3DFMT_UNKNOWN);
    }
    EXPECT_EQ(ReadFileBytes("log.txt"),
              "fwFind16BitMode failed to find a usable mode\r\n"
              "fwFind32BitMode failed to find a usable mode\r\n"
              "fwGetFormat: called with invalid depth\r\n");
}

// Every member as Direct3D is to get it; the rest of the record stays zero.
TEST_F(D3DSetupTest, PresentParametersAreTheWholeRecord) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    for (bool fullScreen : {true, false}) {
        for (D3DFORMAT depth : {D3DFMT_UNKNOWN, static_cast<D3DFORMAT>(75)}) {
            D3DPRESENT_PARAMETERS expected;
            std::memset(&expected, 0, sizeof(expected));
            expected.BackBufferWidth = fullScreen ? 640 : 0;  // windowed: the device takes the client size
            expected.BackBufferHeight = fullScreen ? 480 : 0;
            expected.BackBufferFormat = D3DFMT_R5G6B5;
            expected.BackBufferCount = 1;
            expected.SwapEffect = D3DSWAPEFFECT_DISCARD;
            expected.hDeviceWindow = window;
            expected.Windowed = !fullScreen;
            expected.EnableAutoDepthStencil = depth != D3DFMT_UNKNOWN;
            expected.AutoDepthStencilFormat = depth;
            expected.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
            D3DPRESENT_PARAMETERS parameters;
            std::memset(&parameters, 0xAB, sizeof(parameters));  // every member must be written
            fwInitPresentParameters(fullScreen, window, 640, 480, D3DFMT_R5G6B5, depth, &parameters);
            EXPECT_EQ(std::memcmp(&parameters, &expected, sizeof(parameters)), 0) << fullScreen << " " << depth;
        }
    }
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

TEST_F(D3DSetupTest, ReleaseGoesDeviceFirstAndOnlyOnceAndANullObjectIsReported) {
    FakeDevice device{&calls};
    IDirect3D9* d3dReference = &d3d;
    IDirect3DDevice9* deviceReference = &device;
    fwReleaseD3D(&d3dReference, &deviceReference);
    fwReleaseD3D(&d3dReference, &deviceReference);  // nothing left: nothing touched
    EXPECT_EQ(calls.events, (std::vector<std::string>{"Release device", "Release d3d"}));
    EXPECT_EQ(d3dReference, nullptr);
    EXPECT_EQ(deviceReference, nullptr);

    IDirect3D9* created = &d3d;
    sim::FailCall("Direct3DCreate9");
    EXPECT_EQ(fwCreateD3D(&created), E_FAIL);
    EXPECT_EQ(created, nullptr);
}

}  // namespace

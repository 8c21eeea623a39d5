#include "framework/d3d_setup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/sim/sim.h"
#include "platform/sim/sim_gfx.h"
#include "tests/support/scratch_dir.h"

namespace {

// Full screen takes the first depth candidate the hardware device accepts; windowed asks nothing.
TEST(D3DSetupTest, TheFormatIsTheFirstAcceptedCandidateOrZeroAndLogged) {
    setenv("FONTLOOM_HEADLESS", "1", 1);
    sim::CaptureDebugOutput(true);
    IDirect3D9* d3d = nullptr;
    ASSERT_EQ(fwCreateD3D(&d3d), S_OK);
    struct Case {
        bool fullScreen;
        int depth;
        std::vector<D3DFORMAT> accepted;
        D3DFORMAT expected;
        HRESULT status;
    } const cases[] = {
        {true, 16, {D3DFMT_X1R5G5B5, D3DFMT_R5G6B5}, D3DFMT_R5G6B5, S_OK},
        {true, 16, {D3DFMT_X1R5G5B5, D3DFMT_X8R8G8B8}, D3DFMT_X1R5G5B5, S_OK},
        {true, 32, {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8}, D3DFMT_X8R8G8B8, S_OK},
        {true, 32, {D3DFMT_A8R8G8B8, D3DFMT_R5G6B5}, D3DFMT_A8R8G8B8, S_OK},
        {false, 24, {}, D3DFMT_UNKNOWN, S_OK},  // the depth is not even looked at
        {true, 16, {D3DFMT_X8R8G8B8}, D3DFMT_UNKNOWN, S_OK},  // device creation fails later
        {true, 32, {D3DFMT_R5G6B5}, D3DFMT_UNKNOWN, S_OK},
        {true, 24, {D3DFMT_R5G6B5}, D3DFMT_UNKNOWN, E_FAIL},
    };
    for (const Case& c : cases) {
        sim::SetAcceptedFormats(D3DDEVTYPE_HAL, c.accepted);
        D3DFORMAT format = D3DFMT_A4R4G4B4;
        EXPECT_EQ(fwGetFormat(d3d, c.fullScreen, c.depth, &format), c.status);
        EXPECT_EQ(format, c.expected) << c.depth;
    }
    EXPECT_EQ(ReadFileBytes("log.txt"),
              "fwFind16BitMode failed to find a usable mode\r\n"
              "fwFind32BitMode failed to find a usable mode\r\n"
              "fwGetFormat: called with invalid depth\r\n");
    d3d->Release();
}

// Every member as Direct3D is to get it; the rest of the record stays zero.
TEST(D3DSetupTest, PresentParametersAreTheWholeRecord) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    for (bool fullScreen : {true, false}) {
        for (D3DFORMAT depth : {D3DFMT_UNKNOWN, D3DFMT_D16}) {
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

}  // namespace

// The device on a headless window, against Direct3D's documented rules. The adapters are listed
// through the preferences window (tests/prefs) and formats checked through fwGetFormat
// (tests/framework), as the program asks for them.
#include <d3d9.h>
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/gfx/render_target.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_gfx.h"
#include "platform/sim/sim_user.h"

namespace {

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("FONTLOOM_HEADLESS", "1", 1);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "DeviceTestWindow";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        window = CreateWindowExA(0, "DeviceTestWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                                 nullptr, nullptr);  // no frame: the client area is 640 x 480
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
    }
    void TearDown() override {
        if (device) device->Release();
        if (d3d) d3d->Release();
        EXPECT_EQ(sim::LiveDevices(), 0);
        EXPECT_EQ(sim::LiveDirect3DObjects(), 0);
        DestroyWindow(window);
    }
    // Windowed for D3DFMT_UNKNOWN (a 0 x 0 back buffer takes the client size), else full screen
    // 640 x 480 in that format; one back buffer, discarded, presented at once.
    D3DPRESENT_PARAMETERS Parameters(D3DFORMAT format = D3DFMT_UNKNOWN) const {
        D3DPRESENT_PARAMETERS p{};
        const bool fullScreen = format != D3DFMT_UNKNOWN;
        p.BackBufferWidth = fullScreen ? 640 : 0;
        p.BackBufferHeight = fullScreen ? 480 : 0;
        p.BackBufferFormat = format;
        p.BackBufferCount = 1;
        p.SwapEffect = D3DSWAPEFFECT_DISCARD;
        p.hDeviceWindow = window;
        p.Windowed = fullScreen ? FALSE : TRUE;
        p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        return p;
    }
    HRESULT Create(D3DPRESENT_PARAMETERS p, D3DDEVTYPE type = D3DDEVTYPE_HAL) {
        if (device) device->Release();
        device = nullptr;
        return d3d->CreateDevice(0, type, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &device);
    }
    void Focus(bool lost) {
        sim::SetFocusLost(lost);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};

TEST_F(DeviceTest, CreateDeviceRefusesWhatDirect3DRefuses) {
    D3DPRESENT_PARAMETERS p = Parameters(D3DFMT_R5G6B5);
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, 0, nullptr, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, 0, &p, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d->CreateDevice(1, D3DDEVTYPE_HAL, window, 0, &p, &device), D3DERR_INVALIDCALL);
    auto with = [&](void (*change)(D3DPRESENT_PARAMETERS&)) {
        D3DPRESENT_PARAMETERS changed = Parameters(D3DFMT_R5G6B5);
        change(changed);
        return Create(changed);
    };
    EXPECT_EQ(with([](auto& p) { p.hDeviceWindow = reinterpret_cast<HWND>(0x4321); }), D3DERR_INVALIDCALL);
    EXPECT_EQ(with([](auto& p) { p.BackBufferFormat = D3DFMT_UNKNOWN; }), D3DERR_INVALIDCALL);
    EXPECT_EQ(with([](auto& p) { p.SwapEffect = D3DSWAPEFFECT_COPY; }), D3D_OK);
    EXPECT_EQ(with([](auto& p) { p.SwapEffect = static_cast<D3DSWAPEFFECT>(4); }), D3DERR_INVALIDCALL);
    EXPECT_EQ(with([](auto& p) { p.BackBufferWidth = 100000; }), D3DERR_OUTOFVIDEOMEMORY);
    // The two depth formats Direct3D 9 devices offer, and no other (71 is D3DFMT_D32).
    for (D3DFORMAT depth : {D3DFMT_D16, D3DFMT_D24S8, static_cast<D3DFORMAT>(71)}) {
        p.EnableAutoDepthStencil = TRUE;
        p.AutoDepthStencilFormat = depth;
        EXPECT_EQ(Create(p), depth == 71 ? D3DERR_INVALIDCALL : D3D_OK) << depth;
    }
    sim::SetAcceptedFormats(D3DDEVTYPE_HAL, {D3DFMT_X1R5G5B5});
    EXPECT_EQ(Create(Parameters(D3DFMT_R5G6B5)), D3DERR_NOTAVAILABLE);
    p = Parameters(D3DFMT_X1R5G5B5);
    p.hDeviceWindow = nullptr;
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &p, &device), D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
}

// FONTLOOM_FRAME_PNG: the frame last shown is written as the device goes; one drawn over since is not.
// Each format's packing of one colour in a rectangle (clipped to the buffer) cleared inside black;
// HAL and Reference give the same bytes, what X1R5G5B5 does not store included.
TEST_F(DeviceTest, ClearPacksEveryFormatAsHalAndReferenceDoAndScenesDoNotNest) {
    const D3DCOLOR color = D3DCOLOR_ARGB(0x80, 0x33, 0x66, 0x99);
    struct Case {
        D3DFORMAT format;
        uint32_t inside, outside;
    } const cases[] = {{D3DFMT_X8R8G8B8, color, 0xFF000000u},
                       {D3DFMT_A8R8G8B8, color, 0xFF000000u},
                       {D3DFMT_R5G6B5, (0x33u >> 3) << 11 | (0x66u >> 2) << 5 | (0x99u >> 3), 0},
                       {D3DFMT_X1R5G5B5, (0x33u >> 3) << 10 | (0x66u >> 3) << 5 | (0x99u >> 3), 0}};
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes[2];
        for (D3DDEVTYPE type : {D3DDEVTYPE_HAL, D3DDEVTYPE_REF}) {
            ASSERT_EQ(Create(Parameters(c.format), type), D3D_OK);
            gfx::RenderTarget t;
            ASSERT_TRUE(gfx::GetRenderTarget(device, &t));
            std::memset(t.bits, 0x80, static_cast<size_t>(t.pitch) * t.height);  // the unused bits set too
            const D3DRECT rects[] = {{10, 20, 30, 25}, {600, 470, 900, 900}};
            ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0), D3D_OK);
            ASSERT_EQ(device->Clear(2, rects, D3DCLEAR_TARGET, color, 1.0f, 0), D3D_OK);
            const int size = t.pitch / t.width;
            const uint32_t mask = c.format == D3DFMT_X1R5G5B5 ? 0x7FFF : size == 2 ? 0xFFFF : 0xFFFFFFFF;
            auto pixel = [&](int x, int y) {
                uint32_t raw = 0;
                std::memcpy(&raw, t.bits + y * t.pitch + x * size, size);
                return raw & mask;
            };
            for (int x : {10, 29, 639}) EXPECT_EQ(pixel(x, x == 639 ? 479 : 24), c.inside & mask) << c.format;
            for (int x : {9, 30}) EXPECT_EQ(pixel(x, 20), c.outside & mask) << c.format;
            bytes[type == D3DDEVTYPE_REF].assign(t.bits, t.bits + t.pitch * t.height);
        }
        EXPECT_TRUE(bytes[0] == bytes[1]) << c.format;
    }
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL) << "scenes do not nest";
    EXPECT_EQ(device->EndScene(), D3D_OK);
}

// A full-screen device whose window loses the focus is lost (a windowed one is not); with the
// focus back it waits for a Reset, which Direct3D refuses while the font holds default-pool
// resources, and which a usable device that it failed on is then lost for.
TEST_F(DeviceTest, FocusLossLosesAFullScreenDeviceUntilAResetTheFontAllows) {
    ASSERT_EQ(Create(Parameters()), D3D_OK);
    Focus(true);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    Focus(false);
    D3DPRESENT_PARAMETERS p = Parameters(D3DFMT_R5G6B5);
    ASSERT_EQ(Create(p), D3D_OK);
    Focus(true);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&p), D3DERR_DEVICELOST);
    Focus(false);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    sim::FailCall("Reset");
    EXPECT_LT(device->Reset(&p), 0);
    EXPECT_EQ(device->Reset(&p), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3DXCreateFontA(device, 22, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial", &font),
              S_OK);
    EXPECT_EQ(device->Reset(&p), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    font->OnLostDevice();
    EXPECT_EQ(device->Reset(&p), D3D_OK);
    font->OnResetDevice();
    font->Release();  // a freed font holds nothing
    EXPECT_EQ(device->Reset(&p), D3D_OK);
}

// Beyond 1024 px or a weight above 1000 is refused with a reason, the font nulled; as GDI, an
// unknown face name is substituted and a long one cut. A font holds its device until it is
// released (TearDown sees every device freed).
TEST_F(DeviceTest, D3DXCreateFontARefusesWhatGdiRefusesAndHoldsItsDevice) {
    ASSERT_EQ(Create(Parameters()), D3D_OK);
    sim::CaptureDebugOutput(true);
    const std::string longName = "Liberation Mono" + std::string(300, 'x');
    const struct {
        INT height;
        UINT width, weight;
        const char* face;
        bool refused;
    } cases[] = {{-1024, 1024, 1000, "Arial", false}, {1025, 0, 400, "Arial", true}, {INT_MIN, 0, 400, "Arial", true},
                 {22, 1025, 400, "Arial", true},      {22, 0, 1001, "Arial", true},  {22, 0, 400, nullptr, false},
                 {22, 0, 400, "No Such Face", false}, {22, 0, 400, longName.c_str(), false}};
    for (const auto& test : cases) {
        ID3DXFont* font = reinterpret_cast<ID3DXFont*>(1);
        EXPECT_EQ(D3DXCreateFontA(device, test.height, test.width, test.weight, 1, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, test.face, &font),
                  test.refused ? D3DERR_INVALIDCALL : S_OK) << test.height << " " << test.width << " " << test.weight;
        ASSERT_EQ(font == nullptr, test.refused);
        if (test.refused) continue;
        RECT rect = {0, 0, 640, 480};
        EXPECT_GT(font->DrawTextA(nullptr, "Wgj", -1, &rect, DT_CALCRECT, 0xFFFFFFFF), 0) << "a face substituted";
        device->AddRef();
        EXPECT_EQ(device->Release(), 2u) << "the font holds its device";
        font->Release();
    }
    EXPECT_NE(sim::TakeDebugOutput().find("out of range"), std::string::npos);
    ID3DXFont* font = reinterpret_cast<ID3DXFont*>(1);
    EXPECT_EQ(D3DXCreateFontA(nullptr, 22, 0, 400, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, "Arial", &font), D3DERR_INVALIDCALL);
    EXPECT_EQ(font, nullptr);
    EXPECT_EQ(D3DXCreateFontA(device, 22, 0, 400, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, "Arial", nullptr), D3DERR_INVALIDCALL);
}

// IUnknown as COM documents it, for the Direct3D object, the device and the font: AddRef and
// Release answer the new count, and asked for an interface it does not have, an object answers
// E_NOINTERFACE and nulls what it hands back. The sim counts the Direct3D object's and the
// device's Releases by name. A font's last Release lets go of its device.
TEST_F(DeviceTest, EveryObjectCountsItsReferencesAsComSays) {
    ASSERT_EQ(Create(Parameters()), D3D_OK);
    ID3DXFont* font = nullptr;
    ASSERT_EQ(D3DXCreateFontA(device, 22, 0, 400, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, "Arial", &font), S_OK);
    const IID unknown = {0x6d0e4a1bu, 0x52c3, 0x4f0e, {0x9a, 0x11, 0x3c, 0x5e, 0x77, 0x08, 0xd2, 0x64}};
    const struct {
        IUnknown* object;
        ULONG held;           // references before the test's own: the creator's and its dependants'
        const char* counted;  // the sim's name for its Release, if it counts them
    } objects[] = {{d3d, 2, "IDirect3D9::Release"}, {device, 2, "IDirect3DDevice9::Release"}, {font, 1, nullptr}};
    for (const auto& o : objects) {
        void* answer = o.object;  // anything but null
        EXPECT_EQ(o.object->QueryInterface(unknown, &answer), E_NOINTERFACE);
        EXPECT_EQ(answer, nullptr);
        const int released = o.counted ? sim::CallCount(o.counted) : 0;
        EXPECT_EQ(o.object->AddRef(), o.held + 1);
        EXPECT_EQ(o.object->Release(), o.held);
        if (o.counted) {
            EXPECT_EQ(sim::CallCount(o.counted) - released, 1) << o.counted;
        }
    }
    EXPECT_EQ(font->Release(), 0u);
    EXPECT_EQ(device->AddRef(), 2u) << "the font no longer holds its device";
    EXPECT_EQ(device->Release(), 1u);
}

// Between tests the sim forgets the script of the last one: its failures and its adapters.
TEST(SimResetTest, ForgetsTheScriptsFailuresAndAdapters) {
    setenv("FONTLOOM_HEADLESS", "1", 1);
    std::string error;
    ASSERT_TRUE(sim::RunScript("adapters 3; fail Direct3DCreate9", &error)) << error;
    sim::Reset();
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr) << "the failure outlived the reset";
    EXPECT_EQ(d3d->GetAdapterCount(), 1u) << "headless has one display";
    d3d->Release();
}

}  // namespace

#include <d3dx9.h>

#include <cstring>

#include "platform/gfx/render_target.h"
#include "tests/platform/device/device_fixture.h"

namespace {

const D3DFORMAT kFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};

uint32_t PixelAt(const gfx::RenderTarget& t, int x, int y) {
    const int bytes = (t.format == D3DFMT_R5G6B5 || t.format == D3DFMT_X1R5G5B5) ? 2 : 4;
    uint32_t raw = 0;
    std::memcpy(&raw, t.bits + y * t.pitch + x * bytes, bytes);
    return raw;
}

// The program's font (22 px Arial) on `device`; null when it cannot be made.
ID3DXFont* ArialOn(IDirect3DDevice9* device) {
    ID3DXFont* font = nullptr;
    D3DXCreateFontA(device, 22, 0, FW_NORMAL, 0, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, "Arial", &font);
    return font;
}

TEST_F(DeviceTest, ScenesDoNotNestAndEndOnlyWhenBegun) {
    D3DPRESENT_PARAMETERS p = Parameters(false, D3DFMT_UNKNOWN);
    ASSERT_EQ(Create(&p), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    sim::FailCall("BeginScene");
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
}

// Each format's packing of one colour, a rectangle cleared inside the rest; HAL and Reference
// give the same bytes, including what X1R5G5B5 does not store.
TEST_F(DeviceTest, ClearFillsRectanglesInEveryFormatAndHalMatchesReference) {
    const D3DCOLOR color = D3DCOLOR_ARGB(0x80, 0x33, 0x66, 0x99);
    const uint32_t expected[] = {color, color, (0x33u >> 3) << 11 | (0x66u >> 2) << 5 | (0x99u >> 3),
                                 (0x33u >> 3) << 10 | (0x66u >> 3) << 5 | (0x99u >> 3)};
    for (int f = 0; f < 4; ++f) {
        std::vector<uint8_t> results[2];
        for (D3DDEVTYPE type : {D3DDEVTYPE_HAL, D3DDEVTYPE_REF}) {
            SCOPED_TRACE(testing::Message() << "format " << kFormats[f] << " type " << type);
            D3DPRESENT_PARAMETERS p = Parameters(true, kFormats[f]);
            ASSERT_EQ(Create(&p, type), D3D_OK);
            gfx::RenderTarget t;
            ASSERT_TRUE(gfx::GetRenderTarget(device, &t));
            EXPECT_EQ(t.width, 640);
            EXPECT_EQ(t.format, kFormats[f]);
            EXPECT_EQ(t.reference, type == D3DDEVTYPE_REF);
            for (int y = 0; y < t.height; ++y)  // some pixels with the unused bit set
                for (int x = 0; x < t.width; x += 3) t.bits[y * t.pitch + x * (t.pitch / t.width) + 1] = 0x80;

            ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0), D3D_OK);
            const D3DRECT box = {10, 20, 30, 25};
            const D3DRECT outside = {600, 470, 900, 900};  // clipped to the buffer
            const D3DRECT rects[] = {box, outside};
            ASSERT_EQ(device->Clear(2, rects, D3DCLEAR_TARGET, color, 1.0f, 0), D3D_OK);
            const uint32_t keptBit = kFormats[f] == D3DFMT_X1R5G5B5 ? 0x8000u : 0;
            EXPECT_EQ(PixelAt(t, 10, 20) & ~keptBit, expected[f]);
            EXPECT_EQ(PixelAt(t, 29, 24) & ~keptBit, expected[f]);
            EXPECT_EQ(PixelAt(t, 639, 479) & ~keptBit, expected[f]);
            EXPECT_EQ(PixelAt(t, 30, 24) & ~keptBit, kFormats[f] == D3DFMT_X8R8G8B8 || kFormats[f] == D3DFMT_A8R8G8B8
                                                         ? 0xFF000000u
                                                         : 0u);
            EXPECT_EQ(PixelAt(t, 9, 20) & ~keptBit, PixelAt(t, 30, 24) & ~keptBit);
            results[type == D3DDEVTYPE_REF].assign(t.bits, t.bits + t.pitch * t.height);
            device->Release();
            device = nullptr;
        }
        EXPECT_TRUE(results[0] == results[1]) << "format " << kFormats[f];
    }
}

TEST_F(DeviceTest, ClearRejectsWhatItCannotDo) {
    D3DPRESENT_PARAMETERS p = Parameters(false, D3DFMT_UNKNOWN);
    ASSERT_EQ(Create(&p), D3D_OK);
    EXPECT_EQ(device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL) << "no depth buffer";
    EXPECT_EQ(device->Clear(0, nullptr, 0, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    sim::FailCall("Clear", 1, 0, E_OUTOFMEMORY);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), E_OUTOFMEMORY);
}

// A full-screen device whose window loses the focus is lost; with the focus back it waits for
// a Reset, which restores it with the kept parameters.
TEST_F(DeviceTest, LosingTheFocusLosesAFullScreenDeviceUntilReset) {
    D3DPRESENT_PARAMETERS p = Parameters(true, D3DFMT_R5G6B5);
    ASSERT_EQ(Create(&p), D3D_OK);
    Pump();
    ASSERT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    sim::SetFocusLost(true);
    Pump();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&p), D3DERR_DEVICELOST) << "no reset while lost";
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK) << "drawing still works";

    sim::SetFocusLost(false);
    Pump();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    sim::FailCall("Reset");
    EXPECT_LT(device->Reset(&p), 0);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET) << "a failed reset changes nothing";
    EXPECT_EQ(device->Reset(&p), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    // A windowed device does not care about the focus.
    device->Release();
    device = nullptr;
    D3DPRESENT_PARAMETERS windowed = Parameters(false, D3DFMT_UNKNOWN);
    ASSERT_EQ(Create(&windowed), D3D_OK);
    sim::SetFocusLost(true);
    Pump();
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
}

// Direct3D's documented rule: Reset fails while a default-pool resource lives (the D3DX font
// keeps some until OnLostDevice), and a usable device whose Reset failed is lost (here, with the
// focus, at once not reset).
TEST_F(DeviceTest, ResetIsRefusedWhileTheFontHoldsDeviceResources) {
    D3DPRESENT_PARAMETERS p = Parameters(false, D3DFMT_UNKNOWN);
    ASSERT_EQ(Create(&p), D3D_OK);
    ID3DXFont* font = ArialOn(device);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(device->Reset(&p), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(font->OnLostDevice(), S_OK);
    EXPECT_EQ(device->Reset(&p), D3D_OK);
    EXPECT_EQ(font->OnResetDevice(), S_OK);
    EXPECT_EQ(device->Reset(&p), D3DERR_INVALIDCALL);
    font->Release();  // a freed font holds nothing
    EXPECT_EQ(device->Reset(&p), D3D_OK);
}

// What was presented can be read back; the font draws into the device.
TEST_F(DeviceTest, ThePresentedFrameHoldsTheClearAndTheText) {
    D3DPRESENT_PARAMETERS p = Parameters(false, D3DFMT_UNKNOWN);
    ASSERT_EQ(Create(&p), D3D_OK);
    ID3DXFont* font = ArialOn(device);
    ASSERT_NE(font, nullptr);
    sim::KeepPresentedFrames(true);
    const D3DRECT band = {0, 100, 640, 110};
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->Clear(1, &band, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 255), 1.0f, 0), D3D_OK);
    RECT where = {0, 0, 640, 480};
    EXPECT_EQ(font->DrawTextA(nullptr, "Hello", -1, &where, DT_NOCLIP, D3DCOLOR_XRGB(255, 255, 255)), 22);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    font->Release();

    const sim::PresentedFrame& frame = sim::LastPresentedFrame();
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);
    int white = 0, grey = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 100; ++x) {
            const uint32_t c = frame.pixels[y * 640 + x] & 0xFFFFFF;
            white += c == 0xFFFFFF;
            grey += c != 0xFFFFFF && c != 0 && (c & 0xFF) == ((c >> 16) & 0xFF);
        }
    EXPECT_GT(white, 20) << "the text is drawn";
    EXPECT_GT(grey, 20) << "and anti-aliased";
    EXPECT_EQ(frame.pixels[105 * 640 + 320], 0xFF0000FFu);
    EXPECT_EQ(frame.pixels[300 * 640 + 320], 0xFF000000u);
    device->Release();
    device = nullptr;
    sim::Reset();
    EXPECT_EQ(sim::LastPresentedFrame().width, 0) << "a reset forgets the frame";

}

}  // namespace

// The program's own frame on the real software device: the text page drawn by RenderFrame,
// read back as presented, on HAL and on Reference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/text_page.h"
#include "framework/d3d_setup.h"
#include "framework/main_window.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_gfx.h"
#include "tests/support/scratch_dir.h"

namespace {

std::string SamplePage() {
    std::string path = __FILE__;
    path.replace(path.rfind("tests/"), std::string::npos, "app/sample/text.txt");
    return ReadFileBytes(path);
}

struct Frames {
    sim::PresentedFrame program;     // as the program starts up and draws it
    sim::PresentedFrame documented;  // the same page drawn here as documented: 22 px Arial, white, 30 px down
};

Frames DrawSampleFrame(bool fullScreen, D3DFORMAT format, D3DDEVTYPE type) {
    setenv("FONTLOOM_HEADLESS", "1", 1);
    sim::Reset();
    sim::KeepPresentedFrames(true);
    sim::SetManualClock(5000);  // the same frame-rate line on both
    ScratchDir dir;
    WriteFileBytes("text.txt", SamplePage());
    HWND window = nullptr;
    EXPECT_EQ(fwOpenWindow(fullScreen, "Fontloom", 640, 480, MainWindowProc, &window), S_OK);
    EXPECT_EQ(fwCreateD3D(&g_app.d3d), S_OK);
    fwInitPresentParameters(fullScreen, window, 640, 480, format, D3DFMT_UNKNOWN, &g_app.presentParameters);
    EXPECT_EQ(fwCreateDevice(g_app.d3d, 0, type, window, &g_app.presentParameters, &g_app.device), S_OK);
    EXPECT_EQ(LoadTextPage(), S_OK);
    const std::string rateLine = g_app.frameRateCounter.GetText();
    EXPECT_EQ(RenderFrame(), S_OK);
    Frames frames{sim::LastPresentedFrame(), {}};

    ID3DXFont* font = nullptr;
    EXPECT_EQ(D3DXCreateFontA(g_app.device, 22, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial", &font),
              S_OK);
    RECT line = {0, 0, 640, 480}, page = {0, 30, 640, 480};
    g_app.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    g_app.device->BeginScene();
    font->DrawTextA(nullptr, rateLine.c_str(), -1, &line, DT_NOCLIP, 0xFFFFFFFF);
    font->DrawTextA(nullptr, SamplePage().c_str(), -1, &page, DT_WORDBREAK, 0xFFFFFFFF);
    g_app.device->EndScene();
    g_app.device->Present(nullptr, nullptr, nullptr, nullptr);
    frames.documented = sim::LastPresentedFrame();
    font->Release();

    if (g_app.font) g_app.font->Release();
    g_app.font = nullptr;
    fwReleaseD3D(&g_app.d3d, &g_app.device);
    fwCloseWindow(&window);
    sim::Reset();
    return frames;
}

bool IsLight(uint32_t argb) { return ((argb >> 8) & 0xFF) > 0x80; }

int LightPixels(const sim::PresentedFrame& frame, int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < frame.width; ++x) count += IsLight(frame.pixels[y * frame.width + x]);
    return count;
}

TEST(RealFrame, HalAndReferenceDrawTheSamePageInEveryBackBufferFormat) {
    for (D3DFORMAT format : {D3DFMT_UNKNOWN, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}) {
        SCOPED_TRACE(testing::Message() << "format " << format);
        const bool fullScreen = format != D3DFMT_UNKNOWN;
        const Frames frames = DrawSampleFrame(fullScreen, format, D3DDEVTYPE_HAL);
        const sim::PresentedFrame& hal = frames.program;
        ASSERT_EQ(hal.width, 640);
        ASSERT_EQ(hal.height, 480);
        EXPECT_TRUE(hal.pixels == DrawSampleFrame(fullScreen, format, D3DDEVTYPE_REF).program.pixels);
        EXPECT_TRUE(hal.pixels == frames.documented.pixels);

        // White text on black: the frame-rate line at the top, nothing between it and the page,
        // the page filling the rest down to the bottom edge, and grey edges on the glyphs.
        EXPECT_GT(LightPixels(hal, 0, 22), 100);
        EXPECT_EQ(LightPixels(hal, 22, 30), 0);
        EXPECT_GT(LightPixels(hal, 30, 250), 5000);
        EXPECT_GT(LightPixels(hal, 440, 480), 500) << "the page runs past the bottom edge";
        int grey = 0;
        for (uint32_t p : hal.pixels) grey += (p & 0xFFFFFF) != 0 && (p & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_GT(grey, 1000) << "anti-aliased";
    }
}

}  // namespace

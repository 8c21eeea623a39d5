// The program's own frame on the real software device: drawn by RenderFrame and read back as
// presented, on HAL and Reference; and a warm pass of the main loop (messages, the device test,
// the frame with its text, the present), which must not touch the heap. Every C++ heap
// allocation of this test program is counted for that.
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/main_loop.h"
#include "app/text_page.h"
#include "framework/d3d_setup.h"
#include "framework/main_window.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_gfx.h"
#include "tests/support/scratch_dir.h"

static std::atomic<long> allocations{0};

// The library's other forms of new and delete (arrays, nothrow) come to these.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// The program set up as it sets itself up, on the sample page, in the current directory.
HWND Start(D3DFORMAT fullScreenFormat, D3DDEVTYPE type) {
    const bool fullScreen = fullScreenFormat != D3DFMT_UNKNOWN;
    setenv("FONTLOOM_HEADLESS", "1", 1);
    sim::Reset();
    sim::SetManualClock(5000);  // the same frame-rate line on every run
    WriteFileBytes("text.txt", SampleTextFile());
    HWND window = nullptr;
    EXPECT_EQ(fwOpenWindow(fullScreen, "Fontloom", 640, 480, MainWindowProc, &window), S_OK);
    EXPECT_EQ(fwCreateD3D(&g_app.d3d), S_OK);
    fwInitPresentParameters(fullScreen, window, 640, 480, fullScreenFormat, D3DFMT_UNKNOWN, &g_app.presentParameters);
    EXPECT_EQ(fwCreateDevice(g_app.d3d, 0, type, window, &g_app.presentParameters, &g_app.device), S_OK);
    EXPECT_EQ(LoadTextPage(), S_OK);
    return window;
}

void Stop(HWND window) {
    if (g_app.font) g_app.font->Release();
    g_app.font = nullptr;
    fwReleaseD3D(&g_app.d3d, &g_app.device);
    fwCloseWindow(&window);
}

struct Frames {
    sim::PresentedFrame program;     // as the program draws it
    sim::PresentedFrame documented;  // the same page drawn here as documented: 22 px Arial, white, 30 px down
};

Frames DrawSampleFrame(D3DFORMAT fullScreenFormat, D3DDEVTYPE type) {
    ScratchDir dir;
    HWND window = Start(fullScreenFormat, type);
    sim::KeepPresentedFrames(true);
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
    font->DrawTextA(nullptr, SampleTextFile().c_str(), -1, &page, DT_WORDBREAK, 0xFFFFFFFF);
    g_app.device->EndScene();
    g_app.device->Present(nullptr, nullptr, nullptr, nullptr);
    frames.documented = sim::LastPresentedFrame();
    font->Release();

    sim::FailCall("DrawTextA");  // a text that cannot be drawn is logged, and the frame goes on
    EXPECT_EQ(RenderFrame(), S_OK);
    EXPECT_EQ(ReadFileBytes("log.txt"), "Error Drawing font\r\n");
    Stop(window);
    return frames;
}

int LightPixels(const sim::PresentedFrame& frame, int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < frame.width; ++x) count += ((frame.pixels[y * frame.width + x] >> 8) & 0xFF) > 0x80;
    return count;
}

TEST(RealFrame, HalAndReferenceDrawTheSamePageInEveryBackBufferFormat) {
    for (D3DFORMAT format : {D3DFMT_UNKNOWN, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}) {
        SCOPED_TRACE(testing::Message() << "format " << format);
        const Frames frames = DrawSampleFrame(format, D3DDEVTYPE_HAL);
        const sim::PresentedFrame& hal = frames.program;
        ASSERT_EQ(hal.width, 640);
        ASSERT_EQ(hal.height, 480);
        EXPECT_TRUE(hal.pixels == DrawSampleFrame(format, D3DDEVTYPE_REF).program.pixels);
        EXPECT_TRUE(hal.pixels == frames.documented.pixels);

        // White text, anti-aliased, on black: the frame-rate line and the page down to the bottom edge.
        EXPECT_GT(LightPixels(hal, 0, 22), 100);
        EXPECT_GT(LightPixels(hal, 440, 480), 500);
        int grey = 0;
        for (uint32_t p : hal.pixels) grey += (p & 0xFFFFFF) != 0 && (p & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_GT(grey, 1000) << "anti-aliased";
    }
}

TEST(FrameAllocationTest, AWarmPassAllocatesNothingAndRedoesNothing) {
    for (D3DFORMAT format : {D3DFMT_UNKNOWN, D3DFMT_R5G6B5}) {
        SCOPED_TRACE(testing::Message() << "format " << format);
        ScratchDir dir;
        HWND window = Start(format, D3DDEVTYPE_HAL);
        RECT all = {0, 0, 640, 480};  // every glyph the frame-rate line can show, rasterised once
        g_app.font->DrawTextA(nullptr, "FPS:0123456789.naif", -1, &all, DT_NOCLIP, 0xFFFFFFFF);
        auto pass = [] {
            sim::AdvanceClock(1);  // a pass a millisecond
            RunMainLoopPass();
        };
        for (int warm = 0; warm < 10; ++warm) pass();

        const long before = allocations.load();
        const int layouts = sim::CallCount("LayOutText"), glyphs = sim::CallCount("RasterizeGlyph");
        const int plans = sim::CallCount("PlanPresent"), presents = sim::CallCount("Present");
        const int wholes = sim::CallCount("ShowWholeWindow");
        const int composedDraws = sim::CallCount("BlendComposed");
        for (int passes = 0; passes < 100; ++passes) pass();
        EXPECT_EQ(allocations.load() - before, 0) << "heap allocations in 100 warm passes";
        EXPECT_EQ(sim::CallCount("Present") - presents, 100);
        EXPECT_LE(sim::CallCount("LayOutText") - layouts, 100) << "only the changing frame-rate line";
        EXPECT_EQ(sim::CallCount("RasterizeGlyph"), glyphs);
        EXPECT_EQ(sim::CallCount("PlanPresent"), plans);
        EXPECT_EQ(sim::CallCount("ShowWholeWindow"), wholes) << "the display is sent only the rows that changed";
        EXPECT_EQ(sim::CallCount("BlendComposed") - composedDraws, 100) << "the page drawn from its composition";
        EXPECT_FALSE(g_app.quit);
        const long counted = allocations.load();
        std::string proof(100, 'x');
        EXPECT_GT(allocations.load(), counted) << "the counter sees allocations";
        Stop(window);
    }
}

}  // namespace

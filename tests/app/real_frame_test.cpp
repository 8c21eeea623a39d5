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

// One frame of the sample page, as the program starts up and draws it.
sim::PresentedFrame DrawSampleFrame(bool fullScreen, D3DFORMAT format, D3DDEVTYPE type) {
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
    EXPECT_EQ(RenderFrame(), S_OK);
    sim::PresentedFrame frame = sim::LastPresentedFrame();
    if (g_app.font) g_app.font->Release();
    g_app.font = nullptr;
    fwReleaseD3D(&g_app.d3d, &g_app.device);
    fwCloseWindow(&window);
    sim::Reset();
    return frame;
}

bool IsLight(uint32_t argb) { return ((argb >> 8) & 0xFF) > 0x80; }

int LightPixels(const sim::PresentedFrame& frame, int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < frame.width; ++x) count += IsLight(frame.pixels[y * frame.width + x]);
    return count;
}

TEST(RealFrame, HalAndReferenceDrawTheSamePageInEveryBackBufferFormat) {
    struct Mode {
        bool fullScreen;
        D3DFORMAT format;
    };
    for (Mode mode : {Mode{false, D3DFMT_UNKNOWN}, Mode{true, D3DFMT_A8R8G8B8}, Mode{true, D3DFMT_R5G6B5},
                      Mode{true, D3DFMT_X1R5G5B5}}) {
        SCOPED_TRACE(testing::Message() << "format " << mode.format);
        const sim::PresentedFrame hal = DrawSampleFrame(mode.fullScreen, mode.format, D3DDEVTYPE_HAL);
        const sim::PresentedFrame reference = DrawSampleFrame(mode.fullScreen, mode.format, D3DDEVTYPE_REF);
        ASSERT_EQ(hal.width, 640);
        ASSERT_EQ(hal.height, 480);
        int differing = 0, firstRow = -1;
        for (size_t i = 0; i < hal.pixels.size() && i < reference.pixels.size(); ++i)
            if (hal.pixels[i] != reference.pixels[i] && differing++ == 0) firstRow = static_cast<int>(i / 640);
        EXPECT_EQ(differing, 0) << "first in row " << firstRow;

        // White text on black: the frame-rate line at the top, nothing between it and the page,
        // the page filling the rest down to the bottom edge, and grey edges on the glyphs.
        EXPECT_GT(LightPixels(hal, 0, 22), 100);
        EXPECT_EQ(LightPixels(hal, 22, 30), 0);
        EXPECT_GT(LightPixels(hal, 30, 250), 5000);
        EXPECT_GT(LightPixels(hal, 440, 480), 500) << "the page runs past the bottom edge";
        int black = 0, white = 0, grey = 0;
        for (uint32_t p : hal.pixels) {
            const uint32_t c = p & 0xFFFFFF;
            black += c == 0;
            white += c == 0xFFFFFF;
            grey += c != 0 && c != 0xFFFFFF;
        }
        EXPECT_GT(black, 640 * 480 / 2);
        EXPECT_GT(white, 1000);
        EXPECT_GT(grey, 1000) << "anti-aliased";
    }
}

}  // namespace

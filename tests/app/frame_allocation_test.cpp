// Counts every C++ heap allocation of this test program, to show that a warm pass of the
// program's main loop (messages, the device test, the frame with its text, the present) makes none.
#include <atomic>
#include <cstdio>
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
#include "tests/support/scratch_dir.h"

namespace {
std::atomic<long> allocations{0};

void* allocate(std::size_t size) {
    ++allocations;
    return std::malloc(size ? size : 1);
}
}  // namespace

// Every new below takes its memory from malloc, so free is the matching release.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

std::string SamplePage() {
    std::string path = __FILE__;
    path.replace(path.rfind("tests/"), std::string::npos, "app/sample/text.txt");
    return ReadFileBytes(path);
}

TEST(FrameAllocationTest, AWarmPassAllocatesNothingAndRedoesNothing) {
    for (bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "windowed");
        setenv("FONTLOOM_HEADLESS", "1", 1);
        sim::Reset();
        sim::SetManualClock(5000);  // a pass a millisecond: the same frame-rate line on every run
        ScratchDir dir;
        WriteFileBytes("text.txt", SamplePage());
        HWND window = nullptr;
        ASSERT_EQ(fwOpenWindow(fullScreen, "Fontloom", 640, 480, MainWindowProc, &window), S_OK);
        ASSERT_EQ(fwCreateD3D(&g_app.d3d), S_OK);
        D3DFORMAT format = D3DFMT_UNKNOWN;
        ASSERT_EQ(fwGetFormat(g_app.d3d, fullScreen, 16, &format), S_OK);
        fwInitPresentParameters(fullScreen, window, 640, 480, format, D3DFMT_UNKNOWN, &g_app.presentParameters);
        ASSERT_EQ(fwCreateDevice(g_app.d3d, 0, D3DDEVTYPE_HAL, window, &g_app.presentParameters, &g_app.device), S_OK);
        ASSERT_EQ(LoadTextPage(), S_OK);
        RECT all = {0, 0, 640, 480};  // every glyph the frame-rate line can show, rasterised once
        g_app.font->DrawTextA(nullptr, "FPS:0123456789.naif", -1, &all, DT_NOCLIP, 0xFFFFFFFF);
        auto pass = [] {
            sim::AdvanceClock(1);
            RunMainLoopPass();
        };
        for (int warm = 0; warm < 10; ++warm) pass();

        const long before = allocations.load();
        const int layouts = sim::CallCount("LayOutText"), glyphs = sim::CallCount("RasterizeGlyph");
        const int plans = sim::CallCount("PlanPresent"), presents = sim::CallCount("Present");
        for (int passes = 0; passes < 100; ++passes) pass();
        EXPECT_EQ(allocations.load() - before, 0) << "heap allocations in 100 warm passes";
        EXPECT_EQ(sim::CallCount("Present") - presents, 100);
        EXPECT_LE(sim::CallCount("LayOutText") - layouts, 100) << "only the changing frame-rate line";
        EXPECT_EQ(sim::CallCount("RasterizeGlyph"), glyphs);
        EXPECT_EQ(sim::CallCount("PlanPresent"), plans);
        EXPECT_FALSE(g_app.quit);
        const long counted = allocations.load();
        std::string proof(100, 'x');
        EXPECT_GT(allocations.load(), counted) << "the counter sees allocations";

        g_app.font->Release();
        g_app.font = nullptr;
        fwReleaseD3D(&g_app.d3d, &g_app.device);
        fwCloseWindow(&window);
    }
    sim::Reset();
}

}  // namespace

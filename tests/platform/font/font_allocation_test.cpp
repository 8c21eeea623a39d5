// Counts every C++ heap allocation of this test program, to show that a warm frame makes none.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "platform/sim/sim.h"
#include "tests/platform/font/font_canvas.h"

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

TEST(FontAllocationTest, AWarmFrameAllocatesNothingAndRedoesNothing) {
    sim::Reset();
    TestFont font;
    Canvas canvas(640, 480, D3DFMT_X8R8G8B8);
    const std::string page = SamplePage();
    char line[32];
    auto frame = [&](int number) {
        std::snprintf(line, sizeof line, "FPS:%d.%02d", 900 + number / 100, number % 100);
        RECT top = {0, 0, 640, 480}, below = {0, 30, 640, 480};
        const INT a = gfx::DrawFontText(font.font, canvas.target, line, -1, &top, DT_NOCLIP, 0xFFFFFFFF);
        const INT b = gfx::DrawFontText(font.font, canvas.target, page.c_str(), -1, &below, DT_WORDBREAK, 0xFFFFFFFF);
        return a > 0 && b > 0;
    };
    for (int warm = 0; warm < 10; ++warm) ASSERT_TRUE(frame(warm));

    const long before = allocations.load();
    const int layouts = sim::CallCount("LayOutText"), glyphs = sim::CallCount("RasterizeGlyph");
    bool drew = true;
    for (int number = 10; number < 110; ++number) drew = frame(number) && drew;
    const long during = allocations.load() - before;
    EXPECT_TRUE(drew);
    EXPECT_EQ(during, 0) << "heap allocations in 100 warm frames";
    EXPECT_EQ(sim::CallCount("LayOutText") - layouts, 100) << "only the changing frame-rate line";
    EXPECT_EQ(sim::CallCount("RasterizeGlyph"), glyphs);

    // The counter does see allocations: creating a font makes plenty.
    TestFont another;
    EXPECT_GT(allocations.load() - before, during);
}

}  // namespace

// The font's share of a frame: the frame-rate line and the 4000-byte sample page drawn into a
// cleared 640 x 480 back buffer, warm (glyphs and layout cached), on the HAL and Reference paths,
// in X8R8G8B8 (windowed) and R5G6B5 (the full-screen mode).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gfx/font_blit.h"
#include "platform/gfx/font_layout.h"
#include "program_text.h"

namespace {

void drawFrame(ID3DXFont* font, const gfx::RenderTarget& target, const std::string& page) {
    bench::DrawProgramText(page, [&](const char* text, RECT* rect, DWORD format) {
        benchmark::DoNotOptimize(gfx::DrawFontText(font, target, text, -1, rect, format, bench::kTextColor));
    });
}

void BM_FontFrame(benchmark::State& state) {
    const bool reference = state.range(0) != 0;
    const D3DFORMAT format = static_cast<D3DFORMAT>(state.range(1));
    const int bytes = gfx::BytesPerPixel(format);
    const std::string page = bench::SamplePage();
    ID3DXFont* font = bench::ProgramFont(nullptr);
    std::vector<uint8_t> pixels(640 * 480 * bytes, 0);
    const gfx::RenderTarget target = {pixels.data(), 640, 480, 640 * bytes, format, reference};
    drawFrame(font, target, page);  // warm: every glyph rasterised, the page laid out
    for (auto _ : state) {
        state.PauseTiming();  // the device clears the back buffer before every frame
        std::fill(pixels.begin(), pixels.end(), 0);
        state.ResumeTiming();
        drawFrame(font, target, page);
        benchmark::ClobberMemory();
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(std::string(reference ? "Reference" : "HAL") + (bytes == 2 ? " R5G6B5" : " X8R8G8B8"));
    font->Release();
}
BENCHMARK(BM_FontFrame)
    ->ArgsProduct({{0, 1}, {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}})
    ->Unit(benchmark::kMicrosecond);

// What a changed text costs before it can be drawn: the page's line breaks alone.
void BM_LayOutPage(benchmark::State& state) {
    const std::string page = bench::SamplePage();
    ID3DXFont* font = bench::ProgramFont(nullptr);
    std::vector<gfx::TextLine> lines;
    for (auto _ : state) {
        gfx::LayOutText(gfx::FaceOf(font).advance, page.data(), static_cast<int>(page.size()), true, 640, &lines);
        benchmark::DoNotOptimize(lines.data());
    }
    font->Release();
}
BENCHMARK(BM_LayOutPage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

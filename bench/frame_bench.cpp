// The whole frame on the headless backend, as the program draws it: Clear, the frame-rate line
// and the 4000-byte sample page, Present; on HAL and on Reference. The copy ceiling is Clear and
// Present alone: what a frame costs before any text. Its colour changes every frame, as every row
// of a frame may: the present writes only the rows that changed, so a frame cleared the same each
// time would show what copying nothing costs (BM_UnchangedFullScreen). Full screen is the
// program's mode: a 640 x 480 R5G6B5 back buffer on the whole screen (1280 x 1024 headless, or
// the display's).
#include <benchmark/benchmark.h>
#include <d3dx9.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "program_text.h"

namespace {

LRESULT CALLBACK benchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Scene {
    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXFont* font = nullptr;

    Scene(D3DDEVTYPE type, bool fullScreen) {
        static const bool registered = [] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = benchWindowProc;
            windowClass.lpszClassName = "FrameBench";
            return RegisterClassA(&windowClass) != 0;
        }();
        (void)registered;
        const int width = fullScreen ? GetSystemMetrics(SM_CXSCREEN) : 640;
        const int height = fullScreen ? GetSystemMetrics(SM_CYSCREEN) : 480;
        window = CreateWindowExA(0, "FrameBench", "bench", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                 nullptr, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS p{};
        p.BackBufferCount = 1;
        p.SwapEffect = D3DSWAPEFFECT_DISCARD;
        p.hDeviceWindow = window;
        p.Windowed = fullScreen ? FALSE : TRUE;
        if (fullScreen) {
            p.BackBufferWidth = 640;
            p.BackBufferHeight = 480;
            p.BackBufferFormat = D3DFMT_R5G6B5;
        }
        p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        if (!d3d || d3d->CreateDevice(0, type, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &device) != D3D_OK) {
            std::fprintf(stderr, "frame_bench: no device\n");
            std::exit(1);
        }
        font = bench::ProgramFont(device);
    }
    ~Scene() {
        if (font) font->Release();
        device->Release();
        d3d->Release();
        DestroyWindow(window);
    }
};

enum class Content { Text, ChangingClear, SameClear };

void drawFrame(Scene& scene, const std::string& page, Content content) {
    static bool odd = false;
    odd = !odd;
    const D3DCOLOR grey = content == Content::ChangingClear && odd ? D3DCOLOR_XRGB(8, 8, 8) : 0;  // 1 in 5 and 6 bits
    scene.device->Clear(0, nullptr, D3DCLEAR_TARGET, grey, 1.0f, 0);
    const bool text = content == Content::Text;
    if (text && scene.device->BeginScene() == D3D_OK) {
        bench::DrawProgramText(page, [&](const char* line, RECT* rect, DWORD format) {
            scene.font->DrawTextA(nullptr, line, -1, rect, format, bench::kTextColor);
        });
        scene.device->EndScene();
    }
    scene.device->Present(nullptr, nullptr, nullptr, nullptr);
}

void run(benchmark::State& state, D3DDEVTYPE type, Content content, const char* label, bool fullScreen = false) {
    setenv("FONTLOOM_HEADLESS", "1", 0);
    const std::string page = bench::SamplePage();
    Scene scene(type, fullScreen);
    drawFrame(scene, page, content);  // warm: glyphs rasterised, the page laid out
    for (auto _ : state) {
        drawFrame(scene, page, content);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(label);
}

void BM_CopyCeiling(benchmark::State& state) { run(state, D3DDEVTYPE_HAL, Content::ChangingClear, "Clear + Present"); }
void BM_FrameHal(benchmark::State& state) { run(state, D3DDEVTYPE_HAL, Content::Text, "HAL"); }
void BM_CopyCeilingFullScreen(benchmark::State& state) {
    run(state, D3DDEVTYPE_HAL, Content::ChangingClear, "Clear + Present, full screen", true);
}
void BM_UnchangedFullScreen(benchmark::State& state) {
    run(state, D3DDEVTYPE_HAL, Content::SameClear, "the same cleared frame, full screen", true);
}
void BM_FrameHalFullScreen(benchmark::State& state) { run(state, D3DDEVTYPE_HAL, Content::Text, "HAL, full screen", true); }
void BM_FrameReference(benchmark::State& state) { run(state, D3DDEVTYPE_REF, Content::Text, "Reference"); }
BENCHMARK(BM_CopyCeiling)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FrameHal)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_CopyCeilingFullScreen)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_UnchangedFullScreen)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FrameHalFullScreen)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_FrameReference)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

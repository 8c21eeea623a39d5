// The font's DrawTextA with any text, rectangle, flags, colour and back buffer: no crash, no
// pixel written outside the buffer's rows, none outside a clipping rectangle, none when only
// measuring, and the height it returns is whole lines.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "gfx/font.h"
#include "gfx/font_blit.h"

namespace {

const D3DFORMAT kFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};
const uint8_t kBackground = 0x5A;  // every byte of the buffer before the draw

// The program's font, made once for the whole run and released at exit for the leak checker.
struct ProgramFont {
    ID3DXFont* font = nullptr;
    ProgramFont() {
        gfx::FontDescription description;
        description.height = 22;
        description.faceName = "Arial";
        FUZZ_CHECK(gfx::CreateFont(nullptr, description, &font) == S_OK);
    }
    ~ProgramFont() { font->Release(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ProgramFont program;
    FuzzInput input{data, size};
    const uint8_t setup = input.take<uint8_t>();
    const bool noRectangle = (setup & 0x38) == 0x38;
    const int width = 1 + input.take<uint8_t>(), height = 1 + input.take<uint8_t>() % 128;
    RECT rect;
    for (LONG* side : {&rect.left, &rect.top, &rect.right, &rect.bottom}) *side = input.take<int32_t>();
    const DWORD flags = input.take<uint16_t>();
    const int8_t countByte = input.take<int8_t>();
    const D3DCOLOR color = input.take<uint32_t>();
    const std::string text(reinterpret_cast<const char*>(input.data), std::min<size_t>(input.size, 4096));  // the page is 4000
    const INT count = countByte < 0 ? -1 : countByte % (static_cast<INT>(text.size()) + 1);

    const int bytes = gfx::BytesPerPixel(kFormats[setup & 3]), pitch = width * bytes + 16;  // rows padded, as surfaces may be
    std::vector<uint8_t> pixels(static_cast<size_t>(pitch) * height, kBackground);
    const gfx::RenderTarget target{pixels.data(), width, height, pitch, kFormats[setup & 3], (setup & 4) != 0};
    const RECT asked = rect;
    const INT drawn = gfx::DrawFontText(program.font, target, text.c_str(), count, noRectangle ? nullptr : &rect, flags, color);
    FUZZ_CHECK(drawn >= 0 && drawn % 22 == 0);  // lines of the 22 px cell
    const bool nothing = count == 0 || (count < 0 && text.c_str()[0] == '\0');
    if (nothing) FUZZ_CHECK(drawn == 0);
    if (!(flags & DT_CALCRECT) && !noRectangle) FUZZ_CHECK(std::memcmp(&rect, &asked, sizeof rect) == 0);

    const bool measuring = (flags & DT_CALCRECT) && !noRectangle, clipped = !(flags & DT_NOCLIP) && !noRectangle;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels.data() + static_cast<size_t>(y) * pitch;
        for (int x = width * bytes; x < pitch; ++x) FUZZ_CHECK(row[x] == kBackground);
        for (int x = 0; x < width && (nothing || measuring || clipped); ++x) {
            const bool inside = x >= asked.left && x < asked.right && y >= asked.top && y < asked.bottom;
            for (int b = 0; b < bytes && (nothing || measuring || !inside); ++b) FUZZ_CHECK(row[x * bytes + b] == kBackground);
        }
    }
    return 0;
}

// What the benches draw, as the program draws it (app/text_page.cpp): the frame-rate line at the
// top, unclipped, and the 4000-byte sample page word-wrapped below it, white, in the program's font.
#pragma once

#include <d3dx9.h>

#include <cstdio>
#include <string>
#include <vector>

#include "diag/text_file.h"
#include "platform/gfx/font.h"

namespace bench {

const D3DCOLOR kTextColor = 0xFFFFFFFF;

// The sample page shipped with the program, read as the program reads "text.txt".
inline std::string SamplePage() {
    std::string path = __FILE__;
    path.replace(path.rfind("bench/"), std::string::npos, "app/sample/text.txt");
    std::vector<char> buffer(4001);
    size_t count = 0;
    if (!ReadTextFile(path.c_str(), buffer.data(), 4000, &count))
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return std::string(buffer.data(), count);
}

// The program's font, 22-pixel Arial of normal weight, anti-aliased, on `device`; without one
// it measures and draws through gfx::DrawFontText only.
inline ID3DXFont* ProgramFont(IDirect3DDevice9* device) {
    gfx::FontDescription description;
    description.height = 22;
    description.weight = FW_NORMAL;
    description.faceName = "Arial";
    ID3DXFont* font = nullptr;
    if (gfx::CreateFont(device, description, &font) != S_OK) std::fprintf(stderr, "no font\n");
    return font;
}

// The frame's two texts, each handed to `draw(text, rect, format)`.
template <typename Draw>
void DrawProgramText(const std::string& page, Draw draw) {
    RECT line = {0, 0, 640, 480}, below = {0, 30, 640, 480};
    draw("FPS:1234.56", &line, static_cast<DWORD>(DT_NOCLIP));
    draw(page.c_str(), &below, static_cast<DWORD>(DT_WORDBREAK));
}

}  // namespace bench

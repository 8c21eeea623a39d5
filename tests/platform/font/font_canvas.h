// A back buffer of the test's own to draw fonts into, and the program's font description.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gfx/font_blit.h"
#include "tests/support/scratch_dir.h"

struct Canvas {
    std::vector<uint8_t> bytes, before;
    gfx::RenderTarget target{};

    // Noise (the same for the same seed) gives every blend something to keep; seed 0 is black.
    Canvas(int width, int height, D3DFORMAT format = D3DFMT_X8R8G8B8, bool reference = false, uint32_t seed = 0) {
        const int pitch = width * gfx::BytesPerPixel(format) + 16;  // rows padded, as surfaces may be
        bytes.assign(static_cast<size_t>(pitch) * height, 0);
        for (uint8_t& byte : bytes)
            if (seed) byte = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
        before = bytes;
        target = gfx::RenderTarget{bytes.data(), width, height, pitch, format, reference};
    }
    size_t offset(int x, int y) const { return static_cast<size_t>(y) * target.pitch + x * gfx::BytesPerPixel(target.format); }
    uint32_t argb(int x, int y) const {
        uint32_t value = 0;
        std::memcpy(&value, bytes.data() + offset(x, y), gfx::BytesPerPixel(target.format));
        return gfx::UnpackPixel(target.format, value);
    }
    // The smallest box holding every pixel drawn since the canvas was made; none: right 0.
    RECT inkBox() const {
        RECT box = {target.width, target.height, 0, 0};
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x)
                if (std::memcmp(&bytes[offset(x, y)], &before[offset(x, y)], gfx::BytesPerPixel(target.format)) != 0) {
                    box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                           std::max<LONG>(box.bottom, y + 1)};
                }
        return box;
    }
};

// What app/text_page.cpp asks D3DXCreateFontA for: 22 px Arial, regular, anti-aliased.
inline gfx::FontDescription ProgramFont() {
    gfx::FontDescription description;
    description.height = 22;
    description.faceName = "Arial";
    return description;
}

// A font without a device, drawn into canvases with DrawFontText; released with the holder.
struct TestFont {
    ID3DXFont* font = nullptr;
    explicit TestFont(const gfx::FontDescription& description = ProgramFont()) {
        EXPECT_EQ(gfx::CreateFont(nullptr, description, &font), S_OK);
    }
    ~TestFont() {
        if (font) font->Release();
    }
    const gfx::FontFace& face() const { return gfx::FaceOf(font); }
    int width(const std::string& text) const {
        int sum = 0;
        for (unsigned char c : text) sum += face().advance[c];
        return sum;
    }
    INT draw(Canvas& canvas, const std::string& text, RECT rect, DWORD format, D3DCOLOR color = 0xFFFFFFFF) {
        return gfx::DrawFontText(font, canvas.target, text.c_str(), -1, &rect, format, color);
    }
};

// The sample page as the program holds it: CR LF read as LF, the first 4000 bytes.
inline std::string SamplePage() {
    const std::string raw = SampleTextFile();
    std::string page;
    for (size_t i = 0; i < raw.size() && page.size() < 4000; ++i)
        if (raw.compare(i, 2, "\r\n") != 0) page += raw[i];
    EXPECT_EQ(page.size(), 4000u) << "the sample page is missing or short";
    return page;
}

// A back buffer of the test's own to draw fonts into, and the program's font description.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gfx/font_blit.h"

struct Canvas {
    std::vector<uint8_t> bytes;
    gfx::RenderTarget target{};

    Canvas(int width, int height, D3DFORMAT format, bool reference = false) {
        const int pitch = width * gfx::BytesPerPixel(format) + 16;  // rows padded, as surfaces may be
        bytes.assign(static_cast<size_t>(pitch) * height, 0);
        target = gfx::RenderTarget{bytes.data(), width, height, pitch, format, reference};
    }
    size_t offset(int x, int y) const {
        return static_cast<size_t>(y) * target.pitch + x * gfx::BytesPerPixel(target.format);
    }
    uint32_t argb(int x, int y) const {
        uint32_t value = 0;
        std::memcpy(&value, bytes.data() + offset(x, y), gfx::BytesPerPixel(target.format));
        return gfx::UnpackPixel(target.format, value);
    }
    void fill(uint32_t argb) {
        const uint32_t value = gfx::PackPixel(target.format, argb, 0);
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x) std::memcpy(bytes.data() + offset(x, y), &value, gfx::BytesPerPixel(target.format));
    }
    // The same seed gives two canvases the same noise, so every blend has something to keep.
    void noise(uint32_t seed) {
        for (uint8_t& byte : bytes) {
            seed = seed * 1664525u + 1013904223u;
            byte = static_cast<uint8_t>(seed >> 24);
        }
    }
    // The smallest box holding every pixel that differs from `background`; empty: right <= left.
    RECT inkBox(uint32_t background) const {
        RECT box = {target.width, target.height, 0, 0};
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x)
                if (argb(x, y) != background) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
};

// What app/text_page.cpp asks D3DXCreateFontA for: 22 px Arial, regular, anti-aliased.
inline gfx::FontDescription ProgramFont() {
    gfx::FontDescription description;
    description.height = 22;
    description.weight = 400;
    description.antialiased = true;
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
    TestFont(const TestFont&) = delete;
    TestFont& operator=(const TestFont&) = delete;
    const gfx::FontFace& face() const { return gfx::FaceOf(font); }
    int width(const std::string& text) const {
        int sum = 0;
        for (unsigned char c : text) sum += face().advance[c];
        return sum;
    }
    INT draw(Canvas& canvas, const char* text, RECT rect, DWORD format, D3DCOLOR color = 0xFFFFFFFF) {
        return gfx::DrawFontText(font, canvas.target, text, -1, &rect, format, color);
    }
};

// The sample page as the program holds it: CR LF read as LF, the first 4000 bytes.
inline std::string SamplePage() {
    std::string root = __FILE__;
    root.erase(root.rfind("tests/platform/font/"));
    std::string page;
    if (FILE* file = std::fopen((root + "app/sample/text.txt").c_str(), "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;) {
            if (c == '\n' && !page.empty() && page.back() == '\r') page.pop_back();
            page += static_cast<char>(c);
        }
        std::fclose(file);
    }
    if (page.size() > 4000) page.resize(4000);
    EXPECT_EQ(page.size(), 4000u) << "the sample page is missing or short";
    return page;
}

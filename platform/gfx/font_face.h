// A typeface at one size as GDI describes it: the file fontconfig matches, the cell metrics,
// and the glyphs of the 256 narrow (Windows-1252) characters, each rasterised once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace gfx {

struct FontDescription {
    int height = 0;         // > 0: cell height (ascent + descent), < 0: em height; 0: a 16 px cell
    unsigned width = 0;     // average character width in pixels; 0: the face's own aspect
    unsigned weight = 400;  // 400 regular, 700 bold; 0 counts as 400
    bool italic = false;
    bool antialiased = true;  // grey-scale coverage, else every pixel is 0 or 255
    const char* faceName = nullptr;
};

// Largest |height| or width we accept: beyond it one glyph bitmap would be megabytes.
constexpr int kMaxFontPixels = 1024;

struct GlyphBitmap {
    int left = 0;  // ink box from the pen position on the baseline; top counts upwards
    int top = 0;
    int width = 0;
    int height = 0;
    int stride = 0;       // bytes a row: the width rounded up to whole groups of four, the rest zero
    uint32_t offset = 0;  // of the first coverage byte in FontFace::coverage
    bool rasterised = false;
};

struct FontFace {
    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* face = nullptr;
    std::string path;        // the file fontconfig chose
    std::string familyName;  // as the file names itself
    int ascent = 0;          // pixels above the baseline; ascent + descent is the line height
    int descent = 0;
    bool antialiased = true;
    bool syntheticBold = false;  // the matched file is lighter, or upright, than asked for
    bool syntheticItalic = false;
    int loadFlags = 0;
    uint32_t glyphIndex[256] = {};
    int advance[256] = {};  // whole pixels, as the layout adds them up
    GlyphBitmap glyphs[256];
    std::vector<uint8_t> coverage;  // every rasterised glyph's rows, one byte a pixel

    FontFace() = default;
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;
    ~FontFace();
};

// GDI's limits on a description, and ours on its size; D3DXCreateFontA rejects anything else.
bool DescriptionInRange(const FontDescription& description);

// The file and face index fontconfig gives for a GDI-style request; false when it gives none.
bool FindFontFile(const char* family, unsigned weight, bool italic, std::string* path, int* index);

// Opens the face, sizes it and measures every narrow character. False (with a reason in
// `error`) for a description out of range or a face FreeType cannot use.
bool OpenFontFace(const FontDescription& description, FontFace* face, std::string* error);

// The character's glyph, rasterised on first use (counted as "RasterizeGlyph").
const GlyphBitmap& RasterizedGlyph(FontFace& face, uint8_t character);

// The Unicode code point of a Windows-1252 byte.
uint32_t CodePointOf1252(uint8_t character);

}  // namespace gfx

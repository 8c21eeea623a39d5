#include "font_face.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>

#include "sim/sim.h"

namespace gfx {
namespace {

// 0x80-0x9F of Windows-1252; the five unassigned bytes keep their C1 code points, as Windows does.
const uint16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool fail(std::string* error, const char* reason) {
    if (error) *error = reason;
    return false;
}

// Metrics and bitmaps both come through here, so synthetic styles widen advances and ink alike.
bool loadGlyph(FontFace& font, uint32_t index) {
    if (FT_Load_Glyph(font.face, index, font.loadFlags) != 0) return false;
    if (font.syntheticItalic) FT_GlyphSlot_Oblique(font.face->glyph);
    if (font.syntheticBold) FT_GlyphSlot_Embolden(font.face->glyph);
    return true;
}

// GDI's cell is the font's Windows ascent and descent; older or odd files only have hhea's.
void designCell(FT_Face face, int* ascent, int* descent) {
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        *ascent = os2->usWinAscent;
        *descent = os2->usWinDescent;
    } else {
        *ascent = face->ascender;
        *descent = -face->descender;
    }
}

int averageCharWidth(FT_Face face) {
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    return (os2 && os2->version != 0xFFFF) ? os2->xAvgCharWidth : 0;
}

bool sizeFace(const FontDescription& description, FontFace* font, std::string* error) {
    FT_Face face = font->face;
    int designAscent = 0, designDescent = 0;
    designCell(face, &designAscent, &designDescent);
    if (face->units_per_EM == 0 || designAscent + designDescent <= 0) return fail(error, "the face has no usable metrics");

    const double unitsPerEm = face->units_per_EM;
    const int height = description.height == 0 ? 16 : description.height;
    double emPixels = 0;
    if (height > 0) {
        const double designCellHeight = designAscent + designDescent;
        emPixels = height * unitsPerEm / designCellHeight;
        font->ascent = static_cast<int>(std::lround(designAscent * height / designCellHeight));
        font->descent = height - font->ascent;
    } else {
        emPixels = -height;
        font->ascent = static_cast<int>(std::lround(designAscent * emPixels / unitsPerEm));
        font->descent = static_cast<int>(std::lround(designDescent * emPixels / unitsPerEm));
    }

    double emWidthPixels = emPixels;
    const int average = averageCharWidth(face);
    if (description.width > 0 && average > 0) emWidthPixels = description.width * unitsPerEm / average;

    FT_Size_RequestRec request = {};
    request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.width = std::lround(emWidthPixels * 64);
    request.height = std::lround(emPixels * 64);
    if (FT_Request_Size(face, &request) != 0) return fail(error, "FreeType cannot size the face");
    return true;
}

void measureCharacters(FontFace* font) {
    for (int c = 0; c < 256; ++c) {
        font->glyphIndex[c] = FT_Get_Char_Index(font->face, CodePointOf1252(static_cast<uint8_t>(c)));
        font->advance[c] = loadGlyph(*font, font->glyphIndex[c])
                               ? static_cast<int>((font->face->glyph->advance.x + 32) >> 6)
                               : 0;
    }
    // Wine's D3DX font lays a carriage return out as nothing at all: no width, no ink.
    font->advance[uint8_t{'\r'}] = 0;
    font->glyphs[uint8_t{'\r'}].rasterised = true;
}

// `out` holds rows of `stride` bytes, already zero.
void copyCoverage(const FT_Bitmap& bitmap, int stride, uint8_t* out) {
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    for (unsigned y = 0; y < bitmap.rows; ++y, out += stride) {
        const uint8_t* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (unsigned x = 0; x < bitmap.width; ++x) out[x] = mono ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : row[x];
    }
}

}  // namespace

uint32_t CodePointOf1252(uint8_t character) {
    return (character >= 0x80 && character <= 0x9F) ? kHigh1252[character - 0x80] : character;
}

FontFace::~FontFace() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
}

bool DescriptionInRange(const FontDescription& description) {
    return description.height >= -kMaxFontPixels && description.height <= kMaxFontPixels &&
           description.width <= static_cast<unsigned>(kMaxFontPixels) && description.weight <= 1000;
}

bool FindFontFile(const char* family, unsigned weight, bool italic, std::string* path, int* index) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    if (family && *family) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight == 0 ? 400 : static_cast<int>(weight)));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;

    FcChar8* file = nullptr;
    int faceIndex = 0;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (found) {
        *path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &faceIndex) != FcResultMatch) faceIndex = 0;
        *index = faceIndex;
    }
    FcPatternDestroy(match);
    return found;
}

bool OpenFontFace(const FontDescription& description, FontFace* font, std::string* error) {
    if (!DescriptionInRange(description)) return fail(error, "font size or weight out of range");

    const unsigned weight = description.weight == 0 ? 400 : description.weight;
    int index = 0;
    if (!FindFontFile(description.faceName, weight, description.italic, &font->path, &index))
        return fail(error, "fontconfig matches no font file");
    if (FT_Init_FreeType(&font->library) != 0) return fail(error, "FreeType does not start");
    if (FT_New_Face(font->library, font->path.c_str(), index, &font->face) != 0)
        return fail(error, "FreeType cannot open the font file");
    if (!FT_IS_SCALABLE(font->face)) return fail(error, "the font file has no outlines");
    font->familyName = font->face->family_name ? font->face->family_name : "";

    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(font->face, FT_SFNT_OS2));
    const unsigned fileWeight = (os2 && os2->version != 0xFFFF) ? os2->usWeightClass
                                : (font->face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
    font->syntheticBold = weight >= 600 && fileWeight < 600;
    font->syntheticItalic = description.italic && !(font->face->style_flags & FT_STYLE_FLAG_ITALIC);
    font->antialiased = description.antialiased;
    font->loadFlags = description.antialiased ? FT_LOAD_TARGET_NORMAL : (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);

    if (!sizeFace(description, font, error)) return false;
    measureCharacters(font);
    return true;
}

const GlyphBitmap& RasterizedGlyph(FontFace& font, uint8_t character) {
    GlyphBitmap& glyph = font.glyphs[character];
    if (glyph.rasterised) return glyph;
    glyph.rasterised = true;  // a glyph FreeType cannot render stays empty instead of retrying every frame
    sim::CountCall("RasterizeGlyph");
    if (!loadGlyph(font, font.glyphIndex[character])) return glyph;
    FT_GlyphSlot slot = font.face->glyph;
    if (FT_Render_Glyph(slot, font.antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return glyph;

    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.stride = (glyph.width + 3) & ~3;  // the blender reads four coverage bytes at a time
    glyph.offset = static_cast<uint32_t>(font.coverage.size());
    font.coverage.resize(font.coverage.size() + static_cast<size_t>(glyph.stride) * glyph.height);
    copyCoverage(bitmap, glyph.stride, font.coverage.data() + glyph.offset);
    return glyph;
}

}  // namespace gfx

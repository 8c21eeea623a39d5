#include "font.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "com_object.h"
#include "device.h"
#include "font_blit.h"
#include "font_compose.h"
#include "font_layout.h"
#include "font_walk.h"
#include "sim/sim.h"

namespace gfx {
namespace {

// LOGFONT keeps 31 characters of a face name; GDI cuts longer ones.
constexpr size_t kFaceNameChars = 31;

LONG clampToLong(int64_t value) {
    return static_cast<LONG>(std::min<int64_t>(std::max<int64_t>(value, INT32_MIN), INT32_MAX));
}

class Font final : public ComObject<ID3DXFont> {
public:
    explicit Font(IDirect3DDevice9* device) : ComObject(nullptr), device_(device) {
        if (device_) device_->AddRef();
        holdDeviceResources(true);
        sim::CountCall("ID3DXFont:create");
    }

    INT STDMETHODCALLTYPE DrawTextA(LPD3DXSPRITE, LPCSTR text, INT count, LPRECT rect, DWORD format,
                                    D3DCOLOR color) override {
        return draw(nullptr, text, count, rect, format, color);
    }
    // Glyphs and layouts live in system memory, so they outlast a lost device untouched; what
    // D3DX keeps in the default pool (its sprite and glyph textures) is modelled as a hold on
    // the device, which blocks its Reset until OnLostDevice.
    HRESULT STDMETHODCALLTYPE OnLostDevice() override {
        sim::CountCall("OnLostDevice");
        holdDeviceResources(false);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnResetDevice() override {
        sim::CountCall("OnResetDevice");
        holdDeviceResources(true);
        return S_OK;
    }

    // `target` null: the device's back buffer.
    INT draw(const RenderTarget* target, LPCSTR text, INT count, LPRECT rect, DWORD format, D3DCOLOR color);

    FontFace face;

private:
    ~Font() override {
        sim::CountCall("ID3DXFont:free");
        holdDeviceResources(false);
        if (device_) device_->Release();
    }
    void holdDeviceResources(bool hold) {
        if (!device_ || hold == holdsDeviceResources_) return;
        HoldDefaultPoolResources(device_, hold ? 1 : -1);
        holdsDeviceResources_ = hold;
    }
    void drawLines(const RenderTarget& target, const CachedLayout& layout, const char* text, const RECT& rect,
                   bool clipped, D3DCOLOR color);
    ComposedText* composedFor(const CachedLayout& layout, const RECT& rect, const RECT& visible);

    IDirect3DDevice9* device_;
    bool holdsDeviceResources_ = false;
    LayoutCache layouts_;
    ComposedText composed_[LayoutCache::kSlots];  // one for each layout slot
    BlendColor blend_ = {};
    bool blendReady_ = false;
};

INT Font::draw(const RenderTarget* target, LPCSTR text, INT count, LPRECT rect, DWORD format, D3DCOLOR color) {
    if (sim::ShouldFail("DrawTextA")) return 0;
    if (!text) return 0;
    if (count < 0) count = static_cast<INT>(std::min<size_t>(std::strlen(text), INT32_MAX));
    if (count == 0) return 0;
    RECT origin = {0, 0, 0, 0};
    if (!rect) {  // nothing to fit into: one unclipped line per paragraph from the origin
        rect = &origin;
        format = (format | DT_NOCLIP) & ~static_cast<DWORD>(DT_WORDBREAK);
    }

    const int wrapWidth =
        static_cast<int>(std::min<int64_t>(std::max<int64_t>(0, int64_t{rect->right} - rect->left), INT32_MAX));
    const CachedLayout& layout =
        FindLayout(layouts_, face.advance, text, count, (format & DT_WORDBREAK) != 0, wrapWidth);
    const std::vector<TextLine>& lines = layout.lines;
    const int lineHeight = face.ascent + face.descent;
    const INT height = static_cast<INT>(std::min<int64_t>(int64_t{lineHeight} * lines.size(), INT32_MAX));

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const TextLine& line : lines) widest = std::max(widest, line.width);
        rect->right = clampToLong(int64_t{rect->left} + widest);
        rect->bottom = clampToLong(int64_t{rect->top} + height);
        return height;
    }

    RenderTarget deviceTarget;
    if (!target) {
        if (!device_ || !GetRenderTarget(device_, &deviceTarget)) return 0;
        target = &deviceTarget;
    }
    drawLines(*target, layout, text, *rect, (format & DT_NOCLIP) == 0, color);
    if (format & DT_NOCLIP) return height;
    // Clipped, the answer ends with the last line that starts inside the rectangle or on its edge.
    const int64_t reached = std::max<int64_t>(0, (int64_t{rect->bottom} - rect->top) / lineHeight) + 1;
    return static_cast<INT>(std::min<int64_t>(height, reached * lineHeight));
}

// HAL merges a text's coverage on its second draw in one place, where it is likely to stay (a page,
// not a changing frame-rate line); a text that moves each frame keeps the glyph-by-glyph draw.
ComposedText* Font::composedFor(const CachedLayout& layout, const RECT& rect, const RECT& visible) {
    ComposedText& composed = composed_[&layout - layouts_.slots];
    const bool same = composed.layout == layout.laidOut && composed.left == rect.left && composed.top == rect.top &&
                      composed.visible.left == visible.left && composed.visible.top == visible.top &&
                      composed.visible.right == visible.right && composed.visible.bottom == visible.bottom;
    if (!same) {
        composed.layout = layout.laidOut;
        composed.left = rect.left;
        composed.top = rect.top;
        composed.visible = visible;
        composed.built = false;
        return nullptr;
    }
    if (!composed.built) ComposeText(face, layout.lines, layout.text.data(), rect, visible, &composed);
    return &composed;
}

void Font::drawLines(const RenderTarget& target, const CachedLayout& layout, const char* text, const RECT& rect,
                     bool clipped, D3DCOLOR color) {
    RECT visible = {0, 0, target.width, target.height};
    if (clipped) {
        visible.left = std::max(visible.left, rect.left);
        visible.top = std::max(visible.top, rect.top);
        visible.right = std::min(visible.right, rect.right);
        visible.bottom = std::min(visible.bottom, rect.bottom);
    }
    if (visible.left >= visible.right || visible.top >= visible.bottom) return;
    if (!blendReady_ || blend_.color != color) {
        PrepareBlendColor(color, &blend_);
        blendReady_ = true;
    }

    if (!target.reference) {
        const ComposedText* composed = composedFor(layout, rect, visible);
        if (composed && BlendComposed(target, *composed, blend_)) {
            sim::CountCall("BlendComposed");  // tests see that a text that stays is drawn in one pass
            return;
        }
    }
    WalkGlyphs(face, layout.lines, text, rect, visible, [&](size_t, int x, int y, const GlyphBitmap& glyph) {
        const CoverageImage image = {face.coverage.data() + glyph.offset, glyph.width, glyph.height, glyph.stride};
        BlendCoverage(target, visible, x, y, image, blend_);
    });
}

}  // namespace

HRESULT CreateFont(IDirect3DDevice9* device, const FontDescription& description, ID3DXFont** font) {
    if (!font) return D3DERR_INVALIDCALL;
    *font = nullptr;
    if (!DescriptionInRange(description)) {
        OutputDebugStringA("D3DXCreateFontA: the height, width or weight is out of range\n");
        return D3DERR_INVALIDCALL;
    }
    char faceName[kFaceNameChars + 1] = {};
    if (description.faceName) std::strncpy(faceName, description.faceName, kFaceNameChars);
    FontDescription cut = description;
    cut.faceName = faceName;

    Font* created = new (std::nothrow) Font(device);
    if (!created) return E_OUTOFMEMORY;
    std::string error;
    if (!OpenFontFace(cut, &created->face, &error)) {
        OutputDebugStringA(("D3DXCreateFontA: " + error + "\n").c_str());
        created->Release();
        return E_FAIL;
    }
    *font = created;
    return S_OK;
}

INT DrawFontText(ID3DXFont* font, const RenderTarget& target, LPCSTR text, INT count, LPRECT rect, DWORD format,
                 D3DCOLOR color) {
    return static_cast<Font*>(font)->draw(&target, text, count, rect, format, color);
}

const FontFace& FaceOf(ID3DXFont* font) { return static_cast<Font*>(font)->face; }

}  // namespace gfx

HRESULT WINAPI D3DXCreateFontA(LPDIRECT3DDEVICE9 device, INT height, UINT width, UINT weight, UINT, BOOL italic,
                               DWORD, DWORD, DWORD quality, DWORD, LPCSTR faceName, LPD3DXFONT* font) {
    HRESULT status = 0;
    if (sim::ShouldFail("D3DXCreateFontA", &status)) {
        if (font) *font = nullptr;
        return status != 0 ? status : D3DERR_INVALIDCALL;
    }
    if (!device || !font) {
        if (font) *font = nullptr;
        return D3DERR_INVALIDCALL;
    }
    gfx::FontDescription description;
    description.height = height;
    description.width = width;
    description.weight = weight;
    description.italic = italic != FALSE;
    description.antialiased = quality != NONANTIALIASED_QUALITY;
    description.faceName = faceName;
    return gfx::CreateFont(device, description, font);
}

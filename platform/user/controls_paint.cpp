// Painting the controls in the classic desktop look, into the buffer the backend shows, and
// the system colours that look is made of.
#include <windows.h>

#include "gfx/font.h"
#include "user/controls.h"

namespace {

constexpr DWORD rgb(int r, int g, int b) { return DWORD(r | (g << 8) | (b << 16)); }

DWORD classicColour(int index) {
    switch (index) {
    case COLOR_WINDOW: return rgb(255, 255, 255);
    case COLOR_WINDOWTEXT: return rgb(0, 0, 0);
    case COLOR_HIGHLIGHT: return rgb(10, 36, 106);
    case COLOR_HIGHLIGHTTEXT: return rgb(255, 255, 255);
    case COLOR_BTNFACE: return rgb(212, 208, 200);
    case COLOR_BTNSHADOW: return rgb(128, 128, 128);
    case COLOR_GRAYTEXT: return rgb(128, 128, 128);
    case COLOR_BTNTEXT: return rgb(0, 0, 0);
    case COLOR_BTNHIGHLIGHT: return rgb(255, 255, 255);
    case COLOR_3DDKSHADOW: return rgb(64, 64, 64);
    case COLOR_3DLIGHT: return rgb(212, 208, 200);
    default: return rgb(0, 0, 0);
    }
}

}  // namespace

DWORD WINAPI GetSysColor(int index) { return classicColour(index); }

namespace user {
namespace {

uint32_t pixelOf(int colourIndex) {
    const DWORD c = classicColour(colourIndex);
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);  // DWORD is 0x00BBGGRR, as GetSysColor gives it
}

bool intersect(RECT* out, const RECT& a, const RECT& b) {
    out->left = a.left > b.left ? a.left : b.left;
    out->top = a.top > b.top ? a.top : b.top;
    out->right = a.right < b.right ? a.right : b.right;
    out->bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    return out->left < out->right && out->top < out->bottom;
}

// The buffer, and the rectangle the control being painted may touch.
struct Canvas {
    uint32_t* pixels;
    int pitch;  // in pixels
    RECT clip;
    int originX, originY;  // the control's client origin in the buffer
};

void fill(const Canvas& canvas, int left, int top, int right, int bottom, int colourIndex) {
    left += canvas.originX, right += canvas.originX, top += canvas.originY, bottom += canvas.originY;
    if (left < canvas.clip.left) left = canvas.clip.left;
    if (top < canvas.clip.top) top = canvas.clip.top;
    if (right > canvas.clip.right) right = canvas.clip.right;
    if (bottom > canvas.clip.bottom) bottom = canvas.clip.bottom;
    const uint32_t value = pixelOf(colourIndex);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) canvas.pixels[y * canvas.pitch + x] = value;
}

void plot(const Canvas& canvas, int x, int y, int colourIndex) { fill(canvas, x, y, x + 1, y + 1, colourIndex); }

// One ring of a 3-D edge: `topLeft` on the upper and left sides, `bottomRight` on the others.
void ring(const Canvas& canvas, RECT r, int topLeft, int bottomRight) {
    fill(canvas, r.left, r.top, r.right - 1, r.top + 1, topLeft);
    fill(canvas, r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
    fill(canvas, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    fill(canvas, r.right - 1, r.top, r.right, r.bottom, bottomRight);
}

RECT inset(RECT r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

void raisedEdge(const Canvas& canvas, RECT r) {
    ring(canvas, r, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
    ring(canvas, inset(r, 1), COLOR_3DLIGHT, COLOR_BTNSHADOW);
}

void sunkenEdge(const Canvas& canvas, RECT r) {
    ring(canvas, r, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    ring(canvas, inset(r, 1), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
}

void focusRect(const Canvas& canvas, RECT r) {  // dotted, every other pixel
    for (int x = r.left; x < r.right; x += 2) {
        plot(canvas, x, r.top, COLOR_BTNTEXT);
        plot(canvas, x, r.bottom - 1, COLOR_BTNTEXT);
    }
    for (int y = r.top; y < r.bottom; y += 2) {
        plot(canvas, r.left, y, COLOR_BTNTEXT);
        plot(canvas, r.right - 1, y, COLOR_BTNTEXT);
    }
}

void downArrow(const Canvas& canvas, int centreX, int centreY) {
    for (int row = 0; row < 4; ++row) fill(canvas, centreX - 3 + row, centreY - 2 + row, centreX + 4 - row, centreY - 1 + row, COLOR_BTNTEXT);
}

void upArrow(const Canvas& canvas, int centreX, int centreY) {
    for (int row = 0; row < 4; ++row) fill(canvas, centreX - row, centreY - 2 + row, centreX + 1 + row, centreY - 1 + row, COLOR_BTNTEXT);
}

// The 8-point UI face, made on first use and kept until ReleaseUiFont; without one the controls
// are painted without text.
ID3DXFont* uiFontMade = nullptr;
bool uiFontTried = false;

ID3DXFont* uiFont() {
    if (!uiFontTried) {
        uiFontTried = true;
        gfx::FontDescription description;
        description.height = -11;  // 8 points at 96 dots per inch
        description.faceName = "sans-serif";
        if (FAILED(gfx::CreateFont(nullptr, description, &uiFontMade))) uiFontMade = nullptr;
    }
    return uiFontMade;
}

// Draws one line of text in `r` (control coordinates), placed as DT_CENTER / DT_VCENTER say
// (the font draws from the top left only), and returns the box the text took.
RECT text(const Canvas& canvas, const char* string, RECT r, DWORD format, int colourIndex) {
    ID3DXFont* font = uiFont();
    RECT box{r.left, r.top, r.left, r.top};
    if (!font || !string || !*string) return box;
    const RECT bounds{r.left + canvas.originX, r.top + canvas.originY, r.right + canvas.originX, r.bottom + canvas.originY};
    RECT visible;
    if (!intersect(&visible, bounds, canvas.clip)) return box;
    gfx::RenderTarget target{reinterpret_cast<uint8_t*>(canvas.pixels), int(canvas.clip.right), int(canvas.clip.bottom),
                             canvas.pitch * 4, D3DFMT_X8R8G8B8, false};
    RECT measured{0, 0, 0, 0};
    gfx::DrawFontText(font, target, string, -1, &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT, 0);
    const int width = measured.right, height = measured.bottom;
    int left = bounds.left, top = bounds.top;
    if ((format & DT_CENTER) && width < bounds.right - bounds.left) left = (bounds.left + bounds.right - width) / 2;
    if ((format & DT_VCENTER) && height < bounds.bottom - bounds.top) top = (bounds.top + bounds.bottom - height) / 2;
    RECT drawn{left, top, visible.right, visible.bottom};
    gfx::DrawFontText(font, target, string, -1, &drawn, DT_SINGLELINE | DT_NOPREFIX, pixelOf(colourIndex));
    return RECT{left - canvas.originX, top - canvas.originY, left - canvas.originX + width, top - canvas.originY + height};
}

void paintGroupBox(const Canvas& canvas, const Window& window, int width, int height) {
    const int frameTop = kComboRowHeight / 2;
    RECT frame{0, frameTop, width, height};
    ring(canvas, frame, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);  // etched: a dark line and a light one
    ring(canvas, RECT{1, frameTop + 1, width - 1, height - 1}, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    if (window.text.empty()) return;
    ID3DXFont* font = uiFont();
    if (!font) return;
    RECT measured{0, 0, width, kComboRowHeight};
    gfx::RenderTarget none{nullptr, 0, 0, 0, D3DFMT_X8R8G8B8, false};
    gfx::DrawFontText(font, none, window.text.c_str(), -1, &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT, 0);
    fill(canvas, 6, 0, 10 + measured.right, kComboRowHeight + 1, COLOR_BTNFACE);
    text(canvas, window.text.c_str(), RECT{8, 0, width - 8, kComboRowHeight + 1}, DT_LEFT | DT_VCENTER, COLOR_BTNTEXT);
}

void paintRadio(const Canvas& canvas, const Window& window, const ControlState& state, bool focused, int width, int height) {
    const int top = (height - 12) / 2;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const float dx = x - 5.5f, dy = y - 5.5f, distance2 = dx * dx + dy * dy;
            if (distance2 > 36.0f) continue;
            int colour = COLOR_WINDOW;
            if (distance2 > 20.0f) colour = dx + dy < 0 ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
            else if (distance2 > 12.0f) colour = dx + dy < 0 ? COLOR_3DDKSHADOW : COLOR_3DLIGHT;
            if (state.checked && distance2 <= 4.5f) colour = COLOR_WINDOWTEXT;
            plot(canvas, x, top + y, colour);
        }
    RECT box = text(canvas, window.text.c_str(), RECT{16, 0, width, height}, DT_LEFT | DT_VCENTER, COLOR_BTNTEXT);
    if (focused && box.right > box.left) focusRect(canvas, RECT{box.left - 1, box.top, box.right + 1, box.bottom + 1});
}

// The default button: the focused push button, else the first BS_DEFPUSHBUTTON of the window.
bool isDefaultButton(const Window& window) {
    HWND focus = GetFocus();
    if (IsPushButton(focus) && FindWindow(focus)->parent == window.parent) return focus == window.handle;
    for (int i = 0; i < WindowCount(); ++i) {
        const Window& sibling = WindowAt(i);
        if (sibling.parent == window.parent && ButtonType(sibling.handle) == BS_DEFPUSHBUTTON)
            return sibling.handle == window.handle;
    }
    return false;
}

void paintPushButton(const Canvas& canvas, const Window& window, const ControlState& state, bool focused, int width, int height) {
    RECT r{0, 0, width, height};
    if (isDefaultButton(window)) {  // the heavier frame
        ring(canvas, r, COLOR_WINDOWTEXT, COLOR_WINDOWTEXT);
        r = inset(r, 1);
    }
    if (state.pushed) {
        ring(canvas, r, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
    } else {
        raisedEdge(canvas, r);
    }
    const int shift = state.pushed ? 1 : 0;
    text(canvas, window.text.c_str(), RECT{shift, shift, width + shift, height + shift}, DT_CENTER | DT_VCENTER, COLOR_BTNTEXT);
    if (focused) focusRect(canvas, inset(RECT{0, 0, width, height}, 4));
}

void paintComboField(const Canvas& canvas, const Window& window, const ControlState& state, bool focused, int width) {
    RECT field{0, 0, width, kComboFieldHeight};
    sunkenEdge(canvas, field);
    fill(canvas, 2, 2, width - 2, kComboFieldHeight - 2, COLOR_WINDOW);
    RECT button{width - 2 - kScrollBarWidth + 1, 2, width - 2, kComboFieldHeight - 2};
    fill(canvas, button.left, button.top, button.right, button.bottom, COLOR_BTNFACE);
    raisedEdge(canvas, button);
    downArrow(canvas, (button.left + button.right) / 2, (button.top + button.bottom) / 2);
    RECT textArea{3, 3, button.left - 1, kComboFieldHeight - 3};
    const bool marked = focused && !state.open;
    if (marked) fill(canvas, textArea.left, textArea.top, textArea.right, textArea.bottom, COLOR_HIGHLIGHT);
    if (state.selection >= 0)
        text(canvas, state.items[state.selection].c_str(), RECT{textArea.left + 2, textArea.top, textArea.right, textArea.bottom},
             DT_LEFT | DT_VCENTER, marked ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (marked) focusRect(canvas, textArea);
    (void)window;
}

// The open list, painted over everything else like the pop-up it stands for.
void paintComboList(const Canvas& canvas, const Window& window, const ControlState& state, int width, int height) {
    const int rows = ComboVisibleRows(window);
    const int count = static_cast<int>(state.items.size());
    const int listTop = kComboFieldHeight;
    const int listBottom = listTop + 2 + rows * kComboRowHeight < height ? listTop + 2 + rows * kComboRowHeight : height;
    ring(canvas, RECT{0, listTop, width, listBottom}, COLOR_WINDOWTEXT, COLOR_WINDOWTEXT);
    fill(canvas, 1, listTop + 1, width - 1, listBottom - 1, COLOR_WINDOW);
    const bool scrolls = count > rows;
    const int rowRight = scrolls ? width - 1 - kScrollBarWidth : width - 1;
    for (int row = 0; row < rows && state.firstVisible + row < count; ++row) {
        const int item = state.firstVisible + row;
        const int top = listTop + 1 + row * kComboRowHeight;
        const bool marked = item == state.highlight;
        if (marked) fill(canvas, 1, top, rowRight, top + kComboRowHeight, COLOR_HIGHLIGHT);
        text(canvas, state.items[item].c_str(), RECT{3, top, rowRight, top + kComboRowHeight}, DT_LEFT | DT_VCENTER,
             marked ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    }
    if (!scrolls) return;
    const int left = rowRight, right = width - 1, top = listTop + 1, bottom = listBottom - 1;
    fill(canvas, left, top, right, bottom, COLOR_3DLIGHT);
    const int arrowBox = (bottom - top) / 2 < kScrollBarWidth ? (bottom - top) / 2 : kScrollBarWidth;
    RECT up{left, top, right, top + arrowBox}, down{left, bottom - arrowBox, right, bottom};
    fill(canvas, up.left, up.top, up.right, up.bottom, COLOR_BTNFACE);
    fill(canvas, down.left, down.top, down.right, down.bottom, COLOR_BTNFACE);
    raisedEdge(canvas, up);
    raisedEdge(canvas, down);
    upArrow(canvas, (up.left + up.right) / 2, (up.top + up.bottom) / 2);
    downArrow(canvas, (down.left + down.right) / 2, (down.top + down.bottom) / 2);
}

Canvas canvasFor(uint32_t* pixels, int pitch, RECT buffer, int originX, int originY, int width, int height) {
    RECT own{originX, originY, originX + width, originY + height};
    Canvas canvas{pixels, pitch, RECT{}, originX, originY};
    if (!intersect(&canvas.clip, own, buffer)) canvas.clip = RECT{0, 0, 0, 0};
    return canvas;
}

void paintControl(uint32_t* pixels, int pitch, RECT buffer, const Window& window, int originX, int originY, bool listOnly) {
    const ControlState* state = static_cast<const ControlState*>(window.userData);
    if (!state) return;
    const int width = window.rect.right - window.rect.left, height = window.rect.bottom - window.rect.top;
    const Canvas canvas = canvasFor(pixels, pitch, buffer, originX, originY, width, height);
    const bool focused = GetFocus() == window.handle;
    if (state->kind == ControlKind::Combo) {
        if (listOnly) {
            if (state->open) paintComboList(canvas, window, *state, width, height);
        } else {
            paintComboField(canvas, window, *state, focused, width);
        }
        return;
    }
    if (listOnly) return;
    switch (window.style & BS_TYPEMASK) {
    case BS_GROUPBOX: paintGroupBox(canvas, window, width, height); break;
    case BS_AUTORADIOBUTTON:
    case BS_RADIOBUTTON: paintRadio(canvas, window, *state, focused, width, height); break;
    default: paintPushButton(canvas, window, *state, focused, width, height); break;
    }
}

// Bottom of the z-order first, so that the top ones end up on top.
void paintChildren(uint32_t* pixels, int pitch, RECT buffer, HWND parent, int originX, int originY, bool listsOnly) {
    for (int i = WindowCount() - 1; i >= 0; --i) {
        const Window& window = WindowAt(i);
        if (window.parent != parent || !(window.style & WS_VISIBLE)) continue;
        const int x = originX + window.rect.left, y = originY + window.rect.top;
        paintControl(pixels, pitch, buffer, window, x, y, listsOnly);
        paintChildren(pixels, pitch, buffer, window.handle, x, y, listsOnly);
    }
}

}  // namespace

void PaintControls(HWND topLevel, uint32_t* pixels, int width, int height, int pitch) {
    if (!pixels || width <= 0 || height <= 0) return;
    const RECT buffer{0, 0, width, height};
    const Canvas whole{pixels, pitch / 4, buffer, 0, 0};
    fill(whole, 0, 0, width, height, COLOR_BTNFACE);
    paintChildren(pixels, pitch / 4, buffer, topLevel, 0, 0, false);
    paintChildren(pixels, pitch / 4, buffer, topLevel, 0, 0, true);
}

void ReleaseUiFont() {
    if (uiFontMade) uiFontMade->Release();
    uiFontMade = nullptr;
    uiFontTried = false;
}

}  // namespace user

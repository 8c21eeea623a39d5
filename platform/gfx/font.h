// The D3DX font object. DrawTextA draws into the device's render target; the same drawing is
// reachable with a render target of the caller's own, which is how the tests and benches use it.
#pragma once

#include <d3dx9.h>

#include "font_face.h"
#include "render_target.h"

namespace gfx {

// `device` may be null: such a font measures (DT_CALCRECT) and draws through DrawFontText only.
HRESULT CreateFont(IDirect3DDevice9* device, const FontDescription& description, ID3DXFont** font);

// DrawTextA onto `target` instead of the device's back buffer. `font` must come from CreateFont
// or D3DXCreateFontA.
INT DrawFontText(ID3DXFont* font, const RenderTarget& target, LPCSTR text, INT count, LPRECT rect, DWORD format,
                 D3DCOLOR color);

// The face behind a font, for looking at its metrics.
const FontFace& FaceOf(ID3DXFont* font);

}  // namespace gfx

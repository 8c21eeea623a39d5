#include "app/text_page.h"

#include "app/app_state.h"
#include "diag/log.h"
#include "diag/text_file.h"

namespace {

const D3DCOLOR kWhite = 0xFFFFFFFF;

// DrawTextA returns 0 both for a failure and for an empty text; an empty page is not an error,
// and logging it every frame would grow "log.txt" without end.
void drawText(const char* text, int left, int top, DWORD format) {
    RECT rect;
    SetRect(&rect, left, top, 640, 480);
    if (g_app.font->DrawTextA(nullptr, text, -1, &rect, format, kWhite) == 0 && text[0] != '\0') {
        LogMessage("Error Drawing font", 0);
    }
}

}  // namespace

HRESULT LoadTextPage() {
    const HRESULT fontStatus = D3DXCreateFontA(g_app.device, 22, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET,
                                               OUT_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                               DEFAULT_PITCH | FF_DONTCARE, "Arial", &g_app.font);

    size_t count = 0;
    if (!ReadTextFile("text.txt", g_app.TextBuffer, kTextPageMaxBytes, &count)) {
        LogMessage("Error opening file for read", 0);
        return E_FAIL;
    }
    g_app.TextBuffer[count] = '\0';

    g_app.frameRateCounter.Restart();
    return fontStatus;
}

HRESULT RenderFrame() {
    HRESULT status = g_app.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    if (FAILED(status)) return status;
    status = g_app.device->BeginScene();
    if (FAILED(status)) return status;

    drawText(g_app.frameRateCounter.GetText().c_str(), 0, 0, DT_NOCLIP);
    drawText(g_app.TextBuffer, 0, 30, DT_WORDBREAK);

    g_app.device->EndScene();
    status = g_app.device->Present(nullptr, nullptr, nullptr, nullptr);
    g_app.frameRateCounter.Tick();
    return status;
}

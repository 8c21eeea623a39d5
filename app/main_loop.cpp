#include "app/main_loop.h"

#include "app/app_state.h"
#include "app/text_page.h"
#include "diag/log.h"
#include "framework/main_window.h"

HRESULT fwHandleDeviceLoss(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters, HRESULT status) {
    if (status == D3DERR_DEVICELOST) {
        g_app.font->OnLostDevice();
        g_app.fontLost = true;
        Sleep(500);
        return status;
    }
    if (status == D3DERR_DEVICENOTRESET) {
        // Loss and recovery may both fall between two passes; the font must still let go of its
        // device resources, or every Reset fails.
        if (!g_app.fontLost) g_app.font->OnLostDevice();
        g_app.fontLost = true;
        const HRESULT resetStatus = device->Reset(parameters);
        if (SUCCEEDED(resetStatus)) {
            g_app.font->OnResetDevice();
            g_app.fontLost = false;
        }
        return resetStatus;  // a failed reset is retried on the next pass
    }
    return status;
}

void RunMainLoopPass() {
    fwPumpMessages();
    HRESULT status = g_app.device->TestCooperativeLevel();
    if (SUCCEEDED(status)) status = RenderFrame();

    if (status == D3DERR_DEVICELOST || status == D3DERR_DEVICENOTRESET) {
        fwHandleDeviceLoss(g_app.device, &g_app.presentParameters, status);
    } else if (FAILED(status)) {
        g_app.quit = true;
        LogMessage("Error rendering", status);
    }
}

void RunMainLoop() {
    while (!g_app.quit) RunMainLoopPass();
}

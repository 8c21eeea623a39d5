// The program: preferences, main window, Direct3D, the text page, then redraw until asked to stop.
#include <windows.h>

#include "app/app_state.h"
#include "app/main_loop.h"
#include "app/text_page.h"
#include "diag/log.h"
#include "framework/d3d_setup.h"
#include "framework/main_window.h"
#include "prefs/user_pref_dialog.h"

namespace {

const char kTitle[] = "Fontloom";
const int kWidth = 640;
const int kHeight = 480;
const BYTE kColourDepth = 16;

void releaseFont() {
    if (g_app.font != nullptr) {
        g_app.font->Release();
        g_app.font = nullptr;
    }
}

// After a start-up failure: everything created so far, newest first, then the window.
void releaseAll(HWND* window) {
    releaseFont();
    fwReleaseD3D(&g_app.d3d, &g_app.device);
    fwCloseWindow(window);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HWND window = nullptr;
    UserPrefDialog preferences(kTitle);
    ResetLog();

    if (!preferences.Run()) {
        LogMessage("Exiting\n", 0);
        return 0;
    }

    const bool fullScreen = preferences.IsFullScreen();
    HRESULT status = fwOpenWindow(fullScreen, kTitle, kWidth, kHeight, MainWindowProc, &window);
    if (FAILED(status)) {
        LogMessage("Failed to create Window", status);
        return 0;
    }

    status = fwCreateD3D(&g_app.d3d);
    if (FAILED(status)) {
        fwCloseWindow(&window);
        LogMessage("Failed to create D3D", status);
        return 0;
    }

    D3DFORMAT format = D3DFMT_UNKNOWN;
    status = fwGetFormat(g_app.d3d, fullScreen, kColourDepth, &format);
    if (FAILED(status)) {
        releaseAll(&window);
        LogMessage("Failed to get a display format", status);
        return 0;
    }

    const UINT adapter = static_cast<UINT>(preferences.GetAdapter());
    const D3DDEVTYPE deviceType = static_cast<D3DDEVTYPE>(preferences.GetDeviceType());
    fwInitPresentParameters(fullScreen, window, kWidth, kHeight, format, D3DFMT_UNKNOWN, &g_app.presentParameters);

    status = fwCreateDevice(g_app.d3d, adapter, deviceType, window, &g_app.presentParameters, &g_app.device);
    if (FAILED(status)) {
        releaseAll(&window);
        LogMessage("Failed to create the device", status);
        return 0;
    }

    if (FAILED(LoadTextPage())) {
        releaseAll(&window);
        return 0;
    }

    RunMainLoop();

    g_app.frameRateCounter.WriteReport("FPS.txt");
    releaseAll(&window);
    return 0;
}

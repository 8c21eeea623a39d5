#include "framework/main_window.h"

#include "app/app_state.h"
#include "diag/log.h"

namespace {

const char kClassName[] = "FW Class";

HINSTANCE moduleInstance() { return GetModuleHandleA(nullptr); }

// Halving rounded down, also for negative values (plain division would round toward zero).
int floorHalf(int value) { return value >= 0 ? value / 2 : -((1 - value) / 2); }

}  // namespace

HRESULT fwOpenWindow(bool fullScreen, const char* title, int width, int height, WNDPROC windowProc,
                     HWND* window) {
    HRESULT status = fwRegisterWindowClass(windowProc);
    if (FAILED(status)) return status;

    status = fwCreateWindow(fullScreen, width, height, title, window);
    if (FAILED(status)) {
        LogMessage("Error opening window", 0);
        fwCloseWindow(window);
        return E_FAIL;
    }

    if (fullScreen) {
        ShowCursor(FALSE);
    } else {
        fwFitClientArea(*window);
    }
    ShowWindow(*window, SW_SHOW);
    return S_OK;
}

HRESULT fwRegisterWindowClass(WNDPROC windowProc) {
    WNDCLASSA windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = windowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = moduleInstance();
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kClassName;

    if (RegisterClassA(&windowClass) == 0) {
        LogMessage("Error registering window class", 0);
        return E_FAIL;
    }
    return S_OK;
}

HRESULT fwCreateWindow(bool fullScreen, int width, int height, const char* title, HWND* window) {
    DWORD style = WS_OVERLAPPED | WS_SYSMENU;
    if (fullScreen) {
        // The pop-up covers the whole screen whatever size was asked for.
        style = WS_POPUP | WS_VISIBLE;
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
    }
    *window = CreateWindowExA(0, kClassName, title, style, 0, 0, width, height, nullptr, nullptr,
                              moduleInstance(), nullptr);
    return *window != nullptr ? S_OK : E_FAIL;
}

void fwFitClientArea(HWND window) {
    RECT client;
    RECT outer;
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);

    // Grow the outer size by the frame once, so the client area becomes the old outer size.
    const int outerWidth = outer.right - outer.left;
    const int outerHeight = outer.bottom - outer.top;
    const int newWidth = 2 * outerWidth - client.right;
    const int newHeight = 2 * outerHeight - client.bottom;

    // Signed arithmetic: a window larger than the screen overhangs both edges equally.
    const int x = floorHalf(GetSystemMetrics(SM_CXSCREEN) - newWidth);
    const int y = floorHalf(GetSystemMetrics(SM_CYSCREEN) - newHeight);
    MoveWindow(window, x, y, newWidth, newHeight, TRUE);
}

void fwCloseWindow(HWND* window) {
    if (*window != nullptr) {
        if (!DestroyWindow(*window)) {
            LogMessage("Destroy Window Failed", 0);
        } else {
            fwPumpMessages();
        }
    }
    *window = nullptr;

    if (!UnregisterClassA(kClassName, moduleInstance())) {
        LogMessage("Error unregistering window class", 0);
    }
}

void fwPumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) g_app.quit = true;
        return 0;  // no key reaches the default procedure
    case WM_CLOSE:  // the window stays until fwCloseWindow
    case WM_LBUTTONDOWN:
        g_app.quit = true;
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

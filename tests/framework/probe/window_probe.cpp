// Opens the main window on a real display (windowed, or full screen with the argument "full")
// and pumps it until MainWindowProc sets the quit flag, for xvfb_window_check.sh: it measures the
// window from outside and presses Escape with xdotool.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/app_state.h"
#include "framework/main_window.h"

int main(int argc, char** argv) {
    const bool fullScreen = argc > 1 && std::strcmp(argv[1], "full") == 0;
    HWND window = nullptr;
    if (FAILED(fwOpenWindow(fullScreen, "Fontloom probe", 640, 480, MainWindowProc, &window))) {
        std::printf("open failed\n");
        return 1;
    }
    RECT client;
    GetClientRect(window, &client);
    std::printf("open %dx%d\n", static_cast<int>(client.right), static_cast<int>(client.bottom));
    std::fflush(stdout);

    const DWORD start = timeGetTime();
    while (!g_app.quit && timeGetTime() - start < 20000) {
        fwPumpMessages();
        Sleep(5);
    }
    const bool quit = g_app.quit;
    std::printf(quit ? "quit\n" : "no key reached the window in 20 s\n");
    fwCloseWindow(&window);
    return quit ? 0 : 1;
}

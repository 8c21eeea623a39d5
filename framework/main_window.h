// The one rendering window: open it windowed (client area of the asked size, centred) or
// full screen, drain its messages without waiting, close it again.
#pragma once

#include <windows.h>

HRESULT fwOpenWindow(bool fullScreen, const char* title, int width, int height, WNDPROC windowProc,
                     HWND* window);
HRESULT fwRegisterWindowClass(WNDPROC windowProc);
HRESULT fwCreateWindow(bool fullScreen, int width, int height, const char* title, HWND* window);
void fwFitClientArea(HWND window);
void fwCloseWindow(HWND* window);
void fwPumpMessages();

// Escape, a left click or a close request set the quit flag; nothing else is done with input.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

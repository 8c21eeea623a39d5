// DefWindowProcA: what a window does with the messages its own procedure leaves alone.
#include <windows.h>

#include <cstring>

#include "backend/backend.h"
#include "sim/sim.h"
#include "user/window_table.h"

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    sim::CountCall("DefWindowProcA");  // tests check which messages a procedure passes on
    user::Window* window = user::FindWindow(handle);
    if (!window) return 0;
    switch (message) {
    case WM_NCCREATE: return TRUE;  // creation goes on
    case WM_CLOSE: user::DestroyWindowNow(handle); return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(handle, WM_CLOSE, 0, 0);
        return 0;
    case WM_ACTIVATE:
        // An activated window takes the keyboard focus unless it is already inside it.
        if (LOWORD(wParam) != WA_INACTIVE && !user::IsInside(handle, GetFocus())) SetFocus(handle);
        return 0;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_SETTEXT:
        window->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        if (!window->parent) backend::SyncWindow(handle);  // the caption
        InvalidateRect(handle, nullptr, TRUE);
        return TRUE;
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->text.size());
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0) return 0;
        size_t length = window->text.size() < wParam - 1 ? window->text.size() : wParam - 1;
        std::memcpy(buffer, window->text.data(), length);
        buffer[length] = '\0';
        return static_cast<LRESULT>(length);
    }
    default: return 0;
    }
}

// The user room's inside, for its own files and for the child controls and dialog navigation
// (controls*.cpp, dialog*.cpp). Windows and classes live in fixed tables; an HWND names a slot
// and a serial number, so a destroyed handle never matches again and a wrong one is just invalid.
//
// Rules for code that uses this:
// - A Window* is valid only until the next message is sent (a procedure may destroy windows);
//   after SendMessageA, look the handle up again.
// - Child rectangles are in the parent's client coordinates, top-level ones in screen
//   coordinates. Children have no frame unless WS_BORDER (1 px).
// - A click goes to the window WindowAtClientPoint finds: the deepest visible, enabled child
//   under the pointer whose WM_NCHITTEST does not answer HTTRANSPARENT (a group box should
//   answer it). Where input goes, and why, is user/input.cpp's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace user {

struct WindowClass {
    std::string name;  // compared without regard to case, as Win32 does
    WNDPROC proc = nullptr;
    UINT style = 0;
    HINSTANCE instance = nullptr;
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr;
    HICON icon = nullptr;  // what the window manager shows for the class's windows
    bool system = false;  // built in: survives sim::Reset, cannot be unregistered
    int windows = 0;      // live windows of the class
    bool used = false;
};

struct Window {
    HWND handle = nullptr;
    int classIndex = -1;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // children only; top-level windows have none
    int id = 0;             // a child's id, from the menu argument
    RECT rect{};            // outer rectangle: screen (top-level) or parent client (child)
    std::string text;
    WNDPROC proc = nullptr;
    void* userData = nullptr;  // the control's own state (check state, list items ...); its WM_NCDESTROY frees it
    bool needsPaint = false;      // top-level: its children must be painted again
    std::vector<uint32_t> painted;  // top-level: what the paint hook drew, the client area's size
    bool destroying = false;
};

// Index of a registered class, -1 when there is none of that name.
int FindClass(const char* name);
WindowClass& ClassInSlot(int index);
const WindowClass& ClassOf(const Window& window);

// Null for null, destroyed or made-up handles.
Window* FindWindow(HWND handle);
// Every live window, in creation order (which is also the z-order of siblings, top first).
int WindowCount();
Window& WindowAt(int index);

HWND TopLevelOf(HWND handle);
bool IsInside(HWND ancestor, HWND handle);  // handle is ancestor or one of its descendants
// The frame around the client area that the styles give (caption, borders).
RECT FrameInsets(DWORD style, DWORD exStyle);
// Client rectangle of `window` in screen coordinates.
RECT ClientRectOnScreen(const Window& window);
// The window under a point given in `topLevel`'s client coordinates (topLevel itself when no child).
HWND WindowAtClientPoint(HWND topLevel, POINT client);

// DestroyWindow and ShowWindow as the platform itself uses them: the sim neither counts nor
// fails them (it steers the program's own calls).
bool DestroyWindowNow(HWND handle);
bool ShowWindowNow(HWND handle, int command);

// The active top-level window: the one that input is queued to. Null when there is none.
// Activating sends WM_ACTIVATE to the old and the new one (DefWindowProcA then takes the focus).
HWND ActiveWindow();
void Activate(HWND topLevel);
// Who takes over when `leaving` stops being active: the newest visible top-level window.
HWND WindowToActivate(HWND leaving);

// Top-level windows marked for painting; the message loop paints them while it waits.
void PaintInvalidWindows();

// Built-in classes ("button", "COMBOBOX" ...). Call from RegisterControlClasses.
bool RegisterSystemClass(const char* name, WNDPROC proc, UINT style);

// Paints a top-level window's children into an X8R8G8B8 buffer of its client size; the backend
// shows the result. Called from the message loop for a visible top-level window that has
// children and was invalidated (InvalidateRect on it or on any of its children).
using PaintHook = void (*)(HWND topLevel, uint32_t* pixels, int width, int height, int pitch);
void SetPaintHook(PaintHook hook);
PaintHook GetPaintHook();

// Defined by the controls (controls.cpp): registers the built-in classes and the paint hook. The
// class table calls it once, before the first class lookup, which also keeps the controls linked.
void RegisterControlClasses();

// The queue's side, for the backend: input messages go to the back, like posted messages.
bool QueueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Key state as of the last key message taken from the queue (TranslateMessage reads Shift).
void NoteKeyState(int virtualKey, bool down);
bool IsKeyDown(int virtualKey);
void NoteCursor(POINT screen);  // where queued messages say the pointer was
// Drops every queued message for `window` (it is being destroyed).
void DropMessagesFor(HWND window);
void ClearQueue();

// Forgets every window (no messages sent) and every program class; sim::Reset calls it.
void ResetWindows();
void ResetClasses();
int CursorCount();
void ResetCursor();

// The pixels of a stock icon (LoadIconA(NULL, ...)), ARGB, kIconSize a side; null for any other.
constexpr int kIconSize = 32;
const uint32_t* IconPixels(HICON icon);

}  // namespace user

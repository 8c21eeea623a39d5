// What a backend reports of the desktop, one top-level window at a time, and nothing more.
// What a report means is decided here, in one place: which window a key or a click is for, the
// pointer's capture, activation and the focus, and the messages that follow. A null window is a
// report the backend could not place: it is meant for the active window.
#pragma once

#include <windows.h>

namespace user {

void ReportKey(HWND topLevel, int virtualKey, bool down, bool repeat, bool altHeld);
// The left button went down or up, or the pointer moved, at a point of the window's client area.
void ReportButton(HWND topLevel, POINT client, bool down);
void ReportMotion(HWND topLevel, POINT client, bool leftDown);
void ReportFocus(HWND topLevel, bool gained);  // the desktop gave the window its input focus, or took it
void ReportClose(HWND topLevel);               // the close box of the window's frame
void ReportExposed(HWND topLevel);             // the display lost what the window showed

// The window the desktop's focus belongs to, or goes back to: the active window, else the
// newest visible top-level one (as when the active window goes away).
HWND FocusTarget();

// Forgets the pointer's capture (sim::Reset).
void ResetInput();

}  // namespace user

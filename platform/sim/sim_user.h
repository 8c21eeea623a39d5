// The sim's controls for windows and input (the user room and the SDL backend).
#pragma once

namespace sim {

// What GetSystemMetrics(SM_CXSCREEN / SM_CYSCREEN) report and a full-screen window covers.
// sim::Reset sets 1280 x 1024; without the sim a display's own size (headless: 1280 x 1024).
void SetScreenSize(int width, int height);

// Input for the active top-level window, fed as SDL events through the backend's own
// translation. afterFrames > 0 holds it back until that many more frames were presented.
void PressKey(int virtualKey, int afterFrames = 0);  // key down and up
void Click(int x, int y, int afterFrames = 0);       // left button down and up, client coordinates
void RequestClose(int afterFrames = 0);              // the close box
void SetFocusLost(bool lost, int afterFrames = 0);   // the desktop takes the focus away, or gives it back

// ShowCursor's display counter; the cursor shows while it is >= 0.
int CursorDisplayCount();

namespace detail {
// False when no screen size is set.
bool ScreenSizeOverride(int* width, int* height);
}  // namespace detail

}  // namespace sim

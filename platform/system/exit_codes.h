// The native program's exit codes besides the program's own 0, all of them before or instead of
// WinMain's end; the manual page lists them.
#pragma once

namespace platform_exit {
constexpr int kBadScript = 2;         // FONTLOOM_SIM does not parse; nothing ran
constexpr int kHeadlessWait = 3;      // headless, GetMessageA would wait for input that cannot come
constexpr int kNoDisplay = 4;         // no display and headless forbidden, or no video at all
constexpr int kUnusableDisplay = 5;   // a display is named and cannot be used
}  // namespace platform_exit

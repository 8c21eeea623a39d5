// The debugger channel behind OutputDebugStringA: standard error, or a buffer for tests.
#pragma once

#include <string>

namespace platform_debug {
void SetCapture(bool capture);
std::string TakeCaptured();
}  // namespace platform_debug

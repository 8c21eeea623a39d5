#include "system/debug_output.h"

#include <windows.h>

#include <cstring>
#include <unistd.h>

#include "sim/sim.h"

namespace platform_debug {
namespace {
bool capturing = false;
std::string captured;
}  // namespace

void SetCapture(bool capture) {
    capturing = capture;
    captured.clear();
}

std::string TakeCaptured() {
    std::string taken;
    taken.swap(captured);
    return taken;
}
}  // namespace platform_debug

void WINAPI OutputDebugStringA(LPCSTR text) {
    sim::CountCall("OutputDebugStringA");  // tests check what was logged when
    if (!text) return;
    size_t length = std::strlen(text);
    if (platform_debug::capturing) {
        platform_debug::captured.append(text, length);
        return;
    }
    // The bytes go out unchanged and whole; a short write is continued, an error gives up quietly.
    while (length > 0) {
        ssize_t written = write(STDERR_FILENO, text, length);
        if (written <= 0) return;
        text += written;
        length -= static_cast<size_t>(written);
    }
}

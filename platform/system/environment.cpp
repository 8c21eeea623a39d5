#include "system/environment.h"

#include <cstdlib>
#include <cstring>

namespace platform_env {

const Switches& Read() {
    static const Switches switches = [] {
        Switches read;
        const char* headless = std::getenv("FONTLOOM_HEADLESS");
        if (headless && std::strcmp(headless, "1") == 0) read.headless = Headless::Forced;
        if (headless && std::strcmp(headless, "0") == 0) read.headless = Headless::Forbidden;
        if (const char* script = std::getenv("FONTLOOM_SIM")) {
            read.hasSimScript = true;
            read.simScript = script;
        }
        if (const char* path = std::getenv("FONTLOOM_FRAME_PNG")) read.framePng = path;
        return read;
    }();
    return switches;
}

}  // namespace platform_env

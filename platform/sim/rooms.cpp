// Every room's part of the sim, listed once: its script commands, its reset, and what it does
// as frames are presented. A room with controls for the tests adds itself here.
#include "sim/rooms.h"

#include <cstring>

namespace sim {
namespace detail {
namespace {

struct NamedCommand {
    const char* name;
    ScriptCommand run;
};

const NamedCommand kScriptCommands[] = {
    // the sim itself: failures, the clock, what is written at exit
    {"fail", FailCommand},
    {"clock", ClockCommand},
    {"counts", PathCommand},
    {"trace", PathCommand},
    // windows and input
    {"screen", ScreenCommand},
    {"key", KeyCommand},
    {"click", ClickCommand},
    {"close", CloseCommand},
    {"focus", FocusCommand},
    // Direct3D
    {"adapters", AdaptersCommand},
    {"formats", FormatsCommand},
    {"coop", CoopCommand},
    {"present", PresentCommand},
};

}  // namespace

ScriptCommand FindScriptCommand(const std::string& name) {
    for (const NamedCommand& command : kScriptCommands)
        if (name == command.name) return command.run;
    return nullptr;
}

void ResetRooms() {
    ResetUserRoom();
    ResetGfxRoom();
}

void FramePresented(int frame) { DeliverHeldInput(frame); }

}  // namespace detail
}  // namespace sim

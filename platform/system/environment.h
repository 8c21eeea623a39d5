// The platform's switches in the environment, read once, in one place, when the process starts
// (main reads them first; a test program on first use):
//   FONTLOOM_HEADLESS   1: no display, windows in memory; 0: a display or nothing
//   FONTLOOM_SIM        a script steering the platform (sim/sim.h)
//   FONTLOOM_FRAME_PNG  where the last frame presented is written when the device goes
#pragma once

#include <string>

namespace platform_env {

enum class Headless { AsTheDisplayAllows, Forced, Forbidden };

struct Switches {
    Headless headless = Headless::AsTheDisplayAllows;
    bool hasSimScript = false;
    std::string simScript;
    std::string framePng;  // empty: no frame dump
};

const Switches& Read();

}  // namespace platform_env

// The native program's entry: run the test script, if any, then the program's WinMain.
#include <windows.h>

#include <cstdio>
#include <string>

#include "backend/backend.h"
#include "sim/sim.h"
#include "system/environment.h"
#include "system/exit_codes.h"
#include "user/controls.h"

int main(int argc, char** argv) {
    platform_env::Read();
    std::string error;
    if (!sim::RunScriptFromEnvironment(&error)) {
        std::fprintf(stderr, "FONTLOOM_SIM: %s\n", error.c_str());
        return platform_exit::kBadScript;
    }
    // Before the program starts, so that a run that cannot show anything leaves its files alone.
    switch (backend::StartVideo()) {
    case backend::VideoStart::Ready: break;
    case backend::VideoStart::NoDisplay: return platform_exit::kNoDisplay;
    case backend::VideoStart::UnusableDisplay: return platform_exit::kUnusableDisplay;
    }
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    int result = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
    user::ReleaseUiFont();
    sim::FinishRun();
    return result;
}

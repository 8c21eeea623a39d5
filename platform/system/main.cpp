// The native program's entry: run the test script, if any, then the program's WinMain.
#include <windows.h>

#include <cstdio>
#include <string>

#include "sim/sim.h"

int main(int argc, char** argv) {
    std::string error;
    if (!sim::RunScriptFromEnvironment(&error)) {
        std::fprintf(stderr, "FONTLOOM_SIM: %s\n", error.c_str());
        return 2;
    }
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    int result = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
    sim::FinishRun();
    return result;
}

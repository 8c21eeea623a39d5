// The native program's entry: run the test script, if any, then the program's WinMain.
#include <windows.h>

#include <cstdio>
#include <string>

#include "backend/backend.h"
#include "sim/sim.h"

namespace {
// Besides the program's own: a script that does not parse, no display to run on, and one that
// is there but cannot be used (3 is the headless wait that could never end, in user/messages.cpp).
constexpr int kBadScript = 2;
constexpr int kNoDisplay = 4;
constexpr int kUnusableDisplay = 5;
}  // namespace

int main(int argc, char** argv) {
    std::string error;
    if (!sim::RunScriptFromEnvironment(&error)) {
        std::fprintf(stderr, "FONTLOOM_SIM: %s\n", error.c_str());
        return kBadScript;
    }
    // Before the program starts, so that a run that cannot show anything leaves its files alone.
    switch (backend::StartVideo()) {
    case backend::VideoStart::Ready: break;
    case backend::VideoStart::NoDisplay: return kNoDisplay;
    case backend::VideoStart::UnusableDisplay: return kUnusableDisplay;
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

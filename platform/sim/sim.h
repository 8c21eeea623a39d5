// The tests' handle on the platform layer: reset it, steer it, make its calls fail, count them.
// All of it is process-wide, like the platform it stands in for. The same controls are reachable
// from outside the process through the FONTLOOM_SIM script (see platform/README.md).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// Everything back to how a fresh process finds it: every room's state, failures, counts, clock.
void Reset();

// The millisecond clock. Manual: timeGetTime reads a value that only the tests (and Sleep) move.
void SetManualClock(uint32_t milliseconds);
void AdvanceClock(uint32_t milliseconds);
void UseRealClock();
bool IsClockManual();

// Debugger output: written unchanged to standard error unless captured.
void CaptureDebugOutput(bool capture);
std::string TakeDebugOutput();

// Named calls ("CreateWindowExA", "Present", "CheckDeviceType:23" ...) that must fail.
// times < 0 means always; the first `after` calls still succeed. `status` is what a call that
// returns a status gives back (0: the call's own usual failure). With `aim` (a window class for
// CreateWindowExA) only the calls aimed there fail, and only they count for `after`.
void FailCall(const std::string& name, int times = 1, int after = 0, HRESULT status = 0,
              const std::string& aim = std::string());
// How often a named call was made since the last Reset.
int CallCount(const std::string& name);
void CountCall(const std::string& name);
std::vector<std::pair<std::string, int>> AllCallCounts();

// The platform's side: counts the call and says whether it must fail now, and with what status.
// `aim` names what the call is aimed at (see FailCall), when it is aimed at anything.
bool ShouldFail(const std::string& name, HRESULT* status = nullptr, const char* aim = nullptr);

// Run a script: commands separated by ';' or new lines, words separated by blanks.
// Returns false and describes the first bad command in `error`.
bool RunScript(const std::string& script, std::string* error);
// The FONTLOOM_SIM variable's script, run once by main() before WinMain.
bool RunScriptFromEnvironment(std::string* error);

// Called at process exit by main(): writes what the script asked for (call counts, trace).
void FinishRun();

namespace detail {
// The device reports every Present (whatever its result) so that other rooms can act "after N
// frames" (queued input). Frames count from 1 after each Reset.
void NotePresent();
// Parses "123", "0x7B", "-1" (decimal, or hex after 0x); false when it is not a number.
bool ParseNumber(const std::string& word, int64_t* value);
}  // namespace detail

}  // namespace sim

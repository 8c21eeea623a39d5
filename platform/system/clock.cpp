#include "system/clock.h"

#include <windows.h>

#include <ctime>

#include "sim/sim.h"

namespace platform_clock {
namespace {
bool manual = false;
uint32_t manualNow = 0;
}  // namespace

uint32_t Now() {
    if (manual) return manualNow;
    // Milliseconds since the system started, cut to 32 bits: the counter wraps as the real one does.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void SetManual(uint32_t milliseconds) {
    manual = true;
    manualNow = milliseconds;
}

void Advance(uint32_t milliseconds) { manualNow += milliseconds; }  // wraps modulo 2^32
void UseReal() { manual = false; }
bool IsManual() { return manual; }
}  // namespace platform_clock

DWORD WINAPI timeGetTime() { return platform_clock::Now(); }

void WINAPI Sleep(DWORD milliseconds) {
    sim::CountCall("Sleep");
    // Under the manual clock a pause is just time passing, so tests of long waits run at once.
    if (platform_clock::IsManual()) {
        platform_clock::Advance(milliseconds);
        return;
    }
    timespec pause{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0) {
    }
}

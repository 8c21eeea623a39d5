// The millisecond timer behind timeGetTime and Sleep: real, or a manual one for tests.
#pragma once

#include <cstdint>

namespace platform_clock {
uint32_t Now();
void SetManual(uint32_t milliseconds);
void Advance(uint32_t milliseconds);
void UseReal();
bool IsManual();
}  // namespace platform_clock

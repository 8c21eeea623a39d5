// winmm: the millisecond timer.
#pragma once

#include "windef.h"

// Milliseconds since the system started, unsigned 32-bit, wrapping to 0 after 4294967295.
DWORD WINAPI timeGetTime();

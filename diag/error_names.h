// The symbolic name of a status code, as the platform's published headers spell it.
#pragma once

#include <windows.h>

// A constant text of static lifetime, never null: "E_FAIL", "D3DERR_DEVICELOST" ...,
// "Unknown" for a value the table does not hold. Exact 32-bit match; no state, no allocation.
const char* GetErrorName(HRESULT status);

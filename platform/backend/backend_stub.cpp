// Placeholder until the SDL driver lands: one display, frames kept nowhere, focus always held.
#include "backend/backend.h"

namespace backend {

int DisplayCount() { return 1; }
const char* DisplayName(int) { return "Display 0"; }
void PresentFrame(HWND, const Frame&, bool) {}
bool HasFocus(HWND) { return true; }

}  // namespace backend

// Stock icons, cursors and brushes, and the cursor's display counter.
#include <windows.h>

#include "backend/backend.h"
#include "sim/sim.h"

namespace {

// The program only hands these back to the platform; any distinct non-null value serves.
struct StockTag {
    int unused;
};
StockTag applicationIcon, arrowCursor;
StockTag stockObjects[6];  // WHITE_BRUSH .. NULL_BRUSH

int cursorCount = 0;

bool isSystemResource(HINSTANCE instance, LPCSTR name) { return !instance && IS_INTRESOURCE(name); }

}  // namespace

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR iconName) {
    if (!isSystemResource(instance, iconName) || iconName != IDI_APPLICATION) return nullptr;
    return reinterpret_cast<HICON>(&applicationIcon);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
    if (!isSystemResource(instance, cursorName) || cursorName != IDC_ARROW) return nullptr;
    return reinterpret_cast<HCURSOR>(&arrowCursor);
}

HGDIOBJ WINAPI GetStockObject(int object) {
    if (object < WHITE_BRUSH || object > NULL_BRUSH) return nullptr;
    return &stockObjects[object];
}

int WINAPI ShowCursor(BOOL show) {
    sim::CountCall("ShowCursor");
    cursorCount += show ? 1 : -1;
    backend::SetCursorVisible(cursorCount >= 0);
    return cursorCount;
}

namespace user {
int CursorCount() { return cursorCount; }
void ResetCursor() {
    cursorCount = 0;
    backend::SetCursorVisible(true);
}
}  // namespace user

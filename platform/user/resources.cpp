// Stock icons, cursors and brushes, and the cursor's display counter.
#include <windows.h>

#include "backend/backend.h"
#include "sim/sim.h"
#include "user/window_table.h"

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

// The classic application icon: a window with a navy caption bar and a white client area,
// outlined in black, on a transparent ground; 32 x 32, ARGB.
const uint32_t* IconPixels(HICON icon) {
    if (icon != reinterpret_cast<HICON>(&applicationIcon)) return nullptr;
    static uint32_t pixels[kIconSize * kIconSize];
    if (!pixels[kIconSize * 4 + 2]) {
        for (int y = 3; y <= 28; ++y) {
            for (int x = 1; x <= 30; ++x) {
                const bool edge = x == 1 || x == 30 || y == 3 || y == 28;
                const bool caption = y <= 8;
                pixels[y * kIconSize + x] = edge ? 0xFF000000 : caption ? 0xFF000080 : 0xFFFFFFFF;
            }
        }
    }
    return pixels;
}

int CursorCount() { return cursorCount; }
void ResetCursor() {
    cursorCount = 0;
    backend::SetCursorVisible(true);
}
}  // namespace user

// The thread's message queue: posting, peeking, waiting, translating and dispatching.
#include <windows.h>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "backend/backend.h"
#include "system/exit_codes.h"
#include "user/window_table.h"

namespace user {
namespace {

// Win32 allows 10000 posted messages; this program never has more than a handful waiting.
constexpr int kQueueCapacity = 1024;
std::array<MSG, kQueueCapacity> queue;
int queueHead = 0;
int queueLength = 0;

bool quitPosted = false;
int quitCode = 0;

std::array<bool, 256> keysDown{};
POINT lastCursor{0, 0};

MSG& queued(int index) { return queue[(queueHead + index) % kQueueCapacity]; }

void removeQueued(int index) {
    for (int i = index; i + 1 < queueLength; ++i) queued(i) = queued(i + 1);
    --queueLength;
}

bool matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax) {
    if (window == reinterpret_cast<HWND>(-1)) {
        if (msg.hwnd) return false;
    } else if (window && !IsInside(window, msg.hwnd)) {
        return false;
    }
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

// WM_QUIT comes only once nothing else is waiting, as on Win32.
bool takeMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, bool remove) {
    for (int i = 0; i < queueLength; ++i) {
        if (!matches(queued(i), window, filterMin, filterMax)) continue;
        *msg = queued(i);
        if (!remove) return true;
        removeQueued(i);
        // Key state as of the message being read, the way GetKeyState sees it on Win32.
        const int key = static_cast<int>(msg->wParam);
        if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) NoteKeyState(key, true);
        if (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP) NoteKeyState(key, false);
        return true;
    }
    if (quitPosted && ((filterMin == 0 && filterMax == 0) || (WM_QUIT >= filterMin && WM_QUIT <= filterMax))) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0, timeGetTime(), lastCursor};
        if (remove) quitPosted = false;
        return true;
    }
    return false;
}

bool pushMessage(const MSG& msg) {
    if (queueLength == kQueueCapacity) return false;
    queued(queueLength++) = msg;
    return true;
}

bool validTarget(HWND window) { return !window || FindWindow(window); }

// The character a key makes on a US keyboard, 0 for none.
char characterOf(WPARAM key, bool shift) {
    static const char kShiftedDigits[] = ")!@#$%^&*(";
    if (key >= 'A' && key <= 'Z') return static_cast<char>(shift ? key : key - 'A' + 'a');
    if (key >= '0' && key <= '9') return shift ? kShiftedDigits[key - '0'] : static_cast<char>(key);
    switch (key) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_TAB: return '\t';
    case VK_BACK: return '\b';
    case VK_ESCAPE: return 0x1B;
    default: return 0;
    }
}

}  // namespace

bool QueueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return pushMessage(MSG{window, message, wParam, lParam, timeGetTime(), lastCursor});
}

void NoteKeyState(int virtualKey, bool down) {
    if (virtualKey >= 0 && virtualKey < 256) keysDown[virtualKey] = down;
}

void NoteCursor(POINT screen) { lastCursor = screen; }

bool IsKeyDown(int virtualKey) { return virtualKey >= 0 && virtualKey < 256 && keysDown[virtualKey]; }

void DropMessagesFor(HWND window) {
    for (int i = 0; i < queueLength;) {
        if (queued(i).hwnd == window)
            removeQueued(i);
        else
            ++i;
    }
}

void ClearQueue() {
    queueHead = queueLength = 0;
    quitPosted = false;
    quitCode = 0;
    keysDown.fill(false);
}

}  // namespace user

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!msg) return FALSE;
    backend::PumpEvents();
    if (user::takeMessage(msg, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)) return TRUE;
    user::PaintInvalidWindows();
    return FALSE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    if (!msg || (window && window != reinterpret_cast<HWND>(-1) && !user::FindWindow(window))) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    for (;;) {
        backend::PumpEvents();
        if (user::takeMessage(msg, window, filterMin, filterMax, true)) return msg->message != WM_QUIT;
        user::PaintInvalidWindows();
        if (!backend::WaitForEvents(100)) {
            // Headless, nothing queued and no input scripted: waiting would never end.
            std::fprintf(stderr,
                         "GetMessageA: headless and the message queue is empty, so no message can ever "
                         "arrive; script the input (FONTLOOM_SIM key/click/close) before waiting\n");
            std::fflush(stderr);
            std::exit(platform_exit::kHeadlessWait);
        }
    }
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!user::validTarget(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!user::QueueMessage(window, message, wParam, lParam)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    user::Window* record = user::FindWindow(window);
    if (!record || !record->proc) return 0;
    return record->proc(window, message, wParam, lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
    user::quitPosted = true;
    user::quitCode = exitCode;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (!msg) return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
        return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    }
    const bool shift = user::IsKeyDown(VK_SHIFT);
    const char character = user::characterOf(msg->wParam, shift);
    if (character && !user::IsKeyDown(VK_CONTROL)) {
        // Posted like any other message: it comes after whatever already waits.
        UINT message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        user::pushMessage(MSG{msg->hwnd, message, static_cast<WPARAM>(static_cast<unsigned char>(character)),
                              msg->lParam, msg->time, msg->pt});
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg || !msg->hwnd) return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(window, message, wParam, lParam) : 0;
}

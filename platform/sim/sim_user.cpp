// The sim's window and input controls, and their script commands.
#include "sim/sim_user.h"

#include <strings.h>

#include <cctype>

#include <string>
#include <vector>

#include "backend/backend.h"
#include "sim/rooms.h"
#include "sim/sim.h"
#include "user/controls.h"
#include "user/input.h"
#include "user/window_table.h"

namespace sim {
namespace {

bool screenSizeSet = false;
int screenWidth = 0;
int screenHeight = 0;

enum class InputKind { Key, Click, Close, FocusLost, FocusGained };
struct HeldInput {
    InputKind kind;
    int a, b;
    int dueFrame;
};
std::vector<HeldInput> heldInputs;  // grows only when input is scheduled, never per frame
int framesSeen = 0;

// Input goes to the active window, as a user's would; the focus comes back to the window the
// user room says it belongs to.
void deliver(const HeldInput& input) {
    HWND active = user::ActiveWindow();
    switch (input.kind) {
    case InputKind::Key:
        backend::InjectKey(active, input.a, true);
        backend::InjectKey(active, input.a, false);
        break;
    case InputKind::Click:
        backend::InjectClick(active, input.a, input.b, true);
        backend::InjectClick(active, input.a, input.b, false);
        break;
    case InputKind::Close: backend::InjectWindowEvent(active, backend::WindowEvent::Close); break;
    case InputKind::FocusLost: backend::InjectWindowEvent(active, backend::WindowEvent::FocusLost); break;
    case InputKind::FocusGained:
        backend::InjectWindowEvent(user::FocusTarget(), backend::WindowEvent::FocusGained);
        break;
    }
}

void schedule(InputKind kind, int a, int b, int afterFrames) {
    HeldInput input{kind, a, b, framesSeen + afterFrames};
    if (afterFrames <= 0)
        deliver(input);
    else
        heldInputs.push_back(input);
}

}  // namespace

namespace detail {

void DeliverHeldInput(int frame) {
    framesSeen = frame;
    for (size_t i = 0; i < heldInputs.size();) {
        if (heldInputs[i].dueFrame <= frame) {
            HeldInput due = heldInputs[i];
            heldInputs.erase(heldInputs.begin() + static_cast<std::ptrdiff_t>(i));
            deliver(due);
        } else {
            ++i;
        }
    }
}

void ResetUserRoom() {
    heldInputs.clear();
    framesSeen = 0;
    screenSizeSet = true;
    screenWidth = backend::kHeadlessScreenWidth;
    screenHeight = backend::kHeadlessScreenHeight;
    user::ResetWindows();
    user::ResetClasses();
    user::ClearQueue();
    user::ResetCursor();
    user::ResetInput();
    user::ReleaseUiFont();
    backend::ResetWindows();
}

}  // namespace detail

namespace {

struct KeyName {
    const char* name;
    int key;
};
const KeyName kKeyNames[] = {
    {"VK_ESCAPE", VK_ESCAPE}, {"VK_RETURN", VK_RETURN}, {"VK_TAB", VK_TAB},     {"VK_SPACE", VK_SPACE},
    {"VK_BACK", VK_BACK},     {"VK_LEFT", VK_LEFT},     {"VK_UP", VK_UP},       {"VK_RIGHT", VK_RIGHT},
    {"VK_DOWN", VK_DOWN},     {"VK_SHIFT", VK_SHIFT},   {"VK_F1", VK_F1},       {"VK_DELETE", VK_DELETE},
};

// One letter or digit (A, 7), a number of two or more characters (27, 0x1B) or a name from the
// table with or without its VK_ (VK_ESCAPE, escape).
bool parseKey(const std::string& word, int* key) {
    if (word.size() == 1) {  // "7" is the key 7, not the virtual-key code 7
        if (!std::isalnum(static_cast<unsigned char>(word[0]))) return false;
        *key = std::toupper(static_cast<unsigned char>(word[0]));
        return true;
    }
    int64_t value = 0;
    if (detail::ParseNumber(word, &value) && value > 0 && value < 256) {
        *key = static_cast<int>(value);
        return true;
    }
    for (const KeyName& entry : kKeyNames) {
        if (strcasecmp(entry.name, word.c_str()) == 0 || strcasecmp(entry.name + 3, word.c_str()) == 0) {
            *key = entry.key;
            return true;
        }
    }
    return false;
}

// The optional tail "after N frames" (or "after N"); false when something else is there.
bool parseAfter(const std::vector<std::string>& words, size_t from, int* afterFrames) {
    *afterFrames = 0;
    if (from == words.size()) return true;
    int64_t value = 0;
    if (words[from] != "after" || from + 1 >= words.size() || !detail::ParseNumber(words[from + 1], &value) ||
        value < 0)
        return false;
    *afterFrames = static_cast<int>(value);
    if (from + 2 == words.size()) return true;
    return from + 3 == words.size() && (words[from + 2] == "frames" || words[from + 2] == "frame");
}

}  // namespace

namespace detail {

// screen W H
bool ScreenCommand(const std::vector<std::string>& words, std::string* error) {
    int64_t width = 0, height = 0;
    if (words.size() != 3 || !ParseNumber(words[1], &width) || !ParseNumber(words[2], &height) ||
        width <= 0 || height <= 0 || width > 65535 || height > 65535)
        return detail::Refuse(error, "screen: needs a width and a height in pixels");
    SetScreenSize(static_cast<int>(width), static_cast<int>(height));
    return true;
}

// key VK [after N frames]
bool KeyCommand(const std::vector<std::string>& words, std::string* error) {
    int key = 0, after = 0;
    if (words.size() < 2 || !parseKey(words[1], &key) || !parseAfter(words, 2, &after))
        return detail::Refuse(error, "key: needs a virtual key (27, 0x1B, VK_ESCAPE, ESCAPE or a letter), then [after N frames]");
    PressKey(key, after);
    return true;
}

// click X Y [after N frames]
bool ClickCommand(const std::vector<std::string>& words, std::string* error) {
    int64_t x = 0, y = 0;
    int after = 0;
    if (words.size() < 3 || !ParseNumber(words[1], &x) || !ParseNumber(words[2], &y) ||
        !parseAfter(words, 3, &after))
        return detail::Refuse(error, "click: needs X Y in client coordinates, then [after N frames]");
    Click(static_cast<int>(x), static_cast<int>(y), after);
    return true;
}

// close [after N frames]
bool CloseCommand(const std::vector<std::string>& words, std::string* error) {
    int after = 0;
    if (!parseAfter(words, 1, &after)) return detail::Refuse(error, "close: takes only [after N frames]");
    RequestClose(after);
    return true;
}

// focus lost|gained [after N frames]
bool FocusCommand(const std::vector<std::string>& words, std::string* error) {
    int after = 0;
    if (words.size() < 2 || (words[1] != "lost" && words[1] != "gained") || !parseAfter(words, 2, &after))
        return detail::Refuse(error, "focus: needs lost or gained, then [after N frames]");
    SetFocusLost(words[1] == "lost", after);
    return true;
}

}  // namespace detail

void SetScreenSize(int width, int height) {
    screenSizeSet = true;
    screenWidth = width;
    screenHeight = height;
}

void PressKey(int virtualKey, int afterFrames) { schedule(InputKind::Key, virtualKey, 0, afterFrames); }
void Click(int x, int y, int afterFrames) { schedule(InputKind::Click, x, y, afterFrames); }
void RequestClose(int afterFrames) { schedule(InputKind::Close, 0, 0, afterFrames); }
void SetFocusLost(bool lost, int afterFrames) {
    schedule(lost ? InputKind::FocusLost : InputKind::FocusGained, 0, 0, afterFrames);
}

int CursorDisplayCount() { return user::CursorCount(); }

namespace detail {

bool ScreenSizeOverride(int* width, int* height) {
    if (!screenSizeSet) return false;
    *width = screenWidth;
    *height = screenHeight;
    return true;
}

}  // namespace detail
}  // namespace sim

#include "tests/platform/user/window_recorder.h"

#include <map>

namespace {
std::map<UINT, LRESULT> answers;
}

std::vector<Received>& ReceivedMessages() {
    static std::vector<Received> received;
    return received;
}

std::vector<UINT> MessagesOf(HWND window) {
    std::vector<UINT> messages;
    for (const Received& r : ReceivedMessages())
        if (r.window == window) messages.push_back(r.message);
    return messages;
}

std::vector<Received> ReceivedOf(HWND window, UINT message) {
    std::vector<Received> found;
    for (const Received& r : ReceivedMessages())
        if (r.window == window && r.message == message) found.push_back(r);
    return found;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ReceivedMessages().push_back({window, message, wParam, lParam});
    auto it = answers.find(message);
    if (it != answers.end()) {
        LRESULT answer = it->second;
        answers.erase(it);
        return answer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void AnswerNext(UINT message, LRESULT answer) { answers[message] = answer; }

void RegisterRecorderClass() {
    answers.clear();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Recorder";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
}

HWND CreateRecorder(DWORD style, int x, int y, int width, int height, HWND parent, int id, DWORD exStyle) {
    return CreateWindowExA(exStyle, "Recorder", "recorder", style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleA(nullptr), nullptr);
}

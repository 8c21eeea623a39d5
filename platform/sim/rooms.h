// Inside the sim: each room's reset, script commands and frame hook, which sim/rooms.cpp lists.
#pragma once

#include <string>
#include <vector>

namespace sim {
namespace detail {

using ScriptCommand = bool (*)(const std::vector<std::string>& words, std::string* error);

// A script command's refusal: says why in `error`, and is false.
bool Refuse(std::string* error, const std::string& text);

// The sim's own (sim.cpp): fail, clock, counts, trace.
bool FailCommand(const std::vector<std::string>& words, std::string* error);
bool ClockCommand(const std::vector<std::string>& words, std::string* error);
bool PathCommand(const std::vector<std::string>& words, std::string* error);

// Windows and input (sim_user.cpp).
void ResetUserRoom();
void DeliverHeldInput(int frame);  // input held back "after N frames"
bool ScreenCommand(const std::vector<std::string>& words, std::string* error);
bool KeyCommand(const std::vector<std::string>& words, std::string* error);
bool ClickCommand(const std::vector<std::string>& words, std::string* error);
bool CloseCommand(const std::vector<std::string>& words, std::string* error);
bool FocusCommand(const std::vector<std::string>& words, std::string* error);

// Direct3D (sim_gfx.cpp).
void ResetGfxRoom();
bool AdaptersCommand(const std::vector<std::string>& words, std::string* error);
bool FormatsCommand(const std::vector<std::string>& words, std::string* error);
bool CoopCommand(const std::vector<std::string>& words, std::string* error);
bool PresentCommand(const std::vector<std::string>& words, std::string* error);

// The list (rooms.cpp): a script command by name (null when there is none), every room's
// reset, and what every room does when a frame was presented.
ScriptCommand FindScriptCommand(const std::string& name);
void ResetRooms();
void FramePresented(int frame);

}  // namespace detail
}  // namespace sim

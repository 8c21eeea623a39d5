#include "sim/sim.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "sim/rooms.h"
#include "system/clock.h"
#include "system/debug_output.h"
#include "system/environment.h"

namespace sim {
namespace {

struct Failure {
    int remaining;  // < 0: always
    int skip;       // calls that still succeed first
    HRESULT status;
};

struct State {
    std::map<std::string, Failure> failures;  // by call name, or name and aim (see aimedName)
    std::map<std::string, int> counts;
    std::string countsPath;  // where FinishRun writes the call counts, if anywhere
    std::string tracePath;   // where FinishRun writes every counted call in order, if anywhere
    std::vector<std::string> trace;
};

State& state() {
    static State s;
    return s;
}

int presentedFrames = 0;

// A failure aimed at one window class (compared as Win32 compares class names, ignoring case).
std::string aimedName(const std::string& name, const std::string& aim) {
    std::string key = name + '\n';
    for (char c : aim) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

bool takeFailure(const std::string& key, HRESULT* status) {
    auto it = state().failures.find(key);
    if (it == state().failures.end()) return false;
    Failure& failure = it->second;
    if (failure.skip > 0) {
        --failure.skip;
        return false;
    }
    if (status) *status = failure.status;
    if (failure.remaining > 0 && --failure.remaining == 0) state().failures.erase(it);
    return true;
}

}  // namespace

namespace detail {

bool Refuse(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

// fail NAME [class CLASS] [always | times N] [after N] [status VALUE]
bool FailCommand(const std::vector<std::string>& words, std::string* error) {
    if (words.size() < 2) return detail::Refuse(error, "fail: needs the name of a call");
    int times = 1, after = 0;
    int64_t value = 0;
    HRESULT status = 0;
    std::string aim;
    for (size_t i = 2; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "always") {
            times = -1;
        } else if (word == "class" && i + 1 < words.size()) {
            aim = words[++i];
        } else if ((word == "times" || word == "after" || word == "status") && i + 1 < words.size() &&
                   ParseNumber(words[i + 1], &value)) {
            if (word == "times") times = static_cast<int>(value);
            if (word == "after") after = static_cast<int>(value);
            if (word == "status") status = static_cast<HRESULT>(static_cast<uint32_t>(value));
            ++i;
        } else {
            return detail::Refuse(error, "fail: unexpected '" + word + "'");
        }
    }
    FailCall(words[1], times, after, status, aim);
    return true;
}

// clock START: the manual clock, starting at START milliseconds
bool ClockCommand(const std::vector<std::string>& words, std::string* error) {
    int64_t start = 0;
    if (words.size() != 2 || !ParseNumber(words[1], &start) || start < 0 || start > 0xFFFFFFFFll)
        return detail::Refuse(error, "clock: needs a start time in milliseconds");
    SetManualClock(static_cast<uint32_t>(start));
    return true;
}

// counts PATH: write every call count to PATH at exit, one "name count" a line
// trace PATH: write every counted call to PATH at exit, in order, one a line
bool PathCommand(const std::vector<std::string>& words, std::string* error) {
    if (words.size() != 2) return detail::Refuse(error, words[0] + ": needs a file name");
    (words[0] == "counts" ? state().countsPath : state().tracePath) = words[1];
    return true;
}

}  // namespace detail

namespace {

// Words are separated by blanks; "double quotes" keep blanks (and ';') inside one word.
bool splitWords(const std::string& command, std::vector<std::string>* words, std::string* error) {
    std::string word;
    bool quoted = false, inWord = false;
    for (char c : command) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r')) {
            if (inWord) words->push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) return detail::Refuse(error, "unterminated quote in '" + command + "'");
    if (inWord) words->push_back(word);
    return true;
}

void writeLines(const std::string& path, const std::vector<std::string>& lines) {
    if (path.empty()) return;
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return;
    for (const std::string& line : lines) std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
}

}  // namespace

void Reset() {
    state().failures.clear();
    state().counts.clear();
    state().countsPath.clear();
    state().tracePath.clear();
    state().trace.clear();
    UseRealClock();
    CaptureDebugOutput(false);
    presentedFrames = 0;
    detail::ResetRooms();
}

void SetManualClock(uint32_t milliseconds) { platform_clock::SetManual(milliseconds); }
void AdvanceClock(uint32_t milliseconds) { platform_clock::Advance(milliseconds); }
void UseRealClock() { platform_clock::UseReal(); }
bool IsClockManual() { return platform_clock::IsManual(); }

void CaptureDebugOutput(bool capture) { platform_debug::SetCapture(capture); }
std::string TakeDebugOutput() { return platform_debug::TakeCaptured(); }

void FailCall(const std::string& name, int times, int after, HRESULT status, const std::string& aim) {
    const std::string key = aim.empty() ? name : aimedName(name, aim);
    if (times == 0) {
        state().failures.erase(key);
        return;
    }
    state().failures[key] = Failure{times, after, status};
}

int CallCount(const std::string& name) {
    auto it = state().counts.find(name);
    return it == state().counts.end() ? 0 : it->second;
}

void CountCall(const std::string& name) {
    ++state().counts[name];
    if (!state().tracePath.empty()) state().trace.push_back(name);
}

std::vector<std::pair<std::string, int>> AllCallCounts() {
    return std::vector<std::pair<std::string, int>>(state().counts.begin(), state().counts.end());
}

bool ShouldFail(const std::string& name, HRESULT* status, const char* aim) {
    CountCall(name);
    if (aim && takeFailure(aimedName(name, aim), status)) return true;
    return takeFailure(name, status);
}

bool RunScript(const std::string& script, std::string* error) {
    std::string command;
    bool quoted = false;
    for (size_t i = 0; i <= script.size(); ++i) {
        if (i < script.size() && script[i] == '"') quoted = !quoted;
        if (i < script.size() && (quoted || (script[i] != ';' && script[i] != '\n'))) {
            command += script[i];
            continue;
        }
        std::vector<std::string> words;
        if (!splitWords(command, &words, error)) return false;
        command.clear();
        if (words.empty()) continue;
        detail::ScriptCommand run = detail::FindScriptCommand(words[0]);
        if (!run) return detail::Refuse(error, "unknown command '" + words[0] + "'");
        if (!run(words, error)) return false;
    }
    return true;
}

bool RunScriptFromEnvironment(std::string* error) {
    const platform_env::Switches& switches = platform_env::Read();
    return !switches.hasSimScript || RunScript(switches.simScript, error);
}

void FinishRun() {
    std::vector<std::string> counts;
    for (const auto& [name, count] : state().counts) counts.push_back(name + ' ' + std::to_string(count));
    writeLines(state().countsPath, counts);
    writeLines(state().tracePath, state().trace);
}

namespace detail {

void NotePresent() { FramePresented(++presentedFrames); }

bool ParseNumber(const std::string& word, int64_t* value) {
    // Decimal, or hex after 0x: a leading zero does not make it octal.
    const size_t sign = !word.empty() && word[0] == '-' ? 1 : 0;
    const bool hex = word.size() > sign + 2 && word[sign] == '0' && (word[sign + 1] == 'x' || word[sign + 1] == 'X');
    if (word.size() == sign || std::isspace(static_cast<unsigned char>(word[sign])) || word[sign] == '+') return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(word.c_str(), &end, hex ? 16 : 10);
    if (*end != '\0' || errno == ERANGE) return false;
    *value = parsed;
    return true;
}

}  // namespace detail
}  // namespace sim

// How fast the main loop presents frames: the average since Restart, shown every frame, and
// the smallest and largest count of frames in one window of just over a second.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class FrameRateCounter {
public:
    explicit FrameRateCounter(const char* name);

    // Starts a new measurement: averaging period and first window begin at one timer reading.
    void Restart();
    // Frames per second since Restart; not a number or infinity when no time has passed.
    float GetAverage() const;
    // Counts one frame; closes the window at the first tick more than 1000 ms after it opened.
    void Tick();
    // "FPS:" and the average with two decimals, formatted into the counter's own line and
    // returned from there, so that drawing it every frame needs no new storage.
    const std::string& GetText();
    // "average name", "min min" and "max max" lines; nothing at all when the file cannot be opened.
    void WriteReport(const char* path) const;

    uint32_t FramesThisSecond() const { return framesThisSecond; }
    uint32_t TotalFrames() const { return totalFrames; }
    uint32_t MinPerSecond() const { return minPerSecond; }
    uint32_t MaxPerSecond() const { return maxPerSecond; }

private:
    uint32_t framesThisSecond = 0;
    uint32_t totalFrames = 0;
    uint32_t minPerSecond = 0;
    uint32_t maxPerSecond = 0;
    uint32_t startTime = 0;
    uint32_t secondStartTime = 0;
    std::string name;
    std::string text;
};

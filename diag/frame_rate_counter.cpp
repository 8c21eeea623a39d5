#include "diag/frame_rate_counter.h"

#include "diag/format.h"
#include "diag/text_file.h"

namespace {
// Not 0xFFFFFFFF: the smallest count starts at the largest signed value, as the report prints it.
const uint32_t kNoWindowYet = 2147483647u;
const uint32_t kWindowMilliseconds = 1000;
}  // namespace

FrameRateCounter::FrameRateCounter(const char* counterName) : name(counterName ? counterName : "") {}

void FrameRateCounter::Restart() {
    framesThisSecond = 0;
    totalFrames = 0;
    minPerSecond = kNoWindowYet;
    maxPerSecond = 0;
    startTime = timeGetTime();
    secondStartTime = startTime;
}

float FrameRateCounter::GetAverage() const {
    // Differences of timer readings are taken modulo 2^32, so a wrap of the timer changes nothing.
    uint32_t elapsed = timeGetTime() - startTime;
    return static_cast<float>(static_cast<double>(totalFrames) / static_cast<double>(elapsed) * 1000.0);
}

void FrameRateCounter::Tick() {
    ++framesThisSecond;
    ++totalFrames;
    if (timeGetTime() - secondStartTime <= kWindowMilliseconds) return;
    if (framesThisSecond < minPerSecond) minPerSecond = framesThisSecond;
    if (framesThisSecond > maxPerSecond) maxPerSecond = framesThisSecond;
    framesThisSecond = 0;
    // A fresh reading: the time the window overran is not carried into the next one.
    secondStartTime = timeGetTime();
}

const std::string& FrameRateCounter::GetText() {
    FormatInto(text, "FPS:%.2f", static_cast<double>(GetAverage()));
    return text;
}

void FrameRateCounter::WriteReport(const char* path) const {
    double average = GetAverage();
    std::string report;
    FormatInto(report, "%.2f %s\n%d min\n%d max\n", average, name.c_str(), static_cast<int32_t>(minPerSecond),
               static_cast<int32_t>(maxPerSecond));
    WriteTextFile(path, TextFileOpen::Truncate, report);
}

// A fresh, empty working directory for one test, removed again afterwards.
#pragma once

#include <string>

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

private:
    std::string dir;
    std::string previous;
};

// Whole-file helpers for checking bytes on disk.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The page the program ships with, app/sample/text.txt, as it is on disk.
std::string SampleTextFile();

#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

ScratchDir::ScratchDir() : previous(std::filesystem::current_path().string()) {
    char pattern[] = "/tmp/fontloom-test-XXXXXX";
    if (!mkdtemp(pattern) || chdir(pattern) != 0) {
        ADD_FAILURE() << "cannot make or enter a scratch directory";
        return;
    }
    dir = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string SampleTextFile() { return ReadFileBytes(FONTLOOM_SOURCE_DIR "/app/sample/text.txt"); }

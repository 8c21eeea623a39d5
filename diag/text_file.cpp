#include "diag/text_file.h"

#include <cstdio>

#ifdef _WIN32
#include <share.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Both targets open in binary and translate here, so the bytes on disk are the same everywhere.
FILE* openShared(const char* path, const char* mode) {
#ifdef _WIN32
    return _fsopen(path, mode, _SH_DENYNO);  // other processes may read and write meanwhile
#else
    // No lock is taken: sharing is the default here. The open does not wait, so that a FIFO in
    // place of the file fails (no reader) or reads as empty (no writer) instead of hanging.
    int flags = O_NONBLOCK;
    if (mode[0] == 'r')
        flags |= O_RDONLY;
    else
        flags |= O_WRONLY | O_CREAT | (mode[0] == 'a' ? O_APPEND : O_TRUNC);
    const int fd = open(path, flags, 0666);
    if (fd < 0) return nullptr;
    FILE* file = fdopen(fd, mode);
    if (!file) close(fd);
    return file;
#endif
}

}  // namespace

bool WriteTextFile(const char* path, TextFileOpen how, const std::string& text) {
    FILE* file = openShared(path, how == TextFileOpen::Append ? "ab" : "wb");
    if (!file) return false;
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16 + 2);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    // Unbuffered, so the whole text goes to the system as one write.
    std::setvbuf(file, nullptr, _IONBF, 0);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return true;
}

bool ReadTextFile(const char* path, char* buffer, size_t capacity, size_t* count) {
    *count = 0;
    FILE* file = openShared(path, "rb");
    if (!file) return false;
    char chunk[4096];
    size_t out = 0;
    bool pendingCR = false;  // a CR at the end of a chunk waits to see what follows it
    bool ended = false;
    bool firstRead = true;
    while (out < capacity && !ended) {
        size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (got == 0) {
            // A read error before any byte (a directory opened as a file) is a file we cannot read.
            if (firstRead && std::ferror(file)) {
                std::fclose(file);
                return false;
            }
            break;
        }
        firstRead = false;
        for (size_t i = 0; i < got && out < capacity; ++i) {
            char c = chunk[i];
            if (pendingCR) {
                pendingCR = false;
                if (c == '\n') {
                    buffer[out++] = '\n';
                    continue;
                }
                buffer[out++] = '\r';
                if (out == capacity) break;
            }
            if (c == 0x1A) {
                ended = true;
                break;
            }
            if (c == '\r') {
                pendingCR = true;
                continue;
            }
            buffer[out++] = c;
        }
    }
    if (pendingCR && out < capacity) buffer[out++] = '\r';
    std::fclose(file);
    *count = out;
    return true;
}

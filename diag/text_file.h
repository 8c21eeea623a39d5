// The diagnostic text files ("log.txt", "FPS.txt") and the text page's reader, with the same
// bytes on every target: each "\n" is stored as CR LF, each write is one write of the whole text,
// and no handle is kept or locked between operations.
#pragma once

#include <cstddef>
#include <string>

enum class TextFileOpen {
    Truncate,  // "w": created if missing, otherwise cut to zero length
    Append,    // "a": created if missing, every write lands at the current end
};

// Opens `path`, writes `text` (with CR LF line ends) in one write and closes it again.
// Returns false only when the file could not be opened; a failing write or close is not reported.
bool WriteTextFile(const char* path, TextFileOpen how, const std::string& text);

// Reads up to `capacity` bytes of `path` as the Windows C runtime's text mode does: CR LF arrives
// as LF (the limit counts the bytes after that) and Ctrl+Z ends the text. Stores the byte count
// in `*count`. Returns false when the file cannot be opened or read (a directory, say).
bool ReadTextFile(const char* path, char* buffer, size_t capacity, size_t* count);

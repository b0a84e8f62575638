#pragma once
// The few steps on C files that the readers and the copy share: 64-bit seeks,
// unbuffered opening and the regular-file check made before a file is opened.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace kalvor {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// True when path names a regular file. Folders and devices are refused before
// opening: a folder opens on some systems and then fails oddly, and a pipe
// would keep the reader waiting for a writer.
bool IsRegularFile(const std::string& path);

// Opens with the fopen mode, unbuffered: every read and write goes straight
// between the file and the caller's buffer, no read-ahead, and a full disk
// shows at the write that meets it. nullptr when it cannot be opened.
std::FILE* OpenUnbuffered(const std::string& path, const char* mode);

// fseek and ftell with 64-bit offsets.
bool SeekTo(std::FILE* f, std::int64_t offset, int origin);
std::int64_t TellOf(std::FILE* f);

}  // namespace kalvor

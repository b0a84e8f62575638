#pragma once
// The two reads every part of the stream core goes through. Each call opens
// the file, does its one job and closes it again, so no handle outlives a call
// and other programs may read and write the file meanwhile.
#include <cstdint>
#include <string>

namespace kalvor {

// Reads count bytes at the 0-based offset (64-bit) into buffer. True when the
// read itself succeeded: a read that meets the end of the file early still
// succeeds, and buffer bytes beyond the end keep their previous contents. A file
// that cannot be opened (missing, a folder, no permission) fails. With retries
// above 0 a failed attempt is followed by a 500 ms wait that keeps the windows
// alive, up to retries attempts in all; with 0 there is one attempt.
bool ReadAt(const std::string& path, std::uint8_t* buffer, std::int32_t count, std::int64_t offset, int retries);

// Like ReadAt with no retries, but says how much was read: the number of bytes
// (less than count at the end of the file), or -1 when the file cannot be
// opened or read.
std::int32_t ReadAvailable(const std::string& path, std::uint8_t* buffer, std::int32_t count, std::int64_t offset);

// Reads one file piece by piece the way ReadAvailable does, opening and closing
// it for every piece, but finding out only once that the path names a regular
// file (a copy reads thousands of pieces, and that check costs a system call).
class PieceReader {
   public:
    explicit PieceReader(std::string path);
    // Bytes read into buffer (fewer than count at the end of the file), or -1.
    std::int32_t Read(std::uint8_t* buffer, std::int32_t count, std::int64_t offset) const;

   private:
    std::string path_;
    bool regularFile_;
};

// The file's size: the low 32 bits as the result, the full size in *fullSize.
// 0 when the file cannot be opened or its size read; *fullSize is then -1, so
// callers can tell an empty file from an unreadable one.
std::int32_t GetFileSize64(const std::string& path, std::int64_t* fullSize = nullptr);

}  // namespace kalvor

#pragma once
// Byte-built RIFF/WAVE files: the header, a format chunk, the head of a data
// chunk, and other chunks, little-endian as the format wants them.
#include <cstdint>

#include "support/test_support.h"

namespace kalvor::test {

Bytes LittleU32(std::uint32_t value);
Bytes LittleU16(std::uint16_t value);
// The four characters of a chunk identifier.
Bytes ChunkId(const char* four);

// "RIFF", a size of 0 (nobody reads it) and "WAVE".
Bytes RiffHeader();
// A 16-byte "fmt " chunk; block align and byte rate follow from the rest.
Bytes FmtChunk(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);
// "data" and its size; the samples themselves are left to the caller.
Bytes DataChunkHead(std::uint32_t size);

}  // namespace kalvor::test

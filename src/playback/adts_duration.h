#pragma once
// The length of a raw AAC (ADTS) stream, counted from its frame headers: the
// engine cannot tell it before it has played a while.
#include <cstdint>
#include <string>

namespace kalvor {

// Milliseconds of audio in the ADTS frames from the start of the file (after a
// leading ID3v2 tag) up to the first byte that is not a frame; 0 when the file
// does not start with ADTS frames or cannot be read.
std::int32_t AdtsDurationMs(const std::string& path);

}  // namespace kalvor

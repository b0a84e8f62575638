#pragma once
// Byte-built MPEG audio streams for exact edge cases: frames of a given header
// and length, tags, Xing headers. Lengths are computed here independently of
// the code under test.
#include <cstdint>
#include <string>

#include "support/test_support.h"

namespace kalvor::test {

// Frame length in bytes including the 4-byte header, by the ISO formulas:
// Layer I (12 * kbps * 1000 / rate + pad) * 4; Layer II and MPEG-1 Layer III
// 144 * kbps * 1000 / rate + pad; MPEG-2 LSF Layer III 72 * kbps * 1000 / rate + pad.
int FrameLength(int layer, bool lsf, int kbps, int rate, bool padding);

// The length of a frame whose header bytes 2 and 3 are b2, b3 (0 when they do not decode).
int FrameLengthOfHeader(std::uint8_t b2, std::uint8_t b3);

// One frame: the header FF b2 b3 b4, then payload bytes up to length, filled
// with fill (never 0xFF unless asked, so no false syncs appear by accident).
Bytes Frame(std::uint8_t b2, std::uint8_t b3, std::uint8_t b4, int length, std::uint8_t fill = 0x55);

// count frames of the same header, each of its computed length (padding bit as in b3).
Bytes Frames(std::uint8_t b2, std::uint8_t b3, std::uint8_t b4, int count, std::uint8_t fill = 0x55);

// An ID3v2.3 tag of total size (header included), size >= 10.
Bytes Id3v2Tag(int totalSize);
// A 128-byte ID3v1 block starting with "TAG".
Bytes Id3v1Tag();

Bytes operator+(Bytes a, const Bytes& b);

}  // namespace kalvor::test

#pragma once
// The RIFF/WAVE header: enough of a WAVE file's chunks to describe PCM audio
// in the information report and to tell the playback graph what a container
// really holds (MPEG audio is sometimes stored inside a WAVE file).
#include <cstdint>
#include <string>

namespace kalvor {

// Format tags that kalvor tells apart.
inline constexpr std::int32_t kWavFormatPcm = 1;
inline constexpr std::int32_t kWavFormatMpeg = 0x50;  // Layer I/II
inline constexpr std::int32_t kWavFormatMpegLayer3 = 0x55;
inline constexpr std::int32_t kWavFormatWma = 0x160;
inline constexpr std::int32_t kWavFormatWma2 = 0x161;
inline constexpr std::int32_t kWavFormatExtensible = -2;  // 0xFFFE read as a signed 16-bit value

// What ReadWavHeader learnt. Fields filled before the reading stopped stay
// filled, in particular FormatTag, stored as soon as the "fmt " chunk is read.
struct WavInfo {
    std::int32_t Ok = 0;          // 1 only when "fmt " and "data" were read and the duration computed
    std::int32_t SampleRate = 0;  // Hz
    std::int16_t BitsPerSample = 0;
    std::int16_t Channels = 0;
    std::int32_t DurationMs = 0;
    std::int32_t FormatTag = 0;  // the 16-bit tag as a signed value (extensible is -2)
};

// Walks the chunks from offset 12 (the RIFF header itself is not checked) in
// any order until both "fmt " and "data" are found. Only 1 or 2 channels of
// 8, 16 or 24 bits and 6 or 8 channels of 16 or 24 bits are accepted; any
// other format (every compressed one, whose sample size is 0) stops the walk
// with Ok 0. A missing, unreadable, truncated or non-WAVE file gives Ok 0.
WavInfo ReadWavHeader(const std::string& path);

// The container type the playback graph chooses its filters by: "wav" for
// PCM, "mp2" and "mp3" for MPEG audio in a WAVE file, "wmariff" for Windows
// Media audio in one, and otherwise (no "fmt " chunk, the extensible format,
// any other tag) the path's extension without the dot, in lower case.
std::string WavContainerType(const std::string& path);

}  // namespace kalvor

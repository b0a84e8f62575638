#pragma once
// StreamInfo: the analysis record of one MPEG audio file. Copied whole by value.
#include <cstdint>
#include <string>

#include "mpeg/frame_header.h"

namespace kalvor {

struct StreamInfo {
    std::int32_t FirstFramePos = 1;  // 1-based position of the first frame's first byte
    std::int32_t AudioLength = 0;    // audio bytes from the first frame up to a trailing "TAG" or the end
    std::int32_t AudioEndPos = 0;    // 1-based position of the last audio byte
    std::int32_t FileSize = 0;       // file size in bytes (positions are 32-bit: files stay below 2 GiB)
    std::int32_t SnapWindow = 0;     // bytes that 3456 samples take at BitRate
    std::int32_t IsVbr = 0;          // 1 when a Xing header was found
    std::int32_t XingFrames = 0;     // frame count of the Xing header, 0 when none
    std::int32_t SampleRate = 0;     // Hz
    std::int32_t IsLsf = 0;          // 1 for MPEG-2 lower sampling frequencies
    std::int32_t BitRate = 0;        // kbit/s; the average for a Xing stream
    std::int32_t Layer = 0;          // 1, 2 or 3
    std::int32_t DurationMs = 0;     // duration in milliseconds
    std::string LongText;            // format text, e.g. "mp3(44100Hz/128kbps/JointStereo)"
    HeaderBytes RefHeader{0, 0, 0};  // bytes 2, 3, 4 of the first frame's header
};

// LongText has a fixed capacity of 255 characters in the record.
inline constexpr std::size_t kLongTextCapacity = 255;

}  // namespace kalvor

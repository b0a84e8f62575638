#pragma once
// The playing time of a range of a file's frames, for the length a written
// file's tags state. Positions stay linear in bytes everywhere else; only here,
// and only for a stream of varying frame sizes, are the frames of a range walked.
#include <cstdint>
#include <string>

#include "mpeg/stream_info.h"

namespace kalvor {

// The playing time in milliseconds of the frames from..to (1-based positions,
// inclusive, a whole number of frames) of source, whose analysis is info. A
// "Xing"/"Info" header frame at the front holds no sound and does not count.
// The whole audio of a stream whose header counts its frames (IsVbr) takes its
// time from that count; a part of it is walked frame by frame; a stream without
// such a header is taken to be of constant bit rate. 0 for an empty range or
// one that cannot be read.
std::int32_t FramesDurationMs(const std::string& source, const StreamInfo& info, std::int32_t from, std::int32_t to);

}  // namespace kalvor

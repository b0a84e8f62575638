#pragma once
// The plan of a repacked output: which byte ranges of which files are copied as
// they are, and which frames are written anew in between. Ranges that follow
// each other in one file are one stretch; every other place where one range
// follows another is a join, and so is the output's start when its first frame
// takes its data from before it. Only the frames around those places are read.
#include <cstdint>
#include <string>
#include <vector>

#include "mpeg/frame_header.h"

namespace kalvor {

// A Layer III file an output takes frames from.
struct RepackSource {
    std::string Path;
    HeaderBytes Ref{0, 0, 0};     // its first frame's header bytes 2..4
    std::int64_t FirstFrame = 0;  // 0-based offset of its first frame
};

// Whole frames [From, To) of Sources[Source] (0-based offsets); To may be the
// end of the audio rather than a frame start.
struct RepackRange {
    std::size_t Source = 0;
    std::int64_t From = 0, To = 0;
};

// Where a range's first frame is written: in which part, how far into it.
struct RangeStart {
    std::size_t Range = 0;  // its index among the ranges planned
    std::int64_t Offset = 0;
};

// One step of writing the output: a range copied as it is, or bytes written.
struct RepackPart {
    bool Copied = true;
    RepackRange Range;
    std::vector<std::uint8_t> Bytes;
    std::vector<RangeStart> Starts;  // the ranges that start in this part
};

struct RepackPlan {
    std::vector<RepackPart> Parts;
    std::int32_t Windows = 0;   // places where frames were rewritten
    bool Raised = false;        // some frame got a higher bit rate
    bool MixedRates = false;    // the frames read around the joins differ in bit rate
    std::int32_t Silenced = 0;  // frames made silent: their data was missing
};

// Plans the output made of ranges in order. The ranges and the rewritten
// frames hold the same frames, in the same order, as the ranges alone.
RepackPlan PlanRepack(const std::vector<RepackSource>& sources, const std::vector<RepackRange>& ranges);

}  // namespace kalvor

#pragma once
// Gapless pieces: a piece cut out of a Layer III stream decodes to exactly the
// source's samples of its range when it carries a frame or two from before its
// range and its LAME header tells decoders how many samples to drop at either
// end. How many frames, and which figures, is worked out in gapless.cpp.
#include <cstdint>
#include <optional>
#include <string>

#include "mpeg/frame_header.h"
#include "mpeg/xing_audit.h"

namespace kalvor {

// The frames a piece carries before its first one, given how many audio
// frames (not counting a header frame) come before that one in its source;
// framesBefore is -1 when not known.
int CarriedFrames(const HeaderBytes& header, std::int64_t framesBefore);

// Whether CarriedFrames needs to know framesBefore exactly (and not only
// whether there are enough of them) for this stream.
bool CarryDependsOnCount(const HeaderBytes& header);

// The figures of a piece that carries `carried` frames before its range, or,
// with atSourceStart, begins with the source's first audio frame; with
// atSourceEnd it ends with the source's last frame. source: the source's own
// figures from its LAME header, none when it has none.
GaplessTrim PieceTrim(const HeaderBytes& header, const std::optional<GaplessTrim>& source, int carried,
                      bool atSourceStart, bool atSourceEnd);

// Counts the frames of path chained from the frame at offset from up to the
// frame at offset to, by their lengths; -1 when the chain does not land on to.
std::int64_t CountFramesBetween(const std::string& path, const HeaderBytes& ref, std::int64_t from, std::int64_t to);

}  // namespace kalvor

#pragma once
// Times and byte positions of one file's audio. The AudioLength bytes from the
// first frame on spread evenly over DurationMs; the bytes before the first frame
// (a leading tag, often a cover picture of a hundred kilobytes) have no time.
// Every position made from a time (the time line, the list's rows, the play
// position) and every time shown for a position goes through here, so that an
// edit, a split or a build lands on the audio the user saw.
#include <cstdint>

#include "mpeg/stream_info.h"

namespace kalvor {

struct AudioTimeScale {
    std::int32_t Origin = 0;  // bytes before the first frame: FirstFramePos - 1
    std::int32_t AudioLength = 0;
    std::int32_t DurationMs = 0;

    // The scale of an analysed file whose length is durationMs (the player's
    // length may differ a little from the analysis').
    static AudioTimeScale Of(const StreamInfo& info, std::int32_t durationMs);

    // Origin + round(ms / DurationMs * AudioLength), ties to even: the byte
    // position (1-based) that lies ms into the audio. 0 without a duration.
    std::int32_t MsToPos(std::int32_t ms) const;
    // round((pos - Origin) / AudioLength * DurationMs), ties to even. A position
    // before the first frame is 0 ms, as is any position without audio.
    std::int32_t PosToMs(std::int32_t pos) const;
    // The bytes of audio before pos: its offset from the first frame's start,
    // the unit in which the time line scrolls.
    std::int32_t AudioOffset(std::int32_t pos) const;

    std::int32_t FirstFramePos() const;  // Origin + 1
    std::int32_t AudioEndPos() const;    // Origin + AudioLength
};

}  // namespace kalvor

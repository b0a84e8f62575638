#pragma once
// A LAME-style header frame for an output that has none: a Layer III frame of
// the output's format that decodes to nothing, holding a "Xing" (or "Info")
// header with frame count, byte count and table of contents, and the LAME
// extension that carries the encoder delay and end padding. It is made with
// zero counts; the walk of the finished file puts the real figures in.
#include <cstdint>
#include <optional>
#include <vector>

#include "mpeg/frame_header.h"

namespace kalvor {

struct HeaderFrameShape {
    HeaderBytes Audio{0, 0, 0};  // a header of the output's frames (version, layer, rate, channels)
    // The bit-rate index to use when the header fits in such a frame (the
    // stream's own rate keeps a constant-rate file constant); raised until it does.
    int PreferredIndex = 0;
    bool Variable = false;  // "Xing" rather than "Info"
    // With the LAME extension: decoders that honour it drop its delay (and
    // their own) at the start and its padding at the end; without it they
    // drop nothing, as for a source that never had one.
    bool WithLame = false;
    // The first 20 bytes of a LAME extension to take over (encoder name and
    // settings), or none for kalvor's own; decoders honour the delay and
    // padding only after an encoder name they know.
    std::vector<std::uint8_t> Encoder;
};

std::vector<std::uint8_t> MakeHeaderFrame(const HeaderFrameShape& shape);

// The first 20 bytes of the LAME extension in a source's header frame, if any.
std::optional<std::vector<std::uint8_t>> LameEncoderBytes(const std::vector<std::uint8_t>& headerFrame);

}  // namespace kalvor

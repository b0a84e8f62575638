#pragma once
// Whether frames of one stream may follow frames of another in one file.
#include "mpeg/stream_info.h"

namespace kalvor {

// True when source's frames can be pasted among document's: the same MPEG
// version, layer, sampling rate and channel count (mono against two channels).
// Bit rates may differ: every frame carries its own. Anything else makes a
// stream that decoders cannot play through cleanly.
bool StreamFormatsMatch(const StreamInfo& document, const StreamInfo& source);

}  // namespace kalvor

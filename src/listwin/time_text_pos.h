#pragma once
// A list row's time text turned back into a byte position of the document.
#include <cstdint>
#include <string>

#include "mpeg/audio_time_scale.h"

namespace kalvor {

// The 1-based byte position of the document that a ten-character time text
// MMM'SS.mmm names: scale.MsToPos(ms), measured from the first frame, where
// ms = round(minutes * 60000) + seconds * 1000 + milliseconds and characters 4
// and 7 are not looked at. Any other length, fields that are not numbers, or a
// scale without duration give 0. Handed to CopyFrames with snapping, the
// position becomes a frame start.
std::int32_t TimeTextToBytePos(const std::string& text, const AudioTimeScale& scale);

}  // namespace kalvor

#pragma once
// A list row's time text turned back into a byte position of the document.
#include <cstdint>
#include <string>

namespace kalvor {

// The 1-based byte position, in the document's selection space, of a ten-character
// time text MMM'SS.mmm: round(ms / durationMs * audioLength), ties to even, where
// ms = round(minutes * 60000) + seconds * 1000 + milliseconds and characters 4 and 7
// are not looked at. Any other length, fields that are not numbers, or a durationMs
// of 0 give 0. Handed to CopyFrames with snapping, the position becomes a frame start.
std::int32_t TimeTextToBytePos(const std::string& text, std::int32_t durationMs, std::int32_t audioLength);

}  // namespace kalvor

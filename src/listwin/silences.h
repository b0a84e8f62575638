#pragma once
// Where the audio is silent: runs of frames in which every channel peaks below
// a threshold, lasting at least a minimum time. Split points go in the middle
// of the silences that lie between audio; one at the very start or end of the
// file would only cut off a piece of silence.
#include <cstdint>
#include <functional>
#include <vector>

#include "document/level_source.h"
#include "listwin/list_rows.h"

namespace kalvor {

struct SilenceRule {
    double ThresholdDb = -50.0;  // a frame whose peak is below this is silent
    double MinSeconds = 2.0;     // shorter runs of silent frames do not count
};

// One silence, in byte positions (1-based, inclusive) and milliseconds.
struct Silence {
    std::int64_t FromPos = 0;  // the first byte of its first frame
    std::int64_t ToPos = 0;    // the last byte before the next frame (or of the audio)
    std::int32_t FromMs = 0;
    std::int32_t ToMs = 0;  // where the frame after it begins
    bool Leading = false;   // no frame before it is louder
    bool Trailing = false;  // no frame after it is louder

    std::int32_t LengthMs() const { return ToMs - FromMs; }
};

// The document's own conversion of a byte position to milliseconds.
using PosToMsFn = std::function<std::int32_t(std::int64_t pos)>;

// The silences among the frames of the audio firstPos..lastPos (the document's
// first and last audio byte), in order.
std::vector<Silence> FindSilences(const LevelSource& levels, std::int64_t firstPos, std::int64_t lastPos,
                                  const SilenceRule& rule, const PosToMsFn& posToMs);

// The middle of each silence that lies between audio, in milliseconds.
std::vector<std::int32_t> SilenceSplitPoints(const std::vector<Silence>& silences);

// Adds a split row for each of points that is not a split point of rows yet
// (a second split at the same silences, or a time given besides, would make
// pieces of no length); the rows added.
int AddSplitPoints(ListRows& rows, const std::vector<std::int32_t>& points, std::int32_t durationMs);

}  // namespace kalvor

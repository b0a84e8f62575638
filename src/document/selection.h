#pragma once
// The selection of the open document, in byte positions of the current file
// (1-based; 0 = none), with its millisecond values for the information panel.
// Byte positions and times convert linearly over the audio (AudioTimeScale).
#include <cstdint>

#include "mpeg/audio_time_scale.h"

namespace kalvor {

struct Selection {
    std::int32_t SelStart = 0;
    std::int32_t SelEnd = 0;
    // Commands treat SelLength <= 0 as nothing selected. How it relates to start
    // and end depends on who made the selection: see the setters below.
    std::int32_t SelLength = 0;

    // Derived by UpdateMs; the view shows them.
    std::int32_t SelStartMs = 0;
    std::int32_t SelEndMs = 0;
    std::int32_t SelLengthMs = 0;

    // A selection handed over by position pairs (the list window, the command
    // line): length = end - start, so equal ends select nothing and mark an
    // insertion point.
    void SelectRange(std::int32_t pIn, std::int32_t pOut);

    // The whole audio: FirstFramePos..AudioEndPos, length AudioLength.
    void SelectAll(const AudioTimeScale& scale);

    // Recomputes the millisecond values. Positions before the first frame, and
    // all positions without audio, count as 0 ms.
    void UpdateMs(const AudioTimeScale& scale);

    // Moves both ends by delta bytes: the same audio in a version of the file
    // whose first frame lies delta bytes later.
    void Move(std::int32_t delta);

    void Clear() { *this = Selection{}; }
};

}  // namespace kalvor

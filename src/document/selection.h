#pragma once
// The selection of the open document, in byte positions of the current file
// (1-based; 0 = none), with its millisecond values for the information panel.
// Byte positions and times convert linearly over the whole document.
#include <cstdint>

namespace kalvor {

// ms = round(byte / audioLength * durationMs), ties to even. A zero audioLength
// (nothing to show) gives 0.
std::int32_t ByteToMs(std::int32_t byte, std::int32_t audioLength, std::int32_t durationMs);

// byte = round(ms / durationMs * audioLength), ties to even. A zero durationMs
// gives 0.
std::int32_t MsToByte(std::int32_t ms, std::int32_t durationMs, std::int32_t audioLength);

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

    // The whole document: 1..audioLength, length audioLength.
    void SelectAll(std::int32_t audioLength);

    // Recomputes the millisecond values. Positions below 1 count as 0 ms; with
    // audioLength 0 other positions keep their previous values (there is nothing
    // to measure against).
    void UpdateMs(std::int32_t audioLength, std::int32_t durationMs);

    void Clear() { *this = Selection{}; }
};

}  // namespace kalvor

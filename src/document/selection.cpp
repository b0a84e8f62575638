#include "document/selection.h"

#include "services/arith.h"

namespace kalvor {

std::int32_t ByteToMs(std::int32_t byte, std::int32_t audioLength, std::int32_t durationMs) {
    if (audioLength == 0) return 0;
    return RoundHalfEven(static_cast<double>(byte) / audioLength * durationMs);
}

std::int32_t MsToByte(std::int32_t ms, std::int32_t durationMs, std::int32_t audioLength) {
    if (durationMs == 0) return 0;
    return RoundHalfEven(static_cast<double>(ms) / durationMs * audioLength);
}

void Selection::SelectRange(std::int32_t pIn, std::int32_t pOut) {
    SelStart = pIn;
    SelEnd = pOut;
    SelLength = WrapSub(pOut, pIn);
}

void Selection::SelectAll(std::int32_t audioLength) {
    SelStart = 1;
    SelEnd = audioLength;
    SelLength = audioLength;
}

void Selection::UpdateMs(std::int32_t audioLength, std::int32_t durationMs) {
    // Without audio the conversion has no scale: a position keeps its old value.
    if (SelStart < 1) {
        SelStartMs = 0;
    } else if (audioLength != 0) {
        SelStartMs = ByteToMs(SelStart, audioLength, durationMs);
    }
    if (SelEnd < 1) {
        SelEndMs = 0;
    } else if (audioLength != 0) {
        SelEndMs = ByteToMs(SelEnd, audioLength, durationMs);
    }
    SelLengthMs = WrapSub(SelEndMs, SelStartMs);
}

}  // namespace kalvor

#include "document/selection.h"

#include "services/arith.h"

namespace kalvor {

void Selection::SelectRange(std::int32_t pIn, std::int32_t pOut) {
    SelStart = pIn;
    SelEnd = pOut;
    SelLength = WrapSub(pOut, pIn);
}

void Selection::SelectAll(const AudioTimeScale& scale) {
    SelStart = scale.FirstFramePos();
    SelEnd = scale.AudioEndPos();
    SelLength = scale.AudioLength;
}

void Selection::UpdateMs(const AudioTimeScale& scale) {
    // Without audio the conversion has no scale: a position keeps its old value.
    const auto update = [&](std::int32_t pos, std::int32_t& ms) {
        if (pos < scale.FirstFramePos()) {
            ms = 0;
        } else if (scale.AudioLength != 0) {
            ms = scale.PosToMs(pos);
        }
    };
    update(SelStart, SelStartMs);
    update(SelEnd, SelEndMs);
    SelLengthMs = WrapSub(SelEndMs, SelStartMs);
}

void Selection::Move(std::int32_t delta) {
    SelStart = WrapAdd(SelStart, delta);
    SelEnd = WrapAdd(SelEnd, delta);
}

}  // namespace kalvor

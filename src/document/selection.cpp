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
    // Once all audio is deleted every position is at 0 ms: the times from
    // before the delete would show a selection that is gone.
    SelStartMs = scale.PosToMs(SelStart);
    SelEndMs = scale.PosToMs(SelEnd);
    SelLengthMs = WrapSub(SelEndMs, SelStartMs);
}

void Selection::Move(std::int32_t delta) {
    SelStart = WrapAdd(SelStart, delta);
    SelEnd = WrapAdd(SelEnd, delta);
}

}  // namespace kalvor

#include "mpeg/audio_time_scale.h"

#include "services/arith.h"

namespace kalvor {

AudioTimeScale AudioTimeScale::Of(const StreamInfo& info, std::int32_t durationMs) {
    return {WrapSub(info.FirstFramePos, 1), info.AudioLength, durationMs};
}

std::int32_t AudioTimeScale::MsToPos(std::int32_t ms) const {
    if (DurationMs == 0) return 0;
    // Rounded before the origin is added: the parity of a tag's length must not
    // decide which way a half byte goes.
    return WrapAdd(Origin, RoundHalfEven(static_cast<double>(ms) / DurationMs * AudioLength));
}

std::int32_t AudioTimeScale::PosToMs(std::int32_t pos) const {
    if (AudioLength == 0 || pos <= Origin) return 0;
    return RoundHalfEven(static_cast<double>(AudioOffset(pos)) / AudioLength * DurationMs);
}

std::int32_t AudioTimeScale::AudioOffset(std::int32_t pos) const {
    return WrapSub(pos, Origin);
}

std::int32_t AudioTimeScale::FirstFramePos() const {
    return WrapAdd(Origin, 1);
}

std::int32_t AudioTimeScale::AudioEndPos() const {
    return WrapAdd(Origin, AudioLength);
}

}  // namespace kalvor

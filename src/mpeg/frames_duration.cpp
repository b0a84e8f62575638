#include "mpeg/frames_duration.h"

#include "mpeg/frame_walker.h"
#include "mpeg/header_frame.h"
#include "services/arith.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

std::int32_t Duration(const std::string& source, const StreamInfo& info, std::int32_t from, std::int32_t to) {
    if (to < from || from < 1) return 0;
    // The whole audio of a stream with a header that counts its frames.
    if (info.IsVbr == 1 && from == info.FirstFramePos && to == info.AudioEndPos) return info.DurationMs;
    if (from == info.FirstFramePos) {
        // Only a Xing or Info frame is passed over; a VBRI frame is walked with the rest.
        if (const HeaderFrame header = ReadHeaderFrame(source, info); !header.Vbri) from += header.Length;
        if (to < from) return 0;
    }
    if (info.IsVbr != 1) {
        if (info.BitRate <= 0) return 0;
        return RoundHalfEven((static_cast<double>(to) - from + 1) * 8.0 / info.BitRate);
    }
    FrameWalk walk;
    if (!WalkFrameRange(source, from - 1, to, info.RefHeader, walk)) return 0;
    return walk.DurationMs();
}

}  // namespace

std::int32_t FramesDurationMs(const std::string& source, const StreamInfo& info, std::int32_t from, std::int32_t to) {
    return Trapped(std::int32_t{0}, [&] { return Duration(source, info, from, to); });
}

}  // namespace kalvor

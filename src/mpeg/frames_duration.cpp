#include "mpeg/frames_duration.h"

#include <vector>

#include "mpeg/file_read.h"
#include "mpeg/frame_walker.h"
#include "mpeg/xing_header.h"
#include "services/arith.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

// The length of the header frame at the stream's start, 0 when it holds no header.
std::int32_t HeaderFrameLength(const std::string& source, const StreamInfo& info) {
    const std::int32_t length = FrameLengthOf(info.RefHeader);
    if (length <= 4) return 0;
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(length));
    const std::int32_t read = ReadAvailable(source, frame.data(), length, info.FirstFramePos - 1);
    if (read <= 0) return 0;
    return ParseXingHeader(frame.data(), static_cast<std::size_t>(read)) ? length : 0;
}

std::int32_t Duration(const std::string& source, const StreamInfo& info, std::int32_t from, std::int32_t to) {
    if (to < from || from < 1) return 0;
    // The whole audio of a stream with a header that counts its frames.
    if (info.IsVbr == 1 && from == info.FirstFramePos && to == info.AudioEndPos) return info.DurationMs;
    if (from == info.FirstFramePos) {
        from += HeaderFrameLength(source, info);
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

#include "mpeg/header_frame.h"

#include <vector>

#include "mpeg/file_read.h"
#include "mpeg/frame_walker.h"
#include "mpeg/xing_header.h"

namespace kalvor {

HeaderFrame ReadHeaderFrame(const std::string& source, const StreamInfo& info) {
    const std::int32_t length = FrameLengthOf(info.RefHeader);
    if (length <= 4) return {};
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(length));
    const std::int32_t read = ReadAvailable(source, frame.data(), length, info.FirstFramePos - 1);
    if (read <= 0) return {};
    const auto held = static_cast<std::size_t>(read);
    if (ParseXingHeader(frame.data(), held)) return {length, false};
    if (ParseVbriHeader(frame.data(), held)) return {length, true};
    return {};
}

}  // namespace kalvor

#include "repack/header_frame.h"

#include <algorithm>
#include <cstring>

#include "mpeg/frame_walker.h"
#include "mpeg/xing_header.h"

namespace kalvor {
namespace {

constexpr std::size_t kEncoderBytes = 20;
// "Xing"/"Info", flags, frames, bytes, table of contents, quality.
constexpr std::size_t kXingFieldsSize = 8 + 4 + 4 + kXingTocSize + 4;
constexpr std::uint32_t kAllFlags = kXingFramesFlag | kXingBytesFlag | kXingTocFlag | kXingQualityFlag;
constexpr char kOwnEncoder[] = "LAME3.100";

HeaderBytes WithIndex(const HeaderBytes& audio, int index) {
    // No CRC word, no padding, nothing private: the frame carries no audio.
    return {static_cast<std::uint8_t>(audio[0] | kProtectionMask),
            static_cast<std::uint8_t>((index << 4) | (audio[1] & kSampleRateMask)), audio[2]};
}

}  // namespace

std::vector<std::uint8_t> MakeHeaderFrame(const HeaderFrameShape& shape) {
    const HeaderBytes& audio = shape.Audio;
    const std::size_t xingAt = static_cast<std::size_t>(XingHeaderOffset(audio));
    const std::size_t needed = xingAt + kXingFieldsSize + (shape.WithLame ? kLameExtensionSize : 0);
    int index = std::clamp(shape.PreferredIndex, 1, 14);
    while (index < 14 && static_cast<std::size_t>(FrameLengthOf(WithIndex(audio, index))) < needed) ++index;
    const HeaderBytes h = WithIndex(audio, index);
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(FrameLengthOf(h)), 0);
    if (frame.size() < needed) return {};
    frame[0] = 0xFF;
    std::copy(h.begin(), h.end(), frame.begin() + 1);
    std::memcpy(frame.data() + xingAt, shape.Variable ? "Xing" : "Info", 4);
    frame[xingAt + 7] = static_cast<std::uint8_t>(kAllFlags);
    if (!shape.WithLame) return frame;
    const std::size_t lameAt = xingAt + kXingFieldsSize;
    if (shape.Encoder.size() == kEncoderBytes)
        std::copy(shape.Encoder.begin(), shape.Encoder.end(), frame.begin() + static_cast<std::ptrdiff_t>(lameAt));
    else
        std::memcpy(frame.data() + lameAt, kOwnEncoder, sizeof kOwnEncoder - 1);
    // Storing the parsed header computes the extension's tag CRC.
    std::optional<XingHeader> header = ParseXingHeader(frame.data(), frame.size());
    if (!header) return {};
    LameExtension lame;
    lame.Offset = lameAt;
    header->Lame = lame;
    StoreXingHeader(*header, frame.data(), frame.size());
    return frame;
}

std::optional<std::vector<std::uint8_t>> LameEncoderBytes(const std::vector<std::uint8_t>& headerFrame) {
    const std::optional<XingHeader> header = ParseXingHeader(headerFrame.data(), headerFrame.size());
    if (!header || !header->Lame) return std::nullopt;
    const auto at = headerFrame.begin() + static_cast<std::ptrdiff_t>(header->Lame->Offset);
    return std::vector<std::uint8_t>(at, at + static_cast<std::ptrdiff_t>(kEncoderBytes));
}

}  // namespace kalvor

#include "mpeg/frame_chain.h"

#include <algorithm>
#include <vector>

#include "mpeg/file_read.h"
#include "mpeg/frame_header.h"
#include "mpeg/frame_walker.h"

namespace kalvor {
namespace {

using Byte = std::uint8_t;

// Frames a chain holds at least: the first confirmed by two more.
constexpr int kChainFrames = 3;

// The longest frames: MPEG 2.5 at 160 kbit/s and 8 kHz, and of MPEG-1/2
// MPEG-1 Layer II at 384 kbit/s and 32 kHz, both padded.
constexpr std::int64_t kLongestMpeg25Frame = 72 * 160000 / 8000 + 1;
constexpr std::int64_t kLongestFrame = 144 * 384000 / 32000 + 1;

// The length of the frame whose header is at h when it belongs to the stream
// whose first header is at first, else 0.
using LengthRule = std::int32_t (*)(const Byte* h, const Byte* first);

// An MPEG 2.5 header's fields read as MPEG-2's (version bit 0) at half
// MPEG-2's sampling rates, so its frame holds 576 samples of 72 bytes' worth
// of bits per kilobit each.
std::int32_t Mpeg25Length(const Byte* h, const Byte* first) {
    if (h[0] != 0xFF || (h[1] & 0xFE) != 0xE2 || (h[1] & 0xFE) != (first[1] & 0xFE) ||
        (h[2] & kSampleRateMask) != (first[2] & kSampleRateMask))
        return 0;
    const auto asMpeg2 = static_cast<Byte>(h[1] | 0x10);
    const int kbps = BitRateOf(asMpeg2, h[2]);
    const int rate = SampleRateOf(asMpeg2, h[2]) / 2;
    if (kbps <= 0 || rate <= 0) return 0;
    return 72 * kbps * 1000 / rate + ((h[2] & kPaddingMask) != 0 ? 1 : 0);
}

std::int32_t Mpeg12Length(const Byte* h, const Byte* first) {
    if (!IsFrameOfStream(h, {first[1], first[2], first[3]})) return 0;
    return FrameLengthOf({h[1], h[2], h[3]});
}

bool ChainAt(const std::vector<Byte>& bytes, std::size_t at, LengthRule rule) {
    const Byte* first = bytes.data() + at;
    for (int frame = 0; frame < kChainFrames; ++frame) {
        if (at + 4 > bytes.size()) return false;
        const std::int32_t length = rule(bytes.data() + at, first);
        if (length <= 0) return false;
        at += static_cast<std::size_t>(length);
    }
    return true;
}

// The bytes from offset on, as many as count where the file holds them.
std::vector<Byte> BytesFrom(const std::string& path, std::int64_t offset, std::int64_t count) {
    std::vector<Byte> bytes(static_cast<std::size_t>(count));
    const std::int32_t held = ReadAvailable(path, bytes.data(), static_cast<std::int32_t>(count), offset);
    bytes.resize(static_cast<std::size_t>(std::max(held, 0)));
    return bytes;
}

}  // namespace

bool HasMpeg25Chain(const std::string& path, std::int64_t from, std::int64_t to) {
    if (to <= from) return false;
    const std::vector<Byte> bytes = BytesFrom(path, from, to - from + kChainFrames * kLongestMpeg25Frame + 4);
    const auto starts = std::min(bytes.size(), static_cast<std::size_t>(to - from));
    for (std::size_t at = 0; at < starts; ++at)
        if (bytes[at] == 0xFF && ChainAt(bytes, at, Mpeg25Length)) return true;
    return false;
}

bool StartsFrameChain(const std::string& path, std::int64_t offset) {
    return offset >= 0 && ChainAt(BytesFrom(path, offset, kChainFrames * kLongestFrame + 4), 0, Mpeg12Length);
}

}  // namespace kalvor

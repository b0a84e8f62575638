#include "repack/gapless.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <vector>

#include "mpeg/file_read.h"
#include "mpeg/frame_walker.h"

namespace kalvor {
namespace {

// What was measured with ffmpeg 5.1 and mpg123 1.31 (--gapless), against the
// whole source decoded the same way:
//
// - Both decoders drop delay + 529 samples at the start of what the frames
//   after the header frame decode to, and stop at frames x spf - padding + 529,
//   frames being the header's count and spf the samples per frame; 529 is the
//   decoder's own delay (the synthesis filter bank).
// - Decoding a stream from frame k - 1 instead of from its start, only the first
//   997 samples differ: the first granule lacks the one before it to overlap
//   with, and the filter bank starts empty. Every sample from there on is the
//   source's. So a piece that carries c frames before its range, with
//   c x spf >= 997, decodes exactly from sample c x spf on, and its header's
//   delay is c x spf - 529: one frame for MPEG-1 (1152 samples), two for
//   MPEG-2 LSF (576 samples a frame).
// - mpg123 rounds a few samples one step apart when the count of frames it
//   decoded before them is odd in one decode and even in the other: measured
//   for MPEG-2 LSF and for mono MPEG-1, never for MPEG-1 with two channels. So
//   such a piece carries one more frame when that leaves an even count of
//   source frames before its first one: delay 623 or 1199 for LSF (576
//   samples a frame), 623 or 1775 for mono MPEG-1.
// - A frame decodes from itself and the frames before it only: nothing after
//   a piece's range is needed. The piece ends with its last frame's last
//   sample, frames x spf, so its padding is 529.
// - The first piece keeps the source's own delay and the last piece its own
//   padding. A source without a LAME header is decoded with nothing dropped,
//   as if its delay were -529 and its padding 529: its first piece needs no
//   figures, and its last piece's padding is 529.
constexpr std::int32_t kDecoderDelay = 529;
constexpr std::int32_t kDifferingSamples = 997;

}  // namespace

bool CarryDependsOnCount(const HeaderBytes& header) {
    const bool mono = (header[2] & kChannelModeMask) == kChannelModeMask;
    return IsLsfOf(header[0]) == 1 || mono;
}

int CarriedFrames(const HeaderBytes& header, std::int64_t framesBefore) {
    const int spf = SamplesPerFrame(header);
    int carried = (kDifferingSamples + spf - 1) / spf;
    if (CarryDependsOnCount(header) && framesBefore >= 0 && (framesBefore - carried) % 2 != 0) ++carried;
    if (framesBefore >= 0 && carried > framesBefore) carried = static_cast<int>(framesBefore);
    return carried;
}

GaplessTrim PieceTrim(const HeaderBytes& header, const std::optional<GaplessTrim>& source, int carried,
                      bool atSourceStart, bool atSourceEnd) {
    const std::int32_t spf = SamplesPerFrame(header);
    GaplessTrim trim;
    trim.Delay = atSourceStart ? (source ? source->Delay : 0) : std::max(carried * spf - kDecoderDelay, 0);
    trim.Padding = atSourceEnd && source ? source->Padding : kDecoderDelay;
    return trim;
}

namespace {

// The last count made, so that the pieces of one split, written one after
// another, walk their source once between them rather than once each.
struct CountMemo {
    std::string Path;
    std::int64_t Size = -1;
    std::filesystem::file_time_type Written;
    HeaderBytes Ref{0, 0, 0};
    std::int64_t From = -1, To = -1, Count = -1;
};

std::mutex memoMutex;
CountMemo memo;

std::int64_t CountChain(const std::string& path, const HeaderBytes& ref, std::int64_t from, std::int64_t to) {
    constexpr std::int64_t kBlock = 256 * 1024;
    // A short chain is read in one block of its own size.
    const auto blockBytes = static_cast<std::int32_t>(std::clamp<std::int64_t>(to - from, 4, kBlock));
    const PieceReader reader(path);
    std::vector<std::uint8_t> block(static_cast<std::size_t>(blockBytes) + 4);
    std::int64_t count = 0, blockStart = -1;
    std::int32_t blockSize = 0;
    for (std::int64_t at = from; at < to; ++count) {
        if (blockStart < 0 || at + 4 > blockStart + blockSize) {
            std::fill(block.begin(), block.end(), std::uint8_t{0});
            blockSize = reader.Read(block.data(), blockBytes, at);
            if (blockSize < 4) return -1;
            blockStart = at;
        }
        const std::uint8_t* p = block.data() + (at - blockStart);
        if (p[0] != 0xFF || (p[1] & 0xFE) != (ref[0] & 0xFE) || (p[2] & kSampleRateMask) != (ref[1] & kSampleRateMask))
            return -1;
        const std::int32_t length = FrameLengthOf({p[1], p[2], p[3]});
        if (length <= 0) return -1;
        at += length;
        if (at > to) return -1;
    }
    return count;
}

}  // namespace

std::int64_t CountFramesBetween(const std::string& path, const HeaderBytes& ref, std::int64_t from, std::int64_t to) {
    std::error_code ec;
    const std::int64_t size = static_cast<std::int64_t>(std::filesystem::file_size(path, ec));
    if (ec) return -1;
    const auto written = std::filesystem::last_write_time(path, ec);
    if (ec) return -1;
    const std::lock_guard<std::mutex> lock(memoMutex);
    const bool same = memo.Path == path && memo.Size == size && memo.Written == written && memo.Ref == ref &&
                      memo.From == from && memo.Count >= 0 && memo.To <= to;
    const std::int64_t more = same ? CountChain(path, ref, memo.To, to) : CountChain(path, ref, from, to);
    const std::int64_t count = more < 0 ? -1 : more + (same ? memo.Count : 0);
    memo = {path, size, written, ref, from, to, count};
    return count;
}

}  // namespace kalvor

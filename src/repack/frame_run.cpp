#include "repack/frame_run.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "mpeg/file_read.h"
#include "mpeg/frame_walker.h"

namespace kalvor {
namespace {

// The longest Layer III frame: 320 kbit/s at 32 kHz, with padding.
constexpr std::int64_t kLongestFrame = 1441;

// The length of a frame of ref's stream starting at p (4 bytes readable), else 0.
std::int32_t LengthAt(const std::uint8_t* p, const HeaderBytes& ref) {
    if (p[0] != 0xFF || (p[1] & 0xFE) != (ref[0] & 0xFE) || (p[2] & kSampleRateMask) != (ref[1] & kSampleRateMask))
        return 0;
    const HeaderBytes h{p[1], p[2], p[3]};
    return FrameLengthOf(h);
}

bool HoldsTag(const std::uint8_t* frame, std::int32_t length, const HeaderBytes& header) {
    const int at = XingHeaderOffset(header);
    const auto holds = [&](int offset, const char* name) {
        return offset + 4 <= length && std::memcmp(frame + offset, name, 4) == 0;
    };
    // A VBRI header always sits 32 bytes after the header.
    return holds(at, "Xing") || holds(at, "Info") || holds(36, "VBRI");
}

}  // namespace

std::optional<FrameRun> FrameRun::Read(const std::string& path, const HeaderBytes& ref, const RunPlace& place) {
    FrameRun run;
    const std::int64_t from = std::max(place.FirstFrame, place.Anchor - place.Back);
    const std::int64_t to = std::min(place.Limit, place.Anchor + place.Ahead * kLongestFrame);
    if (from > place.Anchor || to < place.Anchor) return std::nullopt;
    run.bytesOffset_ = from;
    run.bytes_.assign(static_cast<std::size_t>(to - from) + 3, 0);  // 3 spare bytes: a header is read as 4
    const std::int32_t want = static_cast<std::int32_t>(to - from);
    if (want > 0 && ReadAvailable(path, run.bytes_.data(), want, from) != want) return std::nullopt;
    const std::int64_t anchor = place.Anchor - from, end = to - from;
    const std::uint8_t* b = run.bytes_.data();

    // Which positions start a chain of frames that ends exactly at the anchor;
    // the earliest such position begins the run.
    std::vector<char> reaches(static_cast<std::size_t>(anchor) + 1, 0);
    reaches[static_cast<std::size_t>(anchor)] = 1;
    std::int64_t start = anchor;
    for (std::int64_t p = anchor - 1; p >= 0; --p) {
        const std::int32_t length = LengthAt(b + p, ref);
        if (length > 0 && p + length <= anchor && reaches[static_cast<std::size_t>(p + length)]) {
            reaches[static_cast<std::size_t>(p)] = 1;
            start = p;
        }
    }
    // The file's own first frame wins over any later chain start.
    if (from == place.FirstFrame && reaches[0]) start = 0;
    run.fromFileStart_ = start == 0 && from == place.FirstFrame;

    std::int64_t p = start;
    std::int32_t taken = 0;
    run.anchor_ = SIZE_MAX;
    for (;;) {
        if (p >= anchor && (taken >= place.Ahead || p >= end)) break;
        const std::int32_t length = p + 4 <= end + 3 ? LengthAt(b + p, ref) : 0;
        if (length <= 0 || p + length > end) break;
        const std::optional<SideInfo> side = ReadSideInfo(b + p, static_cast<std::size_t>(length));
        if (!side || side->AreaOffset() > length) break;
        RunFrame f;
        f.Offset = from + p;
        f.Length = length;
        f.Header = {b[p + 1], b[p + 2], b[p + 3]};
        f.Side = *side;
        f.AreaStart = static_cast<std::int64_t>(run.areas_.size());
        f.AreaSize = length - side->AreaOffset();
        f.HoldsTag = ::kalvor::HoldsTag(b + p, length, f.Header);
        run.areas_.insert(run.areas_.end(), b + p + side->AreaOffset(), b + p + length);
        if (p == anchor) run.anchor_ = run.frames_.size();
        run.frames_.push_back(f);
        if (p >= anchor) ++taken;
        p += length;
    }
    // The frames before the anchor must all have been read, or the run is no use.
    if (p < anchor) return std::nullopt;
    if (run.anchor_ == SIZE_MAX) run.anchor_ = run.frames_.size();
    return run;
}

bool FrameRun::DataWithin(std::size_t i) const {
    return frames_[i].DataStart() >= 0;
}

bool FrameRun::DataConsistent(std::size_t i) const {
    const RunFrame& f = frames_[i];
    if (f.Side.MainDataBits() == 0) return true;
    if (f.DataEnd() > f.AreaStart + f.AreaSize) return false;
    // Frames without data say nothing about where data goes.
    std::size_t before = i;
    while (before > 0 && frames_[before - 1].Side.MainDataBits() == 0) --before;
    return before == 0 || f.DataStart() >= frames_[before - 1].DataEnd();
}

std::vector<std::uint8_t> FrameRun::MainData(std::int64_t from, std::int64_t to) const {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(std::max<std::int64_t>(to - from, 0)), 0);
    const std::int64_t size = static_cast<std::int64_t>(areas_.size());
    for (std::int64_t p = std::max<std::int64_t>(from, 0); p < std::min(to, size); ++p)
        out[static_cast<std::size_t>(p - from)] = areas_[static_cast<std::size_t>(p)];
    return out;
}

std::vector<std::uint8_t> FrameRun::FrameHead(std::size_t i) const {
    const RunFrame& f = frames_[i];
    const auto at = bytes_.begin() + (f.Offset - bytesOffset_);
    return {at, at + f.Side.AreaOffset()};
}

}  // namespace kalvor

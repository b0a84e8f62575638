#include "levels/level_set.h"

#include <algorithm>

namespace kalvor {
namespace {

// The frame before a meeting point is decoded again only when it starts this
// close to it; further back lies junk, not a frame the cut may have ended in.
constexpr std::int64_t kFrameBeforeJoinBytes = 8192;

}  // namespace

LevelSet::LevelSet(int channels, std::int64_t stretchBytes, std::int64_t bytesPerFrame)
    : channels_(channels == 1 ? 1 : 2),
      stretchBytes_(std::max<std::int64_t>(stretchBytes, 1)),
      bytesPerFrame_(std::max<std::int64_t>(bytesPerFrame, 1)) {}

LevelSet::LevelSet(int channels, std::int64_t audioStart, std::int64_t audioEnd, std::int64_t stretchBytes,
                   std::int64_t bytesPerFrame)
    : LevelSet(channels, stretchBytes, bytesPerFrame) {
    audioStart_ = audioStart;
    AddPending(audioStart, audioEnd, false);
}

void LevelSet::AddPending(std::int64_t from, std::int64_t to, bool join) {
    while (from < to) {
        const std::int64_t next = join ? to : std::min(to, from + stretchBytes_);
        Stretch stretch{from, next, from, FrameTable(channels_), join, false};
        stretches_.push_back(std::move(stretch));
        from = next;
    }
}

// The part [from, to) of a stretch, moved by shift: its frames that start there
// and are decoded, and the rest still to decode.
void LevelSet::AddPart(const Stretch& source, std::int64_t from, std::int64_t to, std::int64_t shift) {
    Stretch part{from + shift, to + shift, from + shift, FrameTable(channels_), source.Join, false};
    const std::int64_t doneTo = std::clamp(source.DoneTo, from, to);
    part.DoneTo = doneTo + shift;
    if (doneTo > from) {
        source.Frames.Walk(source.Frames.LowerBound(from), source.Frames.Count(), [&](std::size_t i, std::int64_t at) {
            if (at >= doneTo) return false;
            part.Frames.Append(at + shift, source.Frames.PeakOf(i));
            return true;
        });
        part.Frames.ShrinkToFit();
    }
    stretches_.push_back(std::move(part));
}

std::unique_ptr<LevelSet> LevelSet::Splice(int channels, const std::vector<SplicePiece>& pieces,
                                           std::int64_t stretchBytes, std::int64_t bytesPerFrame) {
    std::unique_ptr<LevelSet> set(new LevelSet(channels, stretchBytes, bytesPerFrame));
    std::int64_t at = 0;
    for (const SplicePiece& piece : pieces) {
        const std::int64_t from = piece.SourceOffset, to = piece.SourceOffset + piece.Length;
        const std::int64_t shift = at - from;
        std::int64_t covered = from;
        if (piece.Source != nullptr) {
            const LevelSet& source = *piece.Source;
            std::lock_guard lock(source.mutex_);
            for (const Stretch& stretch : source.stretches_) {
                if (stretch.To <= covered || stretch.From >= to) continue;
                if (stretch.From > covered) set->AddPending(covered + shift, stretch.From + shift, false);
                covered = std::max(covered, stretch.From);
                const std::int64_t end = std::min(stretch.To, to);
                set->AddPart(stretch, covered, end, shift);
                covered = end;
            }
        }
        set->AddPending(covered + shift, to + shift, false);
        at += piece.Length;
    }
    return set;
}

std::size_t LevelSet::StretchAt(std::int64_t offset) const {
    const auto found = std::upper_bound(stretches_.begin(), stretches_.end(), offset,
                                        [](std::int64_t at, const Stretch& s) { return at < s.To; });
    if (found == stretches_.end() || found->From > offset) return stretches_.size();
    return static_cast<std::size_t>(found - stretches_.begin());
}

LevelProgress LevelSet::Progress() const {
    std::lock_guard lock(mutex_);
    LevelProgress progress;
    std::size_t frames = 0;
    for (const Stretch& stretch : stretches_) {
        progress.BytesTotal += stretch.To - stretch.From;
        progress.BytesDone += stretch.DoneTo - stretch.From;
        frames += stretch.Frames.Count();
    }
    progress.Failed = progress.Complete() && frames == 0 && progress.BytesTotal > 0;
    return progress;
}

std::size_t LevelSet::FrameCount() const {
    std::lock_guard lock(mutex_);
    std::size_t frames = 0;
    for (const Stretch& stretch : stretches_) frames += stretch.Frames.Count();
    return frames;
}

std::size_t LevelSet::MemoryBytes() const {
    std::lock_guard lock(mutex_);
    std::size_t bytes = stretches_.capacity() * sizeof(Stretch);
    for (const Stretch& stretch : stretches_) bytes += stretch.Frames.MemoryBytes();
    return bytes;
}

void LevelSet::RangePeaks(std::int64_t from, std::int64_t step, int count, std::vector<PeakPair>& out) const {
    RangePeakFill fill(from, step, count, out);
    if (count <= 0 || step <= 0) return;
    const std::int64_t until = fill.Until();
    std::lock_guard lock(mutex_);
    for (const Stretch& stretch : stretches_) {
        if (stretch.To <= from) continue;
        if (stretch.From >= until) break;
        const FrameTable& frames = stretch.Frames;
        // From the frame that reaches into the first range.
        const std::size_t first = frames.LowerBound(std::max(from, stretch.From));
        frames.Walk(first > 0 ? first - 1 : 0, frames.Count(), [&](std::size_t i, std::int64_t at) {
            fill.Frame(at, frames.PeakOf(i));
            return at < until;
        });
        // The last frame decoded reaches to the end of the stretch once it is
        // done; in a stretch being decoded the next frame is not known yet.
        fill.End(stretch.DoneTo >= stretch.To ? stretch.To : frames.LastOffset() + 1);
    }
}

void LevelSet::ForEachFrame(std::int64_t from, std::int64_t to,
                            const std::function<void(std::int64_t, PeakPair)>& visit) const {
    std::lock_guard lock(mutex_);
    for (const Stretch& stretch : stretches_) {
        if (stretch.To <= from) continue;
        if (stretch.From > to) break;
        const FrameTable& frames = stretch.Frames;
        frames.Walk(frames.LowerBound(std::max(from, stretch.From)), frames.Count(),
                    [&](std::size_t i, std::int64_t at) {
                        if (at > to) return false;
                        visit(at, frames.PeakOf(i));
                        return true;
                    });
    }
}

void LevelSet::MarkJoin(std::int64_t join) {
    std::lock_guard lock(mutex_);
    const std::size_t at = StretchAt(join);
    if (at == stretches_.size()) return;
    std::int64_t from = join;
    const std::size_t before = join > 0 ? StretchAt(join - 1) : stretches_.size();
    if (before < stretches_.size() && stretches_[before].DoneTo >= join) {
        const FrameTable& frames = stretches_[before].Frames;
        const std::size_t next = frames.LowerBound(join);
        if (next > 0) {
            const std::int64_t last = frames.OffsetOf(next - 1);
            if (join - last <= kFrameBeforeJoinBytes) from = last;
        }
    }
    MarkPending(from, JoinWindowEnd(at, join));
}

std::int64_t LevelSet::JoinWindowEnd(std::size_t stretch, std::int64_t join) const {
    std::size_t seen = 0;
    for (std::size_t s = stretch; s < stretches_.size(); ++s) {
        const Stretch& part = stretches_[s];
        std::int64_t found = -1;
        part.Frames.Walk(part.Frames.LowerBound(join), part.Frames.Count(), [&](std::size_t, std::int64_t at) {
            if (++seen > kJoinFrames && at >= join + kJoinBytes) found = at;
            return found < 0;
        });
        if (found >= 0) return found;
        // Past the frames decoded so far the stretch is still to decode anyway.
        if (part.DoneTo < part.To) return std::max(part.DoneTo, join + 1);
    }
    return stretches_.back().To;
}

void LevelSet::MarkPending(std::int64_t from, std::int64_t to) {
    if (stretches_.empty()) return;
    from = std::max(from, stretches_.front().From);
    to = std::min(to, stretches_.back().To);
    if (from >= to) return;
    std::vector<Stretch> old;
    old.swap(stretches_);
    stretches_.reserve(old.size() + 2);
    for (Stretch& stretch : old) {
        if (stretch.To <= from || stretch.From >= to) {
            stretches_.push_back(std::move(stretch));
            continue;
        }
        if (stretch.From < from) AddPart(stretch, stretch.From, from, 0);
        if (stretch.From <= from) AddPending(from, to, true);
        if (stretch.To > to) AddPart(stretch, to, stretch.To, 0);
    }
}

bool LevelSet::Claim(Work& work, bool joinsOnly) {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < stretches_.size(); ++i) {
        Stretch& stretch = stretches_[i];
        if (stretch.Claimed || stretch.DoneTo >= stretch.To || (joinsOnly && !stretch.Join)) continue;
        stretch.Claimed = true;
        const std::int64_t left = stretch.To - stretch.DoneTo;
        stretch.Frames.Reserve(stretch.Frames.Count() + static_cast<std::size_t>(left / bytesPerFrame_ + 1));
        work = {i, stretch.DoneTo, stretch.To, stretch.Join};
        return true;
    }
    return false;
}

void LevelSet::Publish(const Work& work, const DecodedFrames& frames, std::int64_t doneTo) {
    std::lock_guard lock(mutex_);
    Stretch& stretch = stretches_[work.Stretch];
    const std::size_t channels = static_cast<std::size_t>(channels_);
    for (std::size_t i = 0; i < frames.Offsets.size(); ++i) {
        const std::int64_t at = frames.Offsets[i];
        if (at < stretch.DoneTo || at >= stretch.To || at <= stretch.Frames.LastOffset()) continue;
        stretch.Frames.Append(at, &frames.Peaks[i * channels]);
    }
    stretch.DoneTo = std::max(stretch.DoneTo, std::min(doneTo, stretch.To));
}

void LevelSet::GiveUp() {
    std::lock_guard lock(mutex_);
    for (Stretch& stretch : stretches_) stretch.DoneTo = stretch.To;
}

void LevelSet::Release(const Work& work, bool finished) {
    std::lock_guard lock(mutex_);
    Stretch& stretch = stretches_[work.Stretch];
    stretch.Claimed = false;
    if (!finished) return;
    stretch.DoneTo = stretch.To;
    stretch.Frames.ShrinkToFit();
}

}  // namespace kalvor

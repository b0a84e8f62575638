#include "levels/level_set.h"

#include <algorithm>
#include <cstdlib>

namespace kalvor {

LevelSet::LevelSet(int channels, std::int64_t stretchBytes, std::int64_t bytesPerFrame)
    : channels_(channels == 1 ? 1 : 2),
      stretchBytes_(std::max<std::int64_t>(stretchBytes, 1)),
      bytesPerFrame_(std::max<std::int64_t>(bytesPerFrame, 1)) {}

LevelSet::LevelSet(int channels, std::int64_t audioStart, std::int64_t audioEnd, std::int64_t stretchBytes,
                   std::int64_t bytesPerFrame)
    : LevelSet(channels, stretchBytes, bytesPerFrame) {
    audioStart_ = audioStart;
    AddPending(audioStart, audioEnd);
}

void LevelSet::AddPending(std::int64_t from, std::int64_t to) {
    while (from < to) {
        const std::int64_t next = std::min(to, from + stretchBytes_);
        stretches_.push_back(Stretch{from, next, from, FrameTable(channels_), false});
        from = next;
    }
}

// The part [from, to) of a stretch, moved by shift: its frames that start there
// and are decoded, and the rest still to decode.
void LevelSet::AddPart(const Stretch& source, std::int64_t from, std::int64_t to, std::int64_t shift) {
    Stretch part{from + shift, to + shift, from + shift, FrameTable(channels_), false};
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

std::unique_ptr<LevelSet> LevelSet::Splice(int channels, const std::vector<SplicePiece>& pieces, std::int64_t audioEnd,
                                           std::int64_t stretchBytes, std::int64_t bytesPerFrame) {
    std::unique_ptr<LevelSet> set(new LevelSet(channels, stretchBytes, bytesPerFrame));
    std::int64_t covered = 0;  // of the new version
    for (const SplicePiece& piece : pieces) {
        const std::int64_t shift = piece.DestOffset - piece.SourceOffset;
        // Of the source: what lies beyond the part earlier pieces took.
        std::int64_t from = std::max(piece.SourceOffset, covered - shift);
        const std::int64_t to = std::min(piece.SourceOffset + piece.Length, audioEnd - shift);
        if (from >= to) continue;
        if (from + shift > covered) set->AddPending(covered, from + shift);
        if (piece.Source != nullptr) {
            const LevelSet& source = *piece.Source;
            std::lock_guard lock(source.mutex_);
            for (const Stretch& stretch : source.stretches_) {
                if (stretch.To <= from || stretch.From >= to) continue;
                if (stretch.From > from) set->AddPending(from + shift, stretch.From + shift);
                from = std::max(from, stretch.From);
                const std::int64_t end = std::min(stretch.To, to);
                set->AddPart(stretch, from, end, shift);
                from = end;
            }
        }
        set->AddPending(from + shift, to + shift);
        covered = to + shift;
    }
    set->AddPending(covered, audioEnd);
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

std::int64_t LevelSet::FrameNear(std::int64_t offset) const {
    std::lock_guard lock(mutex_);
    std::int64_t nearest = -1;
    const auto closer = [&](std::int64_t at) {
        if (nearest < 0 || std::abs(at - offset) < std::abs(nearest - offset)) nearest = at;
    };
    for (std::size_t s = StretchAt(offset), n = 0; s < stretches_.size() && n < 2; ++s, ++n) {
        const FrameTable& frames = stretches_[s].Frames;
        const std::size_t next = frames.LowerBound(offset);
        if (next < frames.Count()) closer(frames.OffsetOf(next));
        if (next > 0) closer(frames.OffsetOf(next - 1));
    }
    return nearest;
}

void LevelSet::MarkPending(std::int64_t from, std::int64_t to) {
    std::lock_guard lock(mutex_);
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
        if (stretch.From <= from) AddPending(from, to);
        if (stretch.To > to) AddPart(stretch, to, stretch.To, 0);
    }
}

bool LevelSet::Claim(Work& work, std::int64_t maxBytes) {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < stretches_.size(); ++i) {
        Stretch& stretch = stretches_[i];
        if (stretch.Claimed || stretch.DoneTo >= stretch.To || stretch.To - stretch.DoneTo > maxBytes) continue;
        stretch.Claimed = true;
        const std::int64_t left = stretch.To - stretch.DoneTo;
        stretch.Frames.Reserve(stretch.Frames.Count() + static_cast<std::size_t>(left / bytesPerFrame_ + 1));
        work = {i, stretch.DoneTo, stretch.To};
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

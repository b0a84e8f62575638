#include "repack/repack_plan.h"

#include <limits>
#include <optional>

#include "repack/join_window.h"

namespace kalvor {
namespace {

// How far before a place its frames are looked for: the frames a window may
// rewrite before a join and the frames their data reaches back into.
constexpr std::int32_t kBackBytes = 16 * 1024;
// The most frames a window rewrites on either side of a join.
constexpr std::size_t kMostBefore = 8;
constexpr std::size_t kMostAfter = 8;

// Ranges that follow each other in one file, as one.
struct Stretch {
    std::size_t Source = 0;
    std::int64_t From = 0, To = 0;
    std::optional<FrameRun> Head;           // its first frames, and the frames before them
    std::optional<FrameRun> Tail;           // its last frames
    std::int64_t CopyFrom = 0, CopyTo = 0;  // what is still copied as it is
    // Main-data bytes before the area of the frame at CopyFrom that the output
    // holds as the file does (that frame's main_data_begin, once a window has
    // put them there).
    std::int32_t IntactReach = 0;
    bool HeadDone = false;  // its start is settled by a window of an earlier join
    // The ranges it is made of: each one's index and first byte.
    std::vector<std::pair<std::size_t, std::int64_t>> Firsts;
    RepackPart WindowAfter{false, {}, {}, {}};
};

std::vector<Stretch> StretchesOf(const std::vector<RepackSource>& sources, const std::vector<RepackRange>& ranges) {
    std::vector<Stretch> out;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        const RepackRange& r = ranges[i];
        if (r.To <= r.From) continue;
        if (!out.empty() && out.back().Source == r.Source && out.back().To == r.From) {
            out.back().To = r.To;
            out.back().Firsts.emplace_back(i, r.From);
            continue;
        }
        Stretch s;
        s.Source = r.Source;
        s.From = r.From;
        s.To = r.To;
        s.Firsts.emplace_back(i, r.From);
        out.push_back(s);
    }
    for (Stretch& s : out) {
        const RepackSource& src = sources[s.Source];
        s.Head = FrameRun::Read(src.Path, src.Ref,
                                {src.FirstFrame, s.From, s.To, kBackBytes, static_cast<std::int32_t>(kMostAfter + 1)});
        s.Tail = FrameRun::Read(src.Path, src.Ref, {src.FirstFrame, s.To, s.To, kBackBytes, 0});
        s.CopyFrom = s.From;
        s.CopyTo = s.To;
    }
    return out;
}

// The frames of stretch s that a window of the join after it may rewrite.
void CollectBefore(const Stretch& s, JoinFrames& j) {
    if (!s.Tail) return;
    const std::vector<RunFrame>& frames = s.Tail->Frames();
    j.IntactFrom = std::numeric_limits<std::int64_t>::min();
    for (const RunFrame& f : frames)
        if (f.Offset == s.CopyFrom) j.IntactFrom = f.AreaStart - s.IntactReach;
    std::size_t first = frames.size();
    while (first > 0 && frames.size() - first < kMostBefore) {
        const RunFrame& f = frames[first - 1];
        if (f.Offset < s.CopyFrom || f.HoldsTag) break;
        --first;
    }
    for (std::size_t i = first; i < frames.size(); ++i) j.Before.push_back({&*s.Tail, i});
}

// The frames from the start of stretch first on, through the stretches after it
// when it is short; owners says which stretch each belongs to.
void CollectAfter(const std::vector<Stretch>& stretches, std::size_t first, JoinFrames& j,
                  std::vector<std::size_t>& owners) {
    for (std::size_t s = first; s < stretches.size(); ++s) {
        const Stretch& st = stretches[s];
        if (!st.Head) return;
        const std::vector<RunFrame>& frames = st.Head->Frames();
        std::size_t i = st.Head->AnchorIndex();
        if (i >= frames.size() || frames[i].Offset != st.From) return;
        for (; i < frames.size() && frames[i].Offset < st.To; ++i) {
            if (j.After.size() > kMostAfter) return;
            j.After.push_back({&*st.Head, i});
            owners.push_back(s);
        }
        const RunFrame& last = frames[i - 1];
        // Junk or a cut frame at the end of a stretch: what follows is not reached.
        if (last.Offset + last.Length != st.To) return;
        if (s + 1 == stretches.size()) j.AfterReachesEnd = true;
    }
}

// The ranges whose first frame a window rewrote, and where in it.
std::vector<RangeStart> StartsIn(const std::vector<Stretch>& stretches, std::size_t first, const JoinFrames& j,
                                 const std::vector<std::size_t>& owners, const JoinWindow& w) {
    std::vector<RangeStart> starts;
    const auto note = [&](const Stretch& s, const OutputFrame& frame, std::size_t index) {
        for (const auto& [range, from] : s.Firsts) {
            if (from == frame.Frame().Offset && index < w.FrameStarts.size())
                starts.push_back({range, static_cast<std::int64_t>(w.FrameStarts[index])});
        }
    };
    for (std::size_t k = w.FromBefore; k < j.Before.size(); ++k)
        note(stretches[first - 1], j.Before[k], k - w.FromBefore);
    for (std::size_t k = 0; k < w.AfterCount; ++k)
        note(stretches[owners[k]], j.After[k], j.Before.size() - w.FromBefore + k);
    return starts;
}

// Applies a window found at the join before stretch first (after stretch
// first - 1, or at the output's start).
void Apply(std::vector<Stretch>& stretches, std::size_t first, const JoinFrames& j,
           const std::vector<std::size_t>& owners, JoinWindow& w, RepackPart& window) {
    window.Starts = StartsIn(stretches, first, j, owners, w);
    if (w.FromBefore < j.Before.size()) stretches[first - 1].CopyTo = j.Before[w.FromBefore].Frame().Offset;
    if (w.AfterCount < j.After.size()) {
        const std::size_t owner = owners[w.AfterCount];
        for (std::size_t s = first; s < owner; ++s) stretches[s].CopyFrom = stretches[s].To;
        Stretch& next = stretches[owner];
        next.CopyFrom = j.After[w.AfterCount].Frame().Offset;
        next.IntactReach = j.After[w.AfterCount].Frame().Side.MainDataBegin;
        for (std::size_t s = first + 1; s <= owner; ++s) stretches[s].HeadDone = true;
    } else {
        for (std::size_t s = first; s < stretches.size(); ++s) {
            stretches[s].CopyFrom = stretches[s].To;
            stretches[s].HeadDone = true;
        }
    }
    window.Bytes = std::move(w.Bytes);
}

// Whether the audio frames read differ in bit rate: a stream may vary without
// a header that says so.
bool MixedRates(const std::vector<Stretch>& stretches) {
    int rate = -1;
    for (const Stretch& s : stretches)
        for (const std::optional<FrameRun>* run : {&s.Head, &s.Tail}) {
            if (!*run) continue;
            for (const RunFrame& f : (*run)->Frames()) {
                if (f.HoldsTag) continue;
                const int index = f.Header[1] >> 4;
                if (rate >= 0 && index != rate) return true;
                rate = index;
            }
        }
    return false;
}

}  // namespace

RepackPlan PlanRepack(const std::vector<RepackSource>& sources, const std::vector<RepackRange>& ranges) {
    RepackPlan plan;
    std::vector<Stretch> stretches = StretchesOf(sources, ranges);
    RepackPart atStart{false, {}, {}, {}};
    // The output's start, then every join, in order: a window settles the
    // frames after it before the next join is looked at.
    for (std::size_t first = 0; first < stretches.size(); ++first) {
        if (stretches[first].HeadDone) continue;
        JoinFrames j;
        if (first > 0) CollectBefore(stretches[first - 1], j);
        std::vector<std::size_t> owners;
        CollectAfter(stretches, first, j, owners);
        std::optional<JoinWindow> w = FindJoinWindow(j);
        if (!w) continue;
        ++plan.Windows;
        plan.Raised = plan.Raised || w->Raised;
        plan.Silenced += w->Silenced;
        Apply(stretches, first, j, owners, *w, first == 0 ? atStart : stretches[first - 1].WindowAfter);
    }
    plan.MixedRates = MixedRates(stretches);
    const auto written = [&plan](RepackPart& window) {
        if (!window.Bytes.empty()) plan.Parts.push_back(std::move(window));
    };
    written(atStart);
    for (Stretch& s : stretches) {
        if (s.CopyFrom < s.CopyTo) {
            RepackPart copied{true, {s.Source, s.CopyFrom, s.CopyTo}, {}, {}};
            for (const auto& [range, from] : s.Firsts)
                if (from >= s.CopyFrom && from < s.CopyTo) copied.Starts.push_back({range, from - s.CopyFrom});
            plan.Parts.push_back(std::move(copied));
        }
        written(s.WindowAfter);
    }
    return plan;
}

}  // namespace kalvor

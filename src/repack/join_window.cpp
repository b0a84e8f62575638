#include "repack/join_window.h"

#include "mpeg/frame_walker.h"
#include "repack/frame_crc.h"
#include "repack/window_layout.h"

namespace kalvor {
namespace {

constexpr int kHighestIndex = 14;

// A candidate window: the last `before` frames before the join and the first
// `after` frames from it, the first `silenced` of those made silent.
struct Choice {
    std::size_t Before = 0, After = 0, Silenced = 0;
};

bool Missing(const OutputFrame& f) {
    return !f.Run->DataWithin(f.Index) && f.Run->FromFileStart();
}

std::array<std::int32_t, 16> AreasOf(const RunFrame& f) {
    std::array<std::int32_t, 16> areas{};
    for (int index = 1; index <= kHighestIndex; ++index) {
        const HeaderBytes h{f.Header[0], static_cast<std::uint8_t>((f.Header[1] & 0x0F) | (index << 4)), f.Header[2]};
        areas[static_cast<std::size_t>(index)] = FrameLengthOf(h) - f.Side.AreaOffset();
    }
    return areas;
}

class WindowSearch {
   public:
    explicit WindowSearch(const JoinFrames& frames) : j_(frames) {}

    // The window frames of a choice, in output order.
    std::vector<OutputFrame> FramesOf(const Choice& c) const {
        std::vector<OutputFrame> out(j_.Before.end() - static_cast<std::ptrdiff_t>(c.Before), j_.Before.end());
        out.insert(out.end(), j_.After.begin(), j_.After.begin() + static_cast<std::ptrdiff_t>(c.After));
        return out;
    }

    // The problem a choice poses, or none when its frames cannot be repacked.
    std::optional<LayoutProblem> ProblemOf(const Choice& c) const {
        if (c.Before + c.After == 0 || c.Before > j_.Before.size() || c.After > j_.After.size()) return std::nullopt;
        LayoutProblem p;
        if (c.After < j_.After.size()) {
            const OutputFrame& next = j_.After[c.After];
            if (!next.Run->DataWithin(next.Index) || (next.Frame().HoldsTag && next.Frame().Side.MainDataBegin != 0))
                return std::nullopt;
            p.Tail = next.Frame().Side.MainDataBegin;
        } else if (!j_.AfterReachesEnd) {
            return std::nullopt;
        }
        const std::vector<OutputFrame> frames = FramesOf(c);
        const std::int64_t windowStart = frames.front().Frame().AreaStart;
        p.MaxBack = MaxMainDataBegin(frames.front().Frame().Header);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const OutputFrame& f = frames[i];
            const RunFrame& rf = f.Frame();
            const bool silenced = i >= c.Before && i - c.Before < c.Silenced;
            if (rf.HoldsTag || !f.Run->DataConsistent(f.Index)) return std::nullopt;
            if (!silenced && !f.Run->DataWithin(f.Index)) return std::nullopt;
            LayoutFrame lf;
            lf.DataLength = silenced ? 0 : rf.Side.MainDataBytes();
            if (i < c.Before && rf.DataStart() >= j_.IntactFrom) lf.KeptStart = rf.DataStart() - windowStart;
            lf.AreaOf = AreasOf(rf);
            lf.Index = rf.Header[1] >> 4;
            lf.MaxIndex = kHighestIndex;
            p.Frames.push_back(lf);
        }
        return p;
    }

    std::optional<JoinWindow> Try(const Choice& c, bool raise) const {
        const std::optional<LayoutProblem> problem = ProblemOf(c);
        if (!problem) return std::nullopt;
        const std::optional<WindowLayout> layout = LayOutWindow(*problem, raise);
        if (!layout) return std::nullopt;
        return Build(c, *problem, *layout);
    }

   private:
    JoinWindow Build(const Choice& c, const LayoutProblem& p, const WindowLayout& layout) const {
        const std::vector<OutputFrame> frames = FramesOf(c);
        std::vector<std::uint8_t> mainData(static_cast<std::size_t>(layout.Size), 0);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const RunFrame& rf = frames[i].Frame();
            const std::int32_t length = p.Frames[i].DataLength;
            const std::vector<std::uint8_t> data = frames[i].Run->MainData(rf.DataStart(), rf.DataStart() + length);
            for (std::int32_t q = 0; q < length; ++q) {
                const std::int64_t at = layout.DataStart[i] + q;
                if (at >= 0 && at < layout.Size)
                    mainData[static_cast<std::size_t>(at)] = data[static_cast<std::size_t>(q)];
            }
        }
        if (p.Tail > 0) {
            const OutputFrame& next = j_.After[c.After];
            const std::int64_t area = next.Frame().AreaStart;
            const std::vector<std::uint8_t> tail = next.Run->MainData(area - p.Tail, area);
            std::copy(tail.begin(), tail.end(), mainData.end() - p.Tail);
        }
        JoinWindow w;
        w.FromBefore = j_.Before.size() - c.Before;
        w.AfterCount = c.After;
        w.Silenced = static_cast<std::int32_t>(c.Silenced);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const RunFrame& rf = frames[i].Frame();
            std::vector<std::uint8_t> head = frames[i].Run->FrameHead(frames[i].Index);
            const int index = layout.Index[i];
            if (index != p.Frames[i].Index) w.Raised = true;
            head[2] = static_cast<std::uint8_t>((head[2] & 0x0F) | (index << 4));
            SideInfo side = rf.Side;
            if (p.Frames[i].DataLength == 0 && rf.Side.MainDataBits() > 0) SilenceGranules(head.data(), side);
            WriteMainDataBegin(head.data(), side, layout.MainDataBegin(i));
            StoreFrameCrc(head.data(), side);
            w.FrameStarts.push_back(w.Bytes.size());
            w.Bytes.insert(w.Bytes.end(), head.begin(), head.end());
            const auto area = mainData.begin() + layout.AreaStart[i];
            w.Bytes.insert(w.Bytes.end(), area, area + p.Frames[i].AreaOf[static_cast<std::size_t>(index)]);
        }
        return w;
    }

    const JoinFrames& j_;
};

}  // namespace

std::optional<JoinWindow> FindJoinWindow(const JoinFrames& frames) {
    if (frames.After.empty()) return std::nullopt;
    const OutputFrame& first = frames.After.front();
    if (first.Frame().Side.MainDataBegin == 0 && !Missing(first)) return std::nullopt;
    const WindowSearch search(frames);
    const std::size_t most = frames.Before.size() + frames.After.size();
    // Smallest window first; of equal ones, the one that rewrites fewer frames
    // after the join. Free room is used before any bit rate is raised, and
    // frames are made silent only when their data is missing for good (they
    // are silenced from the join on, as few as will do).
    const auto smallest = [&](std::size_t silenced, bool raise) -> std::optional<JoinWindow> {
        for (std::size_t n = 1; n <= most; ++n)
            for (std::size_t after = silenced; after <= n; ++after)
                if (auto w = search.Try({n - after, after, silenced}, raise)) return w;
        return std::nullopt;
    };
    for (const bool raise : {false, true})
        if (auto w = smallest(0, raise)) return w;
    for (std::size_t silenced = 1; silenced <= frames.After.size(); ++silenced)
        if (auto w = smallest(silenced, true)) return w;
    return std::nullopt;
}

}  // namespace kalvor

#include "repack/window_layout.h"

#include <algorithm>
#include <limits>

namespace kalvor {
namespace {

// The layout at the given indexes, or the frame whose rule it breaks (the last
// frame when only the tail does not fit).
struct Attempt {
    WindowLayout Layout;
    std::optional<std::size_t> Short;
};

Attempt TryIndexes(const LayoutProblem& p, const std::vector<int>& index) {
    Attempt a;
    WindowLayout& w = a.Layout;
    w.Index = index;
    std::int64_t area = 0;
    std::int64_t dataEnd = std::numeric_limits<std::int64_t>::min();
    for (std::size_t i = 0; i < p.Frames.size(); ++i) {
        const LayoutFrame& f = p.Frames[i];
        const std::int32_t room = f.AreaOf[static_cast<std::size_t>(index[i])];
        // Data already in place stays there while its frame can still reach it;
        // otherwise it is written into the window like any other.
        const bool kept =
            f.KeptStart && *f.KeptStart < 0 && *f.KeptStart >= dataEnd && area - *f.KeptStart <= p.MaxBack;
        const std::int64_t start = kept ? *f.KeptStart : std::max<std::int64_t>({dataEnd, area - p.MaxBack, 0});
        if (start > area || start + f.DataLength > area + room) a.Short = i;
        if (a.Short) return a;
        w.AreaStart.push_back(area);
        w.DataStart.push_back(start);
        dataEnd = start + f.DataLength;
        area += room;
    }
    w.Size = area;
    if (area - p.Tail < std::max<std::int64_t>(dataEnd, 0)) a.Short = p.Frames.size() - 1;
    return a;
}

}  // namespace

std::optional<WindowLayout> LayOutWindow(const LayoutProblem& problem, bool raise) {
    if (problem.Frames.empty()) return std::nullopt;
    std::vector<int> index;
    for (const LayoutFrame& f : problem.Frames) index.push_back(f.Index);
    for (;;) {
        Attempt a = TryIndexes(problem, index);
        if (!a.Short) return a.Layout;
        if (!raise) return std::nullopt;
        // The nearest frame at or before the shortage that can still grow.
        std::size_t i = *a.Short + 1;
        bool raised = false;
        while (i-- > 0 && !raised) {
            const LayoutFrame& f = problem.Frames[i];
            int next = index[i] + 1;
            while (next <= f.MaxIndex && f.AreaOf[static_cast<std::size_t>(next)] <= 0) ++next;
            if (next > f.MaxIndex) continue;
            index[i] = next;
            raised = true;
        }
        if (!raised) return std::nullopt;
    }
}

}  // namespace kalvor

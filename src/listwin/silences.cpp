#include "listwin/silences.h"

#include <algorithm>

#include "services/arith.h"

namespace kalvor {

std::vector<Silence> FindSilences(const LevelSource& levels, std::int64_t firstPos, std::int64_t lastPos,
                                  const SilenceRule& rule, const PosToMsFn& posToMs) {
    std::vector<Silence> silences;
    // Below the threshold means a code under the threshold's own.
    const LevelCode below = LevelCodeOfDb(rule.ThresholdDb);
    const double minMs = rule.MinSeconds * 1000.0;
    std::int64_t runFrom = 0;  // the first silent frame of the run, 0 outside one
    bool heard = false;        // a louder frame came before
    const auto close = [&](std::int64_t nextPos, bool trailing) {
        if (runFrom == 0) return;
        Silence silence{runFrom, nextPos - 1, posToMs(runFrom), posToMs(nextPos), !heard, trailing};
        if (silence.LengthMs() >= minMs) silences.push_back(silence);
        runFrom = 0;
    };
    levels.ForEachFrame(firstPos, lastPos, [&](const FrameLevel& frame) {
        if (frame.Peak.Max() < below) {
            if (runFrom == 0) runFrom = frame.Pos;
            return;
        }
        close(frame.Pos, false);
        heard = true;
    });
    close(lastPos + 1, true);
    return silences;
}

std::vector<std::int32_t> SilenceSplitPoints(const std::vector<Silence>& silences) {
    std::vector<std::int32_t> points;
    for (const Silence& silence : silences) {
        if (silence.Leading || silence.Trailing) continue;
        points.push_back(RoundHalfEven((static_cast<double>(silence.FromMs) + silence.ToMs) / 2));
    }
    return points;
}

int AddSplitPoints(ListRows& rows, const std::vector<std::int32_t>& points, std::int32_t durationMs) {
    int added = 0;
    for (const std::int32_t ms : points) {
        const std::vector<SplitMark> marks = rows.SplitMarks();
        if (std::any_of(marks.begin(), marks.end(), [&](const SplitMark& mark) { return mark.LocMs == ms; })) continue;
        rows.Add(ms, ms, durationMs);
        ++added;
    }
    return added;
}

}  // namespace kalvor

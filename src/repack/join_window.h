#pragma once
// The window of rewritten frames at one join of an output, or at its start.
// Given the frames the output holds before the join (as far back as they may be
// rewritten) and the frames from the join on, it finds the smallest window
// that gives every frame's main_data_begin its own main data back: first one
// that needs only the free room already there, then one where bit rates are
// raised, and, when even that fails because data is missing, one where the
// frames without data are made silent.
#include <cstdint>
#include <optional>
#include <vector>

#include "repack/frame_run.h"

namespace kalvor {

// One frame of the output, as a frame of a run.
struct OutputFrame {
    const FrameRun* Run = nullptr;
    std::size_t Index = 0;

    const RunFrame& Frame() const { return Run->Frames()[Index]; }
};

struct JoinFrames {
    // Frames before the join that may be rewritten, in output order; their data
    // is where the source had it from IntactFrom on (in their run's main-data
    // positions), so it need not be moved.
    std::vector<OutputFrame> Before;
    std::int64_t IntactFrom = 0;
    // Frames from the join on, in output order.
    std::vector<OutputFrame> After;
    // After holds the output's last frame at its end.
    bool AfterReachesEnd = false;
};

struct JoinWindow {
    std::size_t FromBefore = 0;            // the window starts with Before[FromBefore] (Before.size(): with After[0])
    std::size_t AfterCount = 0;            // After[0, AfterCount) are in the window; After[AfterCount] follows it
    std::vector<std::uint8_t> Bytes;       // the window's frames, rewritten
    std::vector<std::size_t> FrameStarts;  // where each of them starts in Bytes
    bool Raised = false;
    std::int32_t Silenced = 0;
};

// None when no window is needed (the first frame after the join starts its
// data in its own area) or none can be made from consistent frames.
std::optional<JoinWindow> FindJoinWindow(const JoinFrames& frames);

}  // namespace kalvor

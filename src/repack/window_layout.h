#pragma once
// Where the main data of a window of rewritten frames goes. A window is a run
// of consecutive frames of an output whose side information and main-data
// areas are written anew; the frames before it and after it are copied as they
// are. Positions here count main-data bytes from the window's first area byte:
// negative ones lie in the frames before the window, which are not rewritten.
//
// Each frame's data must start at or before its own area (main_data_begin is
// not negative), at most MaxBack bytes before it, and end within its own area:
// a decoder has no more when it decodes the frame. Data follows data in frame
// order. The frame after the window keeps its main_data_begin, so the last Tail
// bytes of the window must be the bytes its data starts with.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kalvor {

struct LayoutFrame {
    std::int32_t DataLength = 0;  // bytes of main data
    // Where the data starts when it is already in place: a negative position,
    // in the frames before the window, whose bytes hold it as the source did.
    // It stays there unless the frame could no longer reach it.
    std::optional<std::int64_t> KeptStart;
    // Main-data room of the frame at each bit-rate index; 0 where the index
    // cannot be used.
    std::array<std::int32_t, 16> AreaOf{};
    int Index = 0;     // the frame's bit-rate index as it comes
    int MaxIndex = 0;  // the highest it may be raised to (Index: not at all)
};

struct LayoutProblem {
    std::vector<LayoutFrame> Frames;
    std::int32_t Tail = 0;     // bytes the frame after the window reaches back into it
    std::int32_t MaxBack = 0;  // the largest main_data_begin
};

struct WindowLayout {
    std::vector<int> Index;               // bit-rate index of each frame
    std::vector<std::int64_t> AreaStart;  // of each frame's area
    std::vector<std::int64_t> DataStart;  // of each frame's data
    std::int64_t Size = 0;                // all areas together

    std::int32_t MainDataBegin(std::size_t frame) const {
        return static_cast<std::int32_t>(AreaStart[frame] - DataStart[frame]);
    }
};

// Lays the data out as early as the rules allow. With raise, frames that are
// short of room get higher bit-rate indexes, the one nearest the shortage
// first (more room before a frame leaves it at least as much room), up to
// their MaxIndex. None when the data does not fit.
std::optional<WindowLayout> LayOutWindow(const LayoutProblem& problem, bool raise);

}  // namespace kalvor

// DrawPicture computes the time line's drawing list in well under a millisecond.
//
// Builds the scene of draw_scene.h (1 920 pixels with their levels, 1 000
// blocks, 100 split points) and times DrawPicture into the same list over many
// warm runs with the steady clock, printing the fastest, median and slowest run
// and the size of the list; for comparison, the median when every call builds a
// new list. The view model asks the level source for the columns' peaks only
// when the view or the levels change; that call, over the 138 000 frames of a
// one-hour file shown whole, is timed too, and with DrawPicture it is what a
// zoom, a scroll or newly decoded levels cost.
// Run by hand: build/<dir>/bench/draw_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "draw_scene.h"
#ifdef KALVOR_HAVE_LEVELS
#include "levels/level_set.h"
#endif

namespace {

#ifdef KALVOR_HAVE_LEVELS
// The levels of a one-hour 128 kbit/s stereo file: 137 800 frames of 417 and 418 bytes.
std::unique_ptr<kalvor::LevelSet> HourOfLevels() {
    const std::int64_t audio = 57600000;
    auto set = std::make_unique<kalvor::LevelSet>(2, 0, audio, audio, 418);
    kalvor::LevelSet::Work work;
    set->Claim(work);
    kalvor::DecodedFrames frames;
    for (std::int64_t at = 0, i = 0; at < audio; at += (i % 3 == 0 ? 417 : 418), ++i) {
        frames.Offsets.push_back(at);
        const kalvor::LevelCode code = static_cast<kalvor::LevelCode>(150 + i % 100);
        frames.Peaks.insert(frames.Peaks.end(), {code, code});
    }
    set->Publish(work, frames, audio);
    set->Release(work, true);
    return set;
}
#endif

}  // namespace

int main() {
    using Clock = std::chrono::steady_clock;
    const kalvor::bench::DrawScene scene;
    constexpr int kRuns = 2000;
    std::vector<double> micros;
    micros.reserve(kRuns);
    // As the view model redraws: into the same list every time.
    kalvor::Drawing drawing;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = Clock::now();
        kalvor::DrawPicture(scene.Input, drawing);
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    const std::size_t ops = drawing.Ops.size();
    std::sort(micros.begin(), micros.end());
    std::vector<double> fresh;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = Clock::now();
        const kalvor::Drawing once = kalvor::DrawPicture(scene.Input);
        fresh.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(fresh.begin(), fresh.end());
    std::printf("DrawPicture into a new list each time (page faults of a fresh allocation): median %.1f us\n",
                fresh[fresh.size() / 2]);
    std::printf("DrawPicture, %d px, %zu shapes: fastest %.1f us, median %.1f us, slowest %.1f us (%d runs)\n",
                kalvor::bench::kViewPx, ops, micros.front(), micros[micros.size() / 2], micros.back(), kRuns);
    double columnsMedian = 0;
#ifdef KALVOR_HAVE_LEVELS
    const auto hour = HourOfLevels();
    std::vector<kalvor::PeakPair> columns;
    std::vector<double> peaks;
    for (int i = 0; i < 200; ++i) {
        const auto start = Clock::now();
        hour->RangePeaks(0, 57600000 / kalvor::bench::kViewPx, kalvor::bench::kViewPx, columns);
        peaks.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(peaks.begin(), peaks.end());
    columnsMedian = peaks[peaks.size() / 2];
    std::printf("RangePeaks, %zu frames into %d columns: fastest %.1f us, median %.1f us, slowest %.1f us (200 runs)\n",
                hour->FrameCount(), kalvor::bench::kViewPx, peaks.front(), columnsMedian, peaks.back());
#endif
    const double worst = micros[micros.size() / 2] + columnsMedian;
    std::printf("target: under 1000 us, levels asked anew included (%.1f us) -> %s\n", worst,
                worst < 1000.0 ? "met" : "MISSED");
    return 0;
}

// DrawPicture computes the time line's drawing list in well under a millisecond.
//
// Builds the scene of draw_scene.h (1 920 pixels, 1 000 blocks, 100 split points)
// and times DrawPicture into the same list over many warm runs with the steady
// clock, printing the fastest, median and slowest run and the size of the list;
// for comparison, the median when every call builds a new list.
// Run by hand: build/<dir>/bench/draw_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "draw_scene.h"

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
    std::printf("target: under 1000 us -> %s\n", micros[micros.size() / 2] < 1000.0 ? "met" : "MISSED");
    return 0;
}

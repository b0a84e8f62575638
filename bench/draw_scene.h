#pragma once
// The time line both drawing benchmarks measure: a one-hour 128 kbit/s file
// shown whole in a 1 920-pixel view (38 labels every 94 s and 3 600 one-second
// ticks), the levels of every pixel column behind them (loud and quiet
// stretches, a few silent ones), 1 000 paste blocks (2 000 blue bars), 100
// split points and a selection over a third of the view.
#include <cmath>
#include <cstdint>
#include <vector>

#include "listwin/list_rows.h"
#include "view/draw_picture.h"

namespace kalvor::bench {

inline constexpr std::int32_t kViewPx = 1920;
inline constexpr std::int32_t kT = 15;
inline constexpr std::int32_t kHeightTwips = 675;

struct DrawScene {
    std::vector<BlockRec> Blocks{BlockRec{}};
    ListRows Rows{ListMode::Split};
    std::vector<PeakPair> Levels;
    DrawInput Input;

    DrawScene() {
        const std::int32_t audio = 57600000;
        const std::int32_t duration = 3600000;
        for (int i = 1; i <= 1000; ++i) Blocks.push_back({i * 57000, i * 57000 + 20000});
        for (int i = 1; i <= 100; ++i) Rows.Add(i * 35000, 0, duration);
        for (int x = 0; x < kViewPx; ++x) {
            // -3 to -40 dBFS in waves, and every 200th column silent.
            const double db = x % 200 == 0 ? -120.0 : -3.0 - 37.0 * (0.5 + 0.5 * std::sin(x / 40.0));
            Levels.push_back({LevelCodeOfDb(db), LevelCodeOfDb(db - 2.0)});
        }
        Input.AudioLength = audio;
        Input.DurationMs = duration;
        Input.ViewWidthPx = kViewPx;
        Input.Scale = {0, audio / kViewPx, kT};
        Input.Width = kViewPx * kT;
        Input.Height = kHeightTwips;
        Input.SelStart = audio / 3;
        Input.SelEnd = audio / 3 * 2;
        Input.Blocks = &Blocks;
        Input.Rows = &Rows;
        Input.Levels = &Levels;
    }
};

}  // namespace kalvor::bench

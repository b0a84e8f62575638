#pragma once
// The time line both drawing benchmarks measure: a one-hour 128 kbit/s file
// shown whole in a 1 920-pixel view (38 labels every 94 s and 3 600 one-second
// ticks), 1 000 paste blocks (2 000 blue bars), 100 split points and a
// selection over a third of the view.
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
    DrawInput Input;

    DrawScene() {
        const std::int32_t audio = 57600000;
        const std::int32_t duration = 3600000;
        for (int i = 1; i <= 1000; ++i) Blocks.push_back({i * 57000, i * 57000 + 20000});
        for (int i = 1; i <= 100; ++i) Rows.Add(i * 35000, 0, duration);
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
    }
};

}  // namespace kalvor::bench

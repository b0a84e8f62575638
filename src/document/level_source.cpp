#include "document/level_source.h"

#include <algorithm>

#include "services/arith.h"

namespace kalvor {

LevelCode LevelCodeOfDb(double dbfs) {
    const double steps = std::clamp(2.0 * dbfs, -254.0, 0.0);
    return static_cast<LevelCode>(kFullScaleLevel + RoundHalfEven(steps));
}

double DbOfLevelCode(LevelCode code) {
    return (static_cast<double>(code) - kFullScaleLevel) / 2.0;
}

}  // namespace kalvor

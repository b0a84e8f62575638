#include "document/level_source.h"

#include <algorithm>
#include <cstddef>

#include "services/arith.h"

namespace kalvor {

LevelCode LevelCodeOfDb(double dbfs) {
    const double steps = std::clamp(2.0 * dbfs, -254.0, 0.0);
    return static_cast<LevelCode>(kFullScaleLevel + RoundHalfEven(steps));
}

double DbOfLevelCode(LevelCode code) {
    return (static_cast<double>(code) - kFullScaleLevel) / 2.0;
}

RangePeakFill::RangePeakFill(std::int64_t from, std::int64_t step, int count, std::vector<PeakPair>& out)
    : from_(from), step_(std::max<std::int64_t>(step, 1)), out_(out), lower_(from) {
    out_.assign(static_cast<std::size_t>(std::max(count, 0)), PeakPair{});
    until_ = from_ + step_ * static_cast<std::int64_t>(out_.size());
}

}  // namespace kalvor

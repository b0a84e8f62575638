#pragma once
// A document for the time line's tests: chosen lengths, a selection and blocks.
#include <cstdint>
#include <vector>

#include "view/time_line_source.h"

namespace kalvor::test {

class FakeTimeLine : public TimeLineSource {
   public:
    FakeTimeLine(std::int32_t audioLength = 0, std::int32_t durationMs = 0)
        : Audio(audioLength), Duration(durationMs) {}
    std::int32_t AudioLength() const override { return Audio; }
    std::int32_t DurationMs() const override { return Duration; }
    Selection& Sel() override { return Selected; }
    const std::vector<BlockRec>& Blocks() const override { return Records; }

    std::int32_t Audio;
    std::int32_t Duration;
    Selection Selected;
    std::vector<BlockRec> Records{BlockRec{}};  // slot 0 unused
};

}  // namespace kalvor::test

#pragma once
// A document for the time line's tests: chosen lengths, a leading tag, a selection and blocks.
#include <cstdint>
#include <vector>

#include "view/time_line_source.h"

namespace kalvor::test {

class FakeTimeLine : public TimeLineSource {
   public:
    FakeTimeLine(std::int32_t audioLength = 0, std::int32_t durationMs = 0, std::int32_t origin = 0)
        : Audio(audioLength), Duration(durationMs), Origin(origin) {}
    AudioTimeScale TimeScale() const override { return {Origin, Audio, Duration}; }
    Selection& Sel() override { return Selected; }
    const std::vector<BlockRec>& Blocks() const override { return Records; }

    std::int32_t Audio;
    std::int32_t Duration;
    std::int32_t Origin;  // bytes before the first frame
    Selection Selected;
    std::vector<BlockRec> Records{BlockRec{}};  // slot 0 unused
};

}  // namespace kalvor::test

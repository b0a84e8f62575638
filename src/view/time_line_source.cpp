#include "view/time_line_source.h"

#include "document/document.h"

namespace kalvor {

std::int32_t DocumentTimeLine::AudioLength() const {
    return document_.AudioLength();
}

std::int32_t DocumentTimeLine::DurationMs() const {
    return document_.DurationMs();
}

Selection& DocumentTimeLine::Sel() {
    return document_.Sel;
}

const std::vector<BlockRec>& DocumentTimeLine::Blocks() const {
    return document_.Blocks().Blocks();
}

}  // namespace kalvor

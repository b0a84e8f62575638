#include "view/time_line_source.h"

#include "document/document.h"

namespace kalvor {

AudioTimeScale DocumentTimeLine::TimeScale() const {
    return document_.TimeScale();
}

Selection& DocumentTimeLine::Sel() {
    return document_.Sel;
}

const std::vector<BlockRec>& DocumentTimeLine::Blocks() const {
    return document_.Blocks().Blocks();
}

}  // namespace kalvor

#include "tags/tag_updates.h"

namespace kalvor {

std::int32_t WrittenFile::LengthMs() {
    if (!lengthMs_) lengthMs_ = facts_.LengthMs ? facts_.LengthMs() : 0;
    return *lengthMs_;
}

std::string WrittenFile::TrackText() const {
    return std::to_string(facts_.Piece) + "/" + std::to_string(facts_.Pieces);
}

}  // namespace kalvor

#pragma once
// The tag layer: TagLib brings the fields of a written file's tags up to date.
#include "mpeg/tag_rewriter.h"

namespace kalvor {

class TagLibRewriter final : public TagRewriter {
   public:
    // TagLib's own notes on odd tags go nowhere: a damaged tag is no error here.
    TagLibRewriter();
    FileTags ForOutput(const FileTags& tags, const OutputFacts& facts) const override;
};

}  // namespace kalvor

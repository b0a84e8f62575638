#include "tags/taglib_rewriter.h"

#include <taglib/tdebuglistener.h>

#include "services/fault_trap.h"
#include "tags/tag_updates.h"

namespace kalvor {
namespace {

class QuietListener final : public TagLib::DebugListener {
   public:
    void printMessage(const TagLib::String&) override {}
};

std::optional<TagBytes> Updated(const TagBlock& block, WrittenFile& file, bool firstId3v2) {
    switch (block.Kind) {
        case TagKind::Id3v2: return UpdateId3v2(block.Bytes, file, firstId3v2);
        case TagKind::Apev2: return UpdateApe(block.Bytes, file);
        case TagKind::Id3v1: return UpdateId3v1(block.Bytes, file);
        case TagKind::Lyrics3: return block.Bytes;
    }
    return std::nullopt;
}

// A block that TagLib fails on in any way is left out: a save never fails for a tag.
void AddUpdated(const std::vector<TagBlock>& blocks, WrittenFile& file, bool& firstId3v2, std::vector<TagBlock>& out) {
    for (const TagBlock& block : blocks) {
        const auto bytes = Trapped(std::optional<TagBytes>(), [&] { return Updated(block, file, firstId3v2); });
        if (block.Kind == TagKind::Id3v2) firstId3v2 = false;
        if (bytes) out.push_back({block.Kind, *bytes});
    }
}

}  // namespace

TagLibRewriter::TagLibRewriter() {
    static QuietListener quiet;
    TagLib::setDebugListener(&quiet);
}

FileTags TagLibRewriter::ForOutput(const FileTags& tags, const OutputFacts& facts) const {
    FileTags out;
    WrittenFile file(facts);
    bool firstId3v2 = true;
    AddUpdated(tags.Leading, file, firstId3v2, out.Leading);
    AddUpdated(tags.Trailing, file, firstId3v2, out.Trailing);
    return out;
}

}  // namespace kalvor

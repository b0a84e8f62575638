#include <taglib/apefooter.h>
#include <taglib/apetag.h>

#include "tags/bytes_file.h"
#include "tags/tag_updates.h"

namespace kalvor {
namespace {

constexpr unsigned kFooterSize = 32;

}  // namespace

std::optional<TagBytes> UpdateApe(const TagBytes& bytes, WrittenFile& file) {
    if (bytes.size() < kFooterSize) return std::nullopt;
    BytesFile source(bytes);
    TagLib::APE::Tag tag(&source, static_cast<long>(bytes.size() - kFooterSize));
    if (tag.footer()->completeTagSize() != bytes.size()) return std::nullopt;
    if (!file.IsPiece()) return bytes;
    // Keys match without regard to case; an existing one keeps its spelling.
    const auto& items = tag.itemListMap();
    const auto it = items.find("TRACK");
    const TagLib::String key = it != items.end() ? it->second.key() : TagLib::String("Track");
    tag.addValue(key, TagLib::String(file.TrackText()), true);
    return BytesOf(tag.render());
}

}  // namespace kalvor

#include <taglib/id3v1tag.h>

#include "mpeg/byte_fields.h"
#include "tags/bytes_file.h"
#include "tags/tag_updates.h"

namespace kalvor {
namespace {

constexpr int kLargestTrack = 255;

}  // namespace

std::optional<TagBytes> UpdateId3v1(const TagBytes& bytes, WrittenFile& file) {
    if (bytes.size() != static_cast<std::size_t>(kId3v1Size) || !IsId3v1Tag(bytes.data())) return std::nullopt;
    if (!file.IsPiece() || file.Piece() > kLargestTrack) return bytes;
    BytesFile source(bytes);
    TagLib::ID3v1::Tag tag(&source, 0);
    tag.setTrack(static_cast<unsigned>(file.Piece()));
    return BytesOf(tag.render());
}

}  // namespace kalvor

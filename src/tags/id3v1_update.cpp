#include <taglib/id3v1tag.h>

#include "tags/bytes_file.h"
#include "tags/tag_updates.h"

namespace kalvor {
namespace {

constexpr std::size_t kId3v1Size = 128;
constexpr int kLargestTrack = 255;

}  // namespace

std::optional<TagBytes> UpdateId3v1(const TagBytes& bytes, WrittenFile& file) {
    if (bytes.size() != kId3v1Size || bytes[0] != 'T' || bytes[1] != 'A' || bytes[2] != 'G') return std::nullopt;
    if (!file.IsPiece() || file.Piece() > kLargestTrack) return bytes;
    BytesFile source(bytes);
    TagLib::ID3v1::Tag tag(&source, 0);
    tag.setTrack(static_cast<unsigned>(file.Piece()));
    return BytesOf(tag.render());
}

}  // namespace kalvor

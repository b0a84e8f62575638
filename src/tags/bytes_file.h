#pragma once
// A tag's bytes as a TagLib file, for TagLib's tag classes, which read their
// tag from a file at an offset.
#include <taglib/tbytevectorstream.h>
#include <taglib/tfile.h>

#include <cstdint>
#include <vector>

namespace kalvor {

namespace detail {
// Built before the file that reads from it.
struct ByteStreamHolder {
    explicit ByteStreamHolder(const std::vector<std::uint8_t>& bytes);
    TagLib::ByteVectorStream Stream;
};
}  // namespace detail

class BytesFile : private detail::ByteStreamHolder, public TagLib::File {
   public:
    explicit BytesFile(const std::vector<std::uint8_t>& bytes);
    TagLib::Tag* tag() const override { return nullptr; }
    TagLib::AudioProperties* audioProperties() const override { return nullptr; }
    bool save() override { return false; }
};

// TagLib bytes as ours, and ours as TagLib's.
std::vector<std::uint8_t> BytesOf(const TagLib::ByteVector& bytes);

}  // namespace kalvor

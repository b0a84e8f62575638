#include "tags/bytes_file.h"

namespace kalvor {
namespace {

TagLib::ByteVector ByteVectorOf(const std::vector<std::uint8_t>& bytes) {
    return TagLib::ByteVector(reinterpret_cast<const char*>(bytes.data()), static_cast<unsigned int>(bytes.size()));
}

}  // namespace

detail::ByteStreamHolder::ByteStreamHolder(const std::vector<std::uint8_t>& bytes) : Stream(ByteVectorOf(bytes)) {}

BytesFile::BytesFile(const std::vector<std::uint8_t>& bytes) : detail::ByteStreamHolder(bytes), TagLib::File(&Stream) {}

std::vector<std::uint8_t> BytesOf(const TagLib::ByteVector& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return std::vector<std::uint8_t>(data, data + bytes.size());
}

}  // namespace kalvor

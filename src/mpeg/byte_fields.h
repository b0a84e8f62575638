#pragma once
// The byte-level rules of MPEG audio files and the tags around them, in one
// place: multi-byte numbers in either byte order, ID3v2's synchsafe sizes, and
// the ids that mark ID3 tags and a Xing/Info header. Callers check that
// the bytes are there before reading them.
#include <algorithm>
#include <cstdint>
#include <string_view>

namespace kalvor {

// An ID3v1 tag: 128 bytes starting "TAG", at a file's end.
inline constexpr std::int32_t kId3v1Size = 128;

// Whether the bytes at p begin with text, byte for byte.
constexpr bool BytesMatch(const std::uint8_t* p, std::string_view text) {
    return std::equal(text.begin(), text.end(), p,
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

// "TAG": an ID3v1 tag starts at p (3 bytes).
constexpr bool IsId3v1Tag(const std::uint8_t* p) {
    return BytesMatch(p, "TAG");
}

// "ID3": an ID3v2 tag's header starts at p (3 bytes); its size follows at p + 6.
constexpr bool IsId3v2Tag(const std::uint8_t* p) {
    return BytesMatch(p, "ID3");
}

// "Xing" or "Info" (the same header for a constant bit rate) starts at p (4 bytes).
constexpr bool IsXingTag(const std::uint8_t* p) {
    return BytesMatch(p, "Xing") || BytesMatch(p, "Info");
}

// Most significant byte first.
constexpr std::uint16_t BigEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
constexpr std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
constexpr void PutBigEndian16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}
constexpr void PutBigEndian32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

// Least significant byte first (RIFF/WAVE).
constexpr std::uint16_t LittleEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
constexpr std::uint32_t LittleEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

// An ID3v2 size: four bytes of seven bits each, most significant first (0..2^28 - 1).
constexpr std::int32_t SynchsafeSize(const std::uint8_t* p) {
    return ((p[0] & 0x7F) << 21) | ((p[1] & 0x7F) << 14) | ((p[2] & 0x7F) << 7) | (p[3] & 0x7F);
}

}  // namespace kalvor

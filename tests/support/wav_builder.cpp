#include "support/wav_builder.h"

#include "support/frame_builder.h"

namespace kalvor::test {

Bytes LittleU32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}

Bytes LittleU16(std::uint16_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
}

Bytes ChunkId(const char* four) {
    return Bytes(four, four + 4);
}

Bytes RiffHeader() {
    return ChunkId("RIFF") + LittleU32(0) + ChunkId("WAVE");
}

Bytes FmtChunk(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    return ChunkId("fmt ") + LittleU32(16) + LittleU16(tag) + LittleU16(channels) + LittleU32(rate) +
           LittleU32(rate * align) + LittleU16(align) + LittleU16(bits);
}

Bytes DataChunkHead(std::uint32_t size) {
    return ChunkId("data") + LittleU32(size);
}

}  // namespace kalvor::test

#include "repack/frame_crc.h"

namespace kalvor {
namespace {

std::uint16_t Feed(std::uint16_t crc, std::uint8_t byte) {
    crc = static_cast<std::uint16_t>(crc ^ (byte << 8));
    for (int bit = 0; bit < 8; ++bit) crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x8005 : crc << 1);
    return crc;
}

}  // namespace

std::uint16_t FrameCrc(const std::uint8_t* frame, const SideInfo& side) {
    std::uint16_t crc = 0xFFFF;
    crc = Feed(crc, frame[2]);
    crc = Feed(crc, frame[3]);
    for (int i = 0; i < side.Size; ++i) crc = Feed(crc, frame[side.HeaderSize + i]);
    return crc;
}

void StoreFrameCrc(std::uint8_t* frame, const SideInfo& side) {
    if (side.HeaderSize != 6) return;
    const std::uint16_t crc = FrameCrc(frame, side);
    frame[4] = static_cast<std::uint8_t>(crc >> 8);
    frame[5] = static_cast<std::uint8_t>(crc);
}

}  // namespace kalvor

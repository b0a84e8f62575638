#pragma once
// The CRC word of a protected Layer III frame: CRC-16 with polynomial 0x8005,
// most significant bit first, starting from 0xFFFF, over the header's last two
// bytes and the side information; stored big-endian right after the header.
// Rewriting a protected frame's bit-rate index or side information means
// computing it again.
#include <cstdint>

#include "repack/side_info.h"

namespace kalvor {

std::uint16_t FrameCrc(const std::uint8_t* frame, const SideInfo& side);

// Stores FrameCrc in the frame when it is protected; leaves others alone.
void StoreFrameCrc(std::uint8_t* frame, const SideInfo& side);

}  // namespace kalvor

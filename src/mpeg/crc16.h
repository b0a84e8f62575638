#pragma once
// The 16-bit CRC that encoders store in the LAME extension of a Xing header:
// polynomial 0x8005 processed least significant bit first (0xA001 reflected),
// starting from 0, no final inversion. It is linear, so a long run can be fed
// in pieces: Crc16(b, n, Crc16(a, m)) equals the CRC of a followed by b.
#include <cstddef>
#include <cstdint>

namespace kalvor {

std::uint16_t Crc16(const std::uint8_t* data, std::size_t count, std::uint16_t crc = 0);

// The same, one byte at a time from the table; what Crc16 is checked against.
std::uint16_t Crc16Bytewise(const std::uint8_t* data, std::size_t count, std::uint16_t crc = 0);

}  // namespace kalvor

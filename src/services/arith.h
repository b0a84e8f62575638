#pragma once
// The two arithmetic rules every conversion in kalvor follows, spelled once:
// reals become integers by rounding to nearest with ties to even, and integer
// results are signed 32-bit values that wrap around instead of trapping.
#include <cfenv>
#include <cmath>
#include <cstdint>

namespace kalvor {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4), wrapped into 32 bits.
// Callers keep their values in range; wrapping only defines what happens if not.
std::int32_t RoundHalfEven(double value);

// The low 32 bits of value as a signed number (two's complement wrap-around).
constexpr std::int32_t Wrap32(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

constexpr std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return Wrap32(static_cast<std::int64_t>(a) + b);
}
constexpr std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
    return Wrap32(static_cast<std::int64_t>(a) - b);
}
constexpr std::int32_t WrapMul(std::int32_t a, std::int32_t b) {
    return Wrap32(static_cast<std::int64_t>(a) * b);
}

}  // namespace kalvor

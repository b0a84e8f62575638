#include "listwin/time_text_pos.h"

#include <charconv>
#include <stdexcept>

#include "services/arith.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

// The whole field must be the number; anything else is a fault of the text.
template <class T>
T FieldValue(const std::string& text, std::size_t first, std::size_t count) {
    T value{};
    const char* begin = text.data() + first;
    const char* end = begin + count;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end) throw std::invalid_argument("time text field is not a number");
    return value;
}

}  // namespace

std::int32_t TimeTextToBytePos(const std::string& text, const AudioTimeScale& scale) {
    return Trapped(std::int32_t{0}, [&]() -> std::int32_t {
        if (text.size() != 10) return 0;
        const double minutes = FieldValue<double>(text, 0, 3);
        const std::int32_t seconds = FieldValue<std::int32_t>(text, 4, 2);
        const std::int32_t millis = FieldValue<std::int32_t>(text, 7, 3);
        const std::int32_t ms = WrapAdd(WrapAdd(RoundHalfEven(minutes * 60000.0), seconds * 1000), millis);
        if (scale.DurationMs == 0) throw std::domain_error("document without duration");
        return scale.MsToPos(ms);
    });
}

}  // namespace kalvor

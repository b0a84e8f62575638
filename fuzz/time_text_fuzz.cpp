// The time-text formatter and parser: every count formats without a fault,
// the standard layout reads back to the count it was made from, and any text
// parses without a fault.
#include <cstdint>
#include <limits>

#include "fuzz_support.h"
#include "services/time_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kalvor::fuzz::Require;
    kalvor::fuzz::InputCursor in(data, size);
    const int mode = in.Byte() % 15;  // two past the last layout: those give ""
    const bool allowNegative = (in.Byte() & 1) != 0;
    const auto ms = static_cast<std::int32_t>(in.Number(4));
    const std::string text = kalvor::MsToTimeText(ms, mode, allowNegative);
    Require(mode > 12 || !text.empty(), "every layout gives a text");
    if (mode == 0 && (ms >= 0 || (allowNegative && ms != std::numeric_limits<std::int32_t>::min()))) {
        std::int32_t success = 0;
        Require(kalvor::TimeTextToMs(text, true, &success) == ms && success == 1,
                "the standard layout reads back to its count");
    }
    const std::string any(reinterpret_cast<const char*>(in.Rest()), in.RestSize());
    std::int32_t success = 0;
    const std::int32_t back = kalvor::TimeTextToMs(any, true, &success);
    // A text of at most one character reads as 0 without success.
    Require(success == 1 || back == -1 || back == 0, "a text that fails gives -1 or 0");
    kalvor::IsNumericText(any);
    return 0;
}

#include "services/time_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>
#include <string_view>

#include "services/arith.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

std::string Padded(std::int64_t value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", width, static_cast<long long>(value));
    return text;
}

// Whole fields of a non-negative count; integer division of counts below 2^32 is
// exactly the floor of the real quotient, so this matches dividing and rounding down.
struct Fields {
    std::int64_t hours, totalMinutes, minutes, totalSeconds, seconds, millis, hundredths, tenths;
};

Fields FieldsOf(std::int64_t v) {
    return {v / 3600000, v / 60000, v / 60000 % 60, v / 1000, v / 1000 % 60, v % 1000, v / 10 % 100, v / 100 % 10};
}

std::optional<std::string> Layout(const Fields& f, int mode) {
    const std::string mm = Padded(f.minutes, 2), ss = Padded(f.seconds, 2), mmm = Padded(f.millis, 3),
                      hh = Padded(f.hundredths, 2), t = Padded(f.tenths, 1), hours2 = Padded(f.hours, 2);
    switch (mode) {
        case 0: return Padded(f.totalMinutes, 3) + "'" + ss + "." + mmm;
        case 1: return Padded(f.totalMinutes, 2) + "'" + ss + "." + t;
        case 2: return hours2 + ":" + mm + ":" + ss;
        case 3: return Padded(f.hours, 1) + ":" + mm + ":" + ss + "." + t;
        case 4: return Padded(f.totalMinutes, 2) + ":" + ss;
        case 5: return Padded(f.totalSeconds, 3) + "." + mmm;
        case 6: return Padded(f.totalSeconds, 3) + "." + hh;
        case 7: return Padded(f.totalMinutes, 2) + ":" + ss + "." + mmm;
        case 8: return hours2 + ":" + mm + ":" + ss + "." + t;
        case 9: return hours2 + ":" + mm + ":" + ss + "." + hh;
        case 10: return hours2 + ":" + mm + ":" + ss + "." + mmm;
        case 11: return hours2 + "時" + mm + "分" + ss + "秒";
        case 12: return hours2 + mm + ss;
        default: return std::nullopt;
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSeparator(char c) {
    return c == '.' || c == ':' || c == '\'' || c == '"';
}

// Characters, not bytes: UTF-8 continuation bytes do not start one.
std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

std::optional<std::int32_t> InRange(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// A plain number of seconds. The count passes through single precision, as the
// times always have; the product with 1000 is taken exactly.
std::optional<std::int32_t> SecondsToMs(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (*first == '+') ++first;
    float seconds = 0.0f;
    const auto [end, error] = std::from_chars(first, last, seconds, std::chars_format::fixed);
    if (end != last) return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // Too small for a float (no whole seconds) is zero; too large is no time at all.
        const std::string_view whole(first, static_cast<std::size_t>(std::find(first, last, '.') - first));
        if (whole.find_first_of("123456789") != std::string_view::npos) return std::nullopt;
        seconds = 0.0f;
    } else if (error != std::errc()) {
        return std::nullopt;
    }
    const double ms = static_cast<double>(seconds) * 1000.0;
    if (!(ms > -2147483648.5 && ms < 2147483647.5)) return std::nullopt;
    return RoundHalfEven(ms);
}

struct Counts {
    int separators = 0, colons = 0;
};

std::optional<Counts> CountSeparators(const std::string& body) {
    Counts counts;
    for (char c : body) {
        if (IsSeparator(c)) ++counts.separators;
        if (c == ':') ++counts.colons;
        if (!IsSeparator(c) && !IsDigit(c)) return std::nullopt;
    }
    return counts;
}

// The value of a group: digits, perhaps with the text's trailing ".".
std::optional<std::int64_t> GroupValue(const std::string& group, int* digits) {
    std::int64_t value = 0;
    *digits = 0;
    for (char c : group) {
        if (!IsDigit(c)) continue;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
        ++*digits;
    }
    return value;
}

enum Slot { kHours, kMinutes, kSeconds, kFraction, kSlots };

std::optional<std::int32_t> ReadGroups(const std::string& text) {
    std::int64_t sign = 1;
    std::string body = text;
    if (body.front() == '-') {
        sign = -1;
        body.erase(0, 1);
    }
    const std::optional<Counts> counts = CountSeparators(body);
    if (!counts) return std::nullopt;
    const bool withHours =
        counts->separators >= 3 || counts->colons >= 2 || (counts->colons == 1 && counts->separators == 1);
    std::array<std::optional<std::int64_t>, kSlots> slots;
    int next = withHours ? kHours : kMinutes;
    std::string group;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const bool lastCharacter = i + 1 == body.size();
        if (lastCharacter || !IsSeparator(body[i])) group += body[i];
        if (!lastCharacter && !IsSeparator(body[i])) continue;
        if (!IsNumericText(group)) return std::nullopt;
        if (next < kSlots) {
            int digits = 0;
            std::optional<std::int64_t> value = GroupValue(group, &digits);
            if (!value) return std::nullopt;
            if (next == kFraction) *value *= digits == 1 ? 100 : digits == 2 ? 10 : 1;
            slots[next++] = value;
        }
        group.clear();
    }
    if (!slots[kMinutes] && !slots[kSeconds] && !slots[kFraction]) return std::nullopt;
    const std::int64_t total = slots[kHours].value_or(0) * 3600000 + slots[kMinutes].value_or(0) * 60000 +
                               slots[kFraction].value_or(0) + slots[kSeconds].value_or(0) * 1000;
    return InRange(sign * total);
}

}  // namespace

bool IsNumericText(const std::string& text) {
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    int digits = 0, points = 0;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++digits;
        } else if (text[i] == '.' && points == 0) {
            ++points;
        } else {
            return false;
        }
    }
    return digits > 0;
}

std::string MsToTimeText(std::int32_t ms, int mode, bool allowNegative) {
    return Trapped(std::string(), [&] {
        const bool negative = ms < 0 && allowNegative;
        // The magnitude of the most negative count needs 33 bits.
        const std::int64_t value = ms >= 0 ? ms : negative ? -static_cast<std::int64_t>(ms) : 0;
        const std::optional<std::string> text = Layout(FieldsOf(value), mode);
        if (!text) return std::string();
        return negative ? "-" + *text : *text;
    });
}

std::int32_t TimeTextToMs(const std::string& text, bool failAsMinusOne, std::int32_t* success) {
    std::optional<std::int32_t> result;
    bool tooShort = false;
    TrappedRun([&] {
        if (IsNumericText(text)) {
            result = SecondsToMs(text);
        } else if (CharacterCount(text) <= 1) {
            tooShort = true;
        } else {
            result = ReadGroups(text);
        }
    });
    if (tooShort) return 0;
    if (!result) return failAsMinusOne ? -1 : 0;
    if (success) *success = 1;
    return *result;
}

}  // namespace kalvor

#pragma once
// Texts whose digits depend on the moment they were made (time stamps, file
// times) are checked by their shape.
#include <string>

namespace kalvor::test {

// true when text is as long as pattern, stands on a digit wherever the pattern
// has '#', and equals the pattern everywhere else: HasShape(stamp, "####/##/##").
inline bool HasShape(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == '#' ? !digit : text[i] != pattern[i]) return false;
    }
    return true;
}

}  // namespace kalvor::test

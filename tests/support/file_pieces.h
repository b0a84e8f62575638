#pragma once
// Byte ranges and joined files, for comparing what an output wrote with the
// audio of the file it came from.
#include <cstdint>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace kalvor::test {

// Bytes from..to (1-based, inclusive) of a file.
inline Bytes Span(const std::string& path, std::int32_t from, std::int32_t to) {
    return ReadRange(path, static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
}

// The files' bytes one after another.
inline Bytes Concatenation(const std::vector<std::string>& files) {
    Bytes all;
    for (const auto& file : files) {
        const Bytes bytes = ReadFile(file);
        all.insert(all.end(), bytes.begin(), bytes.end());
    }
    return all;
}

}  // namespace kalvor::test

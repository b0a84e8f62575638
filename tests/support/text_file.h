#pragma once
// Whole files as text, for tests that write settings files and scripts by hand
// and read back what the program wrote.
#include <fstream>
#include <sstream>
#include <string>

namespace kalvor::test {

// The file's bytes as text; empty when it cannot be read.
inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Replaces the file's content with text, byte for byte.
inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace kalvor::test

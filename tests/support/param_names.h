#pragma once
// Names for parameterised test cases.
#include <string>

namespace kalvor::test {

// A file name as a test name: "cbr128_tags.mp3" -> "cbr128_tags_mp3".
inline std::string TestNameOfFile(std::string file) {
    for (char& c : file)
        if (c == '.' || c == '-') c = '_';
    return file;
}

}  // namespace kalvor::test

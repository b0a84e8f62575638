#include "support/frame_cut.h"

#include <stdexcept>

#include "support/frame_builder.h"

namespace kalvor::test {

std::vector<std::size_t> FrameOffsets(const Bytes& file) {
    std::vector<std::size_t> offsets;
    std::size_t at = 0;
    while (at + 4 <= file.size() && file[at] == 0xFF) {
        const int length = FrameLengthOfHeader(file[at + 1], file[at + 2]);
        if (length <= 0 || at + static_cast<std::size_t>(length) > file.size()) break;
        offsets.push_back(at);
        at += static_cast<std::size_t>(length);
    }
    if (offsets.empty()) throw std::invalid_argument("no frame at the start");
    offsets.push_back(at);
    return offsets;
}

Bytes DropFrames(const Bytes& file, std::size_t first, std::size_t last) {
    const std::vector<std::size_t> at = FrameOffsets(file);
    Bytes out(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(at[first]));
    out.insert(out.end(), file.begin() + static_cast<std::ptrdiff_t>(at[last]), file.end());
    return out;
}

}  // namespace kalvor::test

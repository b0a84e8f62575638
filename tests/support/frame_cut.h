#pragma once
// Cutting encoder files by whole frames with plain byte copies, the way every
// kalvor edit writes its files. Frame lengths come from the test's own tables
// (frame_builder), not from the code under test.
#include <cstddef>
#include <vector>

#include "support/test_support.h"

namespace kalvor::test {

// 0-based offsets of the frames of a file that starts with a frame and holds
// nothing but frames, followed by the offset where the last one ends.
std::vector<std::size_t> FrameOffsets(const Bytes& file);

// The file with frames [first, last) left out (indexes into FrameOffsets).
Bytes DropFrames(const Bytes& file, std::size_t first, std::size_t last);

}  // namespace kalvor::test

#pragma once
// For tests of the frame copying rules byte for byte: while one lives, outputs
// are written as ExactFrames writes them, the source's frames as they are.
#include "repack/exact_frames.h"

namespace kalvor::test {

class ExactFramesScope {
   public:
    ExactFramesScope() { SetExactFrames(true); }
    ~ExactFramesScope() { SetExactFrames(false); }
    ExactFramesScope(const ExactFramesScope&) = delete;
    ExactFramesScope& operator=(const ExactFramesScope&) = delete;
};

}  // namespace kalvor::test

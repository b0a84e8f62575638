#include "repack/exact_frames.h"

#include <atomic>

namespace kalvor {
namespace {

std::atomic<bool> exactFrames{false};

}  // namespace

bool ExactFrames() {
    return exactFrames.load();
}

void SetExactFrames(bool on) {
    exactFrames.store(on);
}

}  // namespace kalvor

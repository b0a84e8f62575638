#pragma once
// How outputs are written, read once at start.

namespace kalvor {

// "ExactFrames" (default 0): nonzero writes every output as the source's frames
// byte for byte, without repacking, added Xing headers or gapless figures. A
// value that is not a number counts as 0.
void ReadOutputSwitches();

}  // namespace kalvor

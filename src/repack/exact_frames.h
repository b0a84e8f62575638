#pragma once
// The switch between the two ways kalvor writes frames. By default every output
// is repacked where it joins or starts mid-stream (Layer III), gets a Xing
// header when its bit rate varies and, for pieces, the gapless figures; with
// ExactFrames on, every output is the source's frames byte for byte, as it was
// before repacking existed. Process-wide, set once at start (the setting
// "ExactFrames", or kalvor-cli --exact-frames).
namespace kalvor {

bool ExactFrames();
void SetExactFrames(bool on);

}  // namespace kalvor

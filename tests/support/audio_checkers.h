#pragma once
// Independent judges of the audio files kalvor writes: mp3val for broken
// frames and ffprobe for frame counts and durations.
#include <string>
#include <vector>

namespace kalvor::test {

// mp3val's warnings that mean a frame is broken or bytes are not frames
// (garbage at either end, a lost sync, a truncated last frame, bad CRCs, no
// frames). Remarks about tags, VBR headers or the layer are left out.
std::vector<std::string> BrokenFrameWarnings(const std::string& path);

// The number of MPEG frames mp3val counts (a Xing or Info frame included), or -1.
int Mp3valFrameCount(const std::string& path);

// The number of audio frames ffprobe decodes from the file, or -1. Frames
// whose samples all fall in a LAME header's encoder delay give none.
int FfprobeFrameCount(const std::string& path);

// The number of audio frames ffprobe reads from the file, decoded or not (a
// leading Xing/Info frame is none), or -1.
int FfprobePacketCount(const std::string& path);

// The duration ffprobe reports for the audio stream in milliseconds, or -1.
double FfprobeDurationMs(const std::string& path);

}  // namespace kalvor::test

// The WAVE header reader: any bytes end without a fault, and a header it
// accepts describes a format it supports.
#include <cstdint>

#include "fuzz_support.h"
#include "mpeg/wav_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kalvor::fuzz::Require;
    const std::string path = kalvor::fuzz::WriteScratch("input.wav", data, size);
    const kalvor::WavInfo info = kalvor::ReadWavHeader(path);
    if (info.Ok == 1) {
        Require(info.SampleRate > 0 && info.DurationMs >= 0, "an accepted header has a rate and a duration");
        Require(info.Channels == 1 || info.Channels == 2 || info.Channels == 6 || info.Channels == 8,
                "an accepted header has a supported channel count");
    }
    Require(!kalvor::WavContainerType(path).empty(), "a file named .wav always has a container type");
    return 0;
}

#include "playback/adts_duration.h"

#include <array>
#include <fstream>

#include "mpeg/byte_fields.h"
#include "services/arith.h"

namespace kalvor {
namespace {

// Sampling frequency index of the ADTS header.
constexpr std::array<int, 13> kAdtsRates = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                            22050, 16000, 12000, 11025, 8000,  7350};
constexpr int kAdtsHeaderBytes = 7;
constexpr int kSamplesPerBlock = 1024;

// Offset of the first byte after a leading ID3v2 tag (0 when there is none).
std::streamoff AfterId3v2(std::ifstream& file) {
    std::uint8_t tag[10] = {};
    if (!file.read(reinterpret_cast<char*>(tag), sizeof tag) || !IsId3v2Tag(tag)) return 0;
    const std::streamoff size = SynchsafeSize(tag + 6);
    const bool footer = (tag[5] & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

}  // namespace

std::int32_t AdtsDurationMs(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return 0;
    std::streamoff offset = AfterId3v2(file);
    long long samples = 0;
    int rate = 0;
    for (;;) {
        unsigned char h[kAdtsHeaderBytes] = {};
        file.clear();
        file.seekg(offset);
        if (!file.read(reinterpret_cast<char*>(h), sizeof h)) break;
        // Sync word 0xFFF and layer 00.
        if (h[0] != 0xFF || (h[1] & 0xF6) != 0xF0) break;
        const int rateIndex = (h[2] >> 2) & 0x0F;
        const int frameLength = (h[3] & 0x03) << 11 | h[4] << 3 | h[5] >> 5;
        if (rateIndex >= static_cast<int>(kAdtsRates.size()) || frameLength < kAdtsHeaderBytes) break;
        // A stream does not change its rate: another rate is not a frame of it.
        if (rate != 0 && kAdtsRates[static_cast<std::size_t>(rateIndex)] != rate) break;
        rate = kAdtsRates[static_cast<std::size_t>(rateIndex)];
        samples += static_cast<long long>((h[6] & 0x03) + 1) * kSamplesPerBlock;
        offset += frameLength;
    }
    if (rate == 0) return 0;
    return RoundHalfEven(static_cast<double>(samples) * 1000.0 / rate);
}

}  // namespace kalvor

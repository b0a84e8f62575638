#include "mpeg/frame_header.h"

namespace kalvor {
namespace {

// Bit rates in kbit/s by bit-rate index (0 = free format, unsupported; 15 is
// invalid and outside the tables). MPEG-1 per ISO/IEC 11172-3, MPEG-2 LSF per
// ISO/IEC 13818-3, where Layers II and III share one row.
constexpr std::array<int, 15> kMpeg1Layer1 = {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
constexpr std::array<int, 15> kMpeg1Layer2 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr std::array<int, 15> kMpeg1Layer3 = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr std::array<int, 15> kLsfLayer1 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
constexpr std::array<int, 15> kLsfLayer23 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

// Sampling rates in Hz by sampling index 0..2, MPEG-1 and MPEG-2 LSF.
constexpr std::array<int, 3> kMpeg1Rates = {44100, 48000, 32000};
constexpr std::array<int, 3> kLsfRates = {22050, 24000, 16000};

// Channel mode names by (byte 4 >> 6), exactly as they appear in the format text.
constexpr std::array<std::string_view, 4> kModeNames = {"Stereo", "JointStereo", "DualChannel", "Mono"};

// Likeness weight of each bit of bytes 2, 3, 4, most significant bit first.
// Byte 2: sync bits unscored, version 4, layer 4+4, protection 1.
// Byte 3: bit-rate index 1 each, sampling index 4 each, padding 0, private 1.
// Byte 4: channel mode 4 each, mode extension 2 each, copyright/original/emphasis 1 each.
constexpr std::array<std::array<int, 8>, 3> kLikenessWeights = {{
    {0, 0, 0, 0, 4, 4, 4, 1},
    {1, 1, 1, 1, 4, 4, 0, 1},
    {4, 4, 2, 2, 1, 1, 1, 1},
}};

}  // namespace

int LayerOf(std::uint8_t byte2) {
    switch (byte2 & kLayerMask) {
        case 0x06: return 1;
        case 0x04: return 2;
        case 0x02: return 3;
        default: return 0;
    }
}

int IsLsfOf(std::uint8_t byte2) {
    return (byte2 & kVersionMask) ? 0 : 1;
}

int BitRateOf(std::uint8_t byte2, std::uint8_t byte3) {
    const int index = (byte3 & kBitRateMask) >> 4;
    if (index == 0 || index == 15) return 0;
    const bool lsf = IsLsfOf(byte2) == 1;
    switch (LayerOf(byte2)) {
        case 1: return lsf ? kLsfLayer1[index] : kMpeg1Layer1[index];
        case 2: return lsf ? kLsfLayer23[index] : kMpeg1Layer2[index];
        case 3: return lsf ? kLsfLayer23[index] : kMpeg1Layer3[index];
        default: return 0;
    }
}

int SampleRateOf(std::uint8_t byte2, std::uint8_t byte3) {
    const int code = (byte3 & kSampleRateMask) >> 2;
    if (code == 3) return 0;
    return IsLsfOf(byte2) ? kLsfRates[code] : kMpeg1Rates[code];
}

std::string_view ModeNameOf(std::uint8_t byte4) {
    return kModeNames[(byte4 & kChannelModeMask) >> 6];
}

int SamplesPerFrame(const HeaderBytes& header) {
    const int layer = LayerOf(header[0]);
    if (layer == 1) return 384;
    if (layer == 3 && IsLsfOf(header[0])) return 576;
    return 1152;
}

int XingHeaderOffset(const HeaderBytes& header) {
    const bool mono = (header[2] & kChannelModeMask) == kChannelModeMask;
    if (IsLsfOf(header[0])) return mono ? 13 : 21;
    return mono ? 21 : 36;
}

std::optional<DecodedHeader> DecodeHeader(const HeaderBytes& ref, HeaderFault* fault) {
    auto fail = [fault](HeaderFault why) {
        if (fault) *fault = why;
        return std::nullopt;
    };
    if (fault) *fault = HeaderFault::None;
    DecodedHeader h;
    h.Layer = LayerOf(ref[0]);
    if (h.Layer == 0) return fail(HeaderFault::Layer);
    h.IsLsf = IsLsfOf(ref[0]);
    h.BitRate = BitRateOf(ref[0], ref[1]);
    if (h.BitRate == 0) return fail(HeaderFault::BitRate);
    h.SampleRate = SampleRateOf(ref[0], ref[1]);
    if (h.SampleRate == 0) return fail(HeaderFault::SampleRate);
    h.ChannelMode = (ref[2] & kChannelModeMask) >> 6;
    h.ModeName = ModeNameOf(ref[2]);
    return h;
}

int HeaderLikeness(const HeaderBytes& candidate, const HeaderBytes& ref) {
    int score = 0;
    for (std::size_t byte = 0; byte < 3; ++byte) {
        const std::uint8_t agree = static_cast<std::uint8_t>(~(candidate[byte] ^ ref[byte]));
        for (int bit = 0; bit < 8; ++bit) {
            if (agree & (0x80 >> bit)) score += kLikenessWeights[byte][bit];
        }
    }
    return score;
}

}  // namespace kalvor

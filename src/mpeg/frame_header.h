#pragma once
// The four-byte MPEG-1/2 audio frame header (Layers I, II, III): recognising a
// sync, decoding the fields kalvor uses, and scoring how much a candidate
// header resembles the stream's reference header.
//
// Header layout, bytes 1..4 in file order, most significant bit first:
//
//   byte 1   byte 2   byte 3   byte 4
//   AAAAAAAA AAABBCCD EEEEFFGH IIJJKLMM
//
//   A sync (12 bits, all ones)   B version ID (1 = MPEG-1, 0 = MPEG-2 LSF)
//   C layer code (3 = I, 2 = II, 1 = III, 0 invalid)   D protection bit
//   E bit-rate index (1..14; 0 free format and 15 invalid)
//   F sampling-frequency index (3 invalid)   G padding   H private
//   I channel mode   J mode extension   K copyright   L original   M emphasis
//
// kalvor keeps bytes 2, 3 and 4 of the first frame as the reference header;
// byte 1 is always 0xFF and is not stored.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kalvor {

// Bytes 2, 3, 4 of a frame header.
using HeaderBytes = std::array<std::uint8_t, 3>;

// Field masks, on the byte they belong to.
inline constexpr std::uint8_t kSyncHighMask = 0xFF;       // byte 1
inline constexpr std::uint8_t kSyncLowMask = 0xF0;        // byte 2
inline constexpr std::uint8_t kVersionMask = 0x08;        // byte 2
inline constexpr std::uint8_t kLayerMask = 0x06;          // byte 2
inline constexpr std::uint8_t kProtectionMask = 0x01;     // byte 2
inline constexpr std::uint8_t kBitRateMask = 0xF0;        // byte 3
inline constexpr std::uint8_t kSampleRateMask = 0x0C;     // byte 3
inline constexpr std::uint8_t kPaddingMask = 0x02;        // byte 3
inline constexpr std::uint8_t kPrivateMask = 0x01;        // byte 3
inline constexpr std::uint8_t kChannelModeMask = 0xC0;    // byte 4
inline constexpr std::uint8_t kModeExtensionMask = 0x30;  // byte 4

// The best score of HeaderLikeness: a candidate equal in every scored bit.
inline constexpr int kFullLikeness = 42;

// True when b1 = 0xFF and b2 >= 0xF0 (a 12-bit sync; MPEG 2.5 is not one).
constexpr bool IsSync(std::uint8_t b1, std::uint8_t b2) {
    return b1 == 0xFF && b2 >= 0xF0;
}

// The fields of a header that kalvor interprets.
struct DecodedHeader {
    int Layer = 0;              // 1, 2 or 3
    int IsLsf = 0;              // 1 for MPEG-2 lower sampling frequencies
    int BitRate = 0;            // kbit/s
    int SampleRate = 0;         // Hz
    int ChannelMode = 0;        // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    std::string_view ModeName;  // "Stereo", "JointStereo", "DualChannel", "Mono"
};

// Why a header cannot be decoded.
enum class HeaderFault { None, Layer, BitRate, SampleRate };

// Layer from byte 2 (1, 2, 3), or 0 for the invalid code.
int LayerOf(std::uint8_t byte2);
// 1 when byte 2 says MPEG-2 LSF, else 0.
int IsLsfOf(std::uint8_t byte2);
// Bit rate in kbit/s, or 0 for index 0, 15 or an invalid layer.
int BitRateOf(std::uint8_t byte2, std::uint8_t byte3);
// Sampling rate in Hz, or 0 for code 3.
int SampleRateOf(std::uint8_t byte2, std::uint8_t byte3);
// The exact mode name used in the format text.
std::string_view ModeNameOf(std::uint8_t byte4);

// Samples in one frame: 384 for Layer I, 576 for MPEG-2 LSF Layer III, 1152 otherwise.
int SamplesPerFrame(const HeaderBytes& header);

// Offset of a "Xing"/"Info" header from the frame's first byte: the 4-byte header plus
// the Layer III side information (32 bytes for MPEG-1 with two channels, 17 for MPEG-1
// mono and MPEG-2 with two channels, 9 for MPEG-2 mono): 36, 21 or 13.
int XingHeaderOffset(const HeaderBytes& header);

// Decodes the reference bytes; on failure says which field was invalid (the
// fields are checked in the order layer, bit rate, sampling rate).
std::optional<DecodedHeader> DecodeHeader(const HeaderBytes& ref, HeaderFault* fault = nullptr);

// Bit-weighted likeness of a candidate's bytes 2..4 to the reference, 0..42.
// Version, layer, sampling and channel-mode bits weigh 4, mode extension bits 2,
// every other scored bit 1; the padding bit is never scored.
int HeaderLikeness(const HeaderBytes& candidate, const HeaderBytes& ref);

}  // namespace kalvor

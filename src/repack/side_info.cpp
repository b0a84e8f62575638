#include "repack/side_info.h"

namespace kalvor {
namespace {

// Bit positions of the fields, counted from the first bit of the side information.
struct FieldPlaces {
    int MainDataBeginBits = 0;
    int ScfsiAt = -1;  // MPEG-1 only: 4 bits per channel
    int FirstEntryAt = 0;
    int EntryBits = 0;
    int ScalefacCompressAt = 0;  // within an entry
    int ScalefacCompressBits = 0;
};

constexpr int kPart23Bits = 12;
constexpr int kBigValuesAt = 12, kBigValuesBits = 9;

FieldPlaces PlacesOf(bool mpeg1, int channels) {
    FieldPlaces at;
    if (mpeg1) {
        at.MainDataBeginBits = 9;
        const int privateBits = channels == 1 ? 5 : 3;
        at.ScfsiAt = 9 + privateBits;
        at.FirstEntryAt = at.ScfsiAt + 4 * channels;
        at.EntryBits = 59;
        at.ScalefacCompressAt = 29;
        at.ScalefacCompressBits = 4;
    } else {
        at.MainDataBeginBits = 8;
        at.FirstEntryAt = 8 + (channels == 1 ? 1 : 2);
        at.EntryBits = 63;
        at.ScalefacCompressAt = 29;
        at.ScalefacCompressBits = 9;
    }
    return at;
}

int GetBits(const std::uint8_t* p, int at, int count) {
    int value = 0;
    for (int i = at; i < at + count; ++i) value = (value << 1) | ((p[i >> 3] >> (7 - (i & 7))) & 1);
    return value;
}

void PutBits(std::uint8_t* p, int at, int count, int value) {
    for (int i = 0; i < count; ++i) {
        const int bit = at + i;
        const auto mask = static_cast<std::uint8_t>(0x80 >> (bit & 7));
        if ((value >> (count - 1 - i)) & 1)
            p[bit >> 3] = static_cast<std::uint8_t>(p[bit >> 3] | mask);
        else
            p[bit >> 3] = static_cast<std::uint8_t>(p[bit >> 3] & ~mask);
    }
}

bool IsMpeg1(const HeaderBytes& header) {
    return IsLsfOf(header[0]) == 0;
}

int ChannelsOf(const HeaderBytes& header) {
    return (header[2] & kChannelModeMask) == kChannelModeMask ? 1 : 2;
}

}  // namespace

int SideInfo::MainDataBits() const {
    int bits = 0;
    for (int i = 0; i < Granules * Channels; ++i) bits += Part23Length[static_cast<std::size_t>(i)];
    return bits;
}

int SideInfoSize(const HeaderBytes& header) {
    if (IsMpeg1(header)) return ChannelsOf(header) == 1 ? 17 : 32;
    return ChannelsOf(header) == 1 ? 9 : 17;
}

int MaxMainDataBegin(const HeaderBytes& header) {
    return IsMpeg1(header) ? 511 : 255;
}

std::optional<SideInfo> ReadSideInfo(const std::uint8_t* frame, std::size_t count) {
    // The 2.5 extension has a sync of 11 bits; its side information is laid
    // out as MPEG-2 LSF's.
    if (count < 4 || frame[0] != 0xFF || (frame[1] & 0xE0) != 0xE0) return std::nullopt;
    const HeaderBytes header{frame[1], frame[2], frame[3]};
    if (LayerOf(header[0]) != 3 || (header[0] & 0x18) == 0x08) return std::nullopt;  // 0x08: reserved version
    SideInfo side;
    side.HeaderSize = (header[0] & kProtectionMask) ? 4 : 6;
    side.Size = SideInfoSize(header);
    side.Channels = ChannelsOf(header);
    const bool mpeg1 = IsMpeg1(header);
    side.Granules = mpeg1 ? 2 : 1;
    if (count < static_cast<std::size_t>(side.AreaOffset())) return std::nullopt;
    const std::uint8_t* bits = frame + side.HeaderSize;
    const FieldPlaces at = PlacesOf(mpeg1, side.Channels);
    side.MainDataBegin = GetBits(bits, 0, at.MainDataBeginBits);
    for (int i = 0; i < side.Granules * side.Channels; ++i)
        side.Part23Length[static_cast<std::size_t>(i)] = GetBits(bits, at.FirstEntryAt + i * at.EntryBits, kPart23Bits);
    return side;
}

void WriteMainDataBegin(std::uint8_t* frame, const SideInfo& side, int value) {
    const bool mpeg1 = side.Granules == 2;
    PutBits(frame + side.HeaderSize, 0, PlacesOf(mpeg1, side.Channels).MainDataBeginBits, value);
}

void SilenceGranules(std::uint8_t* frame, SideInfo& side) {
    const bool mpeg1 = side.Granules == 2;
    const FieldPlaces at = PlacesOf(mpeg1, side.Channels);
    std::uint8_t* bits = frame + side.HeaderSize;
    if (at.ScfsiAt >= 0) PutBits(bits, at.ScfsiAt, 4 * side.Channels, 0);
    for (int i = 0; i < side.Granules * side.Channels; ++i) {
        const int entry = at.FirstEntryAt + i * at.EntryBits;
        PutBits(bits, entry, kPart23Bits, 0);
        PutBits(bits, entry + kBigValuesAt, kBigValuesBits, 0);
        PutBits(bits, entry + at.ScalefacCompressAt, at.ScalefacCompressBits, 0);
        side.Part23Length[static_cast<std::size_t>(i)] = 0;
    }
}

}  // namespace kalvor

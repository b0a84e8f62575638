#pragma once
// The Layer III side information: the fields after a frame's header (and its
// CRC word) that say where the frame's audio data lies. A Layer III frame may
// keep that data in the bytes of the frames before it (the bit reservoir):
// main_data_begin counts how many bytes of main data before this frame's own
// main-data area it starts, headers, CRC words and side information of the
// frames in between not counted. The data is part2_3_length bits per granule
// and channel; whatever follows it up to the next frame's data is ancillary.
//
// Field layout, most significant bit first:
//
//   MPEG-1, two granules (17 bytes mono, 32 bytes with two channels):
//     main_data_begin 9, private_bits 5 (mono) or 3, scfsi 4 per channel,
//     then per granule, per channel, 59 bits:
//     part2_3_length 12, big_values 9, global_gain 8, scalefac_compress 4,
//     window_switching_flag 1, block type and tables 22, preflag 1,
//     scalefac_scale 1, count1table_select 1.
//
//   MPEG-2 LSF and MPEG-2.5, one granule (9 bytes mono, 17 with two channels):
//     main_data_begin 8, private_bits 1 (mono) or 2, then per channel, 63 bits:
//     part2_3_length 12, big_values 9, global_gain 8, scalefac_compress 9,
//     window_switching_flag 1, block type and tables 22, scalefac_scale 1,
//     count1table_select 1.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "mpeg/frame_header.h"

namespace kalvor {

struct SideInfo {
    int HeaderSize = 4;  // the frame's header, and its CRC word when the frame is protected
    int Size = 0;        // bytes of side information after HeaderSize
    int MainDataBegin = 0;
    int Granules = 0;                   // 2 for MPEG-1, 1 otherwise
    int Channels = 0;                   // 1 or 2
    std::array<int, 4> Part23Length{};  // bits, [granule * Channels + channel]

    // Where the main-data area starts, from the frame's first byte.
    int AreaOffset() const { return HeaderSize + Size; }
    int MainDataBits() const;
    // Bytes the data takes: the next frame's data starts on a byte boundary.
    int MainDataBytes() const { return (MainDataBits() + 7) / 8; }
};

// Side information bytes of a Layer III frame with this header: 32, 17 or 9.
int SideInfoSize(const HeaderBytes& header);

// The largest main_data_begin the header's version can hold: 511 for MPEG-1,
// 255 for MPEG-2 LSF and MPEG-2.5.
int MaxMainDataBegin(const HeaderBytes& header);

// The side information of the Layer III frame whose first count bytes are
// given (from its sync on). None when the bytes are no Layer III frame header
// or end before the side information does.
std::optional<SideInfo> ReadSideInfo(const std::uint8_t* frame, std::size_t count);

// Puts value (0..MaxMainDataBegin) into the frame's main_data_begin.
void WriteMainDataBegin(std::uint8_t* frame, const SideInfo& side, int value);

// Makes every granule of the frame decode to silence: no data bits, no big
// values, no scale factors (and none reused from the first granule). side is
// updated to match. The frame's main data is then empty.
void SilenceGranules(std::uint8_t* frame, SideInfo& side);

}  // namespace kalvor

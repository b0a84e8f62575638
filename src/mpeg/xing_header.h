#pragma once
// The "Xing" / "Info" header that encoders put in the first frame of a Layer III
// file, in place of audio, at XingHeaderOffset from the frame's first byte:
//
//   "Xing" or "Info"  4 bytes ("Info" is the same header for a constant bit rate)
//   flags             4 bytes, big-endian: which of the next four fields follow
//   frames            4 bytes  (flag 0x1) frames after this one
//   bytes             4 bytes  (flag 0x2) bytes from this frame's start to the audio's end
//   table of contents 100 bytes (flag 0x4) byte position of each percent of time, in 256ths
//   quality           4 bytes  (flag 0x8)
//
// and, right after the fields, often the 36-byte LAME extension:
//
//   +0  encoder version (9)  +9 revision and method  +10 low-pass  +11 peak (4)
//   +15 replay gains (2 x 2) +19 flags  +20 bit rate  +21 encoder delay and end padding
//       (12 bits each, samples)  +24 misc  +25 gain  +26 preset (2)  +28 music length (4)
//   +32 music CRC (2): the CRC-16 of the frames after this one
//   +34 tag CRC (2): the CRC-16 of the frame's bytes before this field
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kalvor {

inline constexpr std::uint32_t kXingFramesFlag = 0x1;
inline constexpr std::uint32_t kXingBytesFlag = 0x2;
inline constexpr std::uint32_t kXingTocFlag = 0x4;
inline constexpr std::uint32_t kXingQualityFlag = 0x8;

inline constexpr std::size_t kXingTocSize = 100;
inline constexpr std::size_t kLameExtensionSize = 36;
inline constexpr std::size_t kLameEncoderNameSize = 9;  // "LAME3.100", "Lavc60.31"
inline constexpr std::size_t kLameDelayOffset = 21;
inline constexpr std::size_t kLameMusicLengthOffset = 28;
inline constexpr std::size_t kLameMusicCrcOffset = 32;
inline constexpr std::size_t kLameTagCrcOffset = 34;

using XingToc = std::array<std::uint8_t, kXingTocSize>;

struct LameExtension {
    std::size_t Offset = 0;  // from the frame's first byte
    std::int32_t EncoderDelay = 0;
    std::int32_t EndPadding = 0;
    std::uint32_t MusicLength = 0;
    std::uint16_t MusicCrc = 0;
    std::uint16_t TagCrc = 0;
};

struct XingHeader {
    std::size_t Offset = 0;  // of "Xing"/"Info" from the frame's first byte
    bool IsInfo = false;     // named "Info"
    std::uint32_t Flags = 0;
    std::uint32_t Frames = 0;
    std::uint32_t Bytes = 0;
    XingToc Toc{};
    std::uint32_t Quality = 0;
    // Present only when its tag CRC matches the bytes before it: an extension
    // whose CRC is already wrong is not the encoder's and is left alone.
    std::optional<LameExtension> Lame;

    bool Has(std::uint32_t flag) const { return (Flags & flag) != 0; }
};

// The header in a Layer III frame whose first count bytes are given (the frame
// as far as the file holds it). None when the frame is not Layer III, holds no
// "Xing"/"Info" at its place, or its fields run past count.
std::optional<XingHeader> ParseXingHeader(const std::uint8_t* frame, std::size_t count);

// Writes header's fields back into the frame bytes it was parsed from, and when
// there is a LAME extension its tag CRC computed over the bytes before it.
void StoreXingHeader(XingHeader& header, std::uint8_t* frame, std::size_t count);

// Fraunhofer's "VBRI" header, the other kind encoders put in a Layer III
// file's first frame, always 32 bytes after the 4-byte frame header:
//
//   "VBRI" 4   version 2   delay 2   quality 2   bytes 4 (the whole stream's)
//   frames 4 (this frame included)   table: entries 2, scale 2, entry size 2,
//   frames per entry 2, then the entries
//
// kalvor reads it for the frame count; a file it writes gets a Xing header in
// its place (see XingInPlaceOfVbri), which every reader understands.
inline constexpr std::size_t kVbriOffset = 36;
inline constexpr std::size_t kVbriFieldsSize = 26;

struct VbriHeader {
    std::uint16_t Version = 0;
    std::uint32_t Bytes = 0;
    std::uint32_t Frames = 0;  // this frame included
};

// The VBRI header of a Layer III frame whose first count bytes are given, or
// none when the frame is not Layer III, holds no "VBRI" or is too short.
std::optional<VbriHeader> ParseVbriHeader(const std::uint8_t* frame, std::size_t count);

// The Xing header that takes the place of vbri in a frame of count bytes with
// the given header: at its place for the frame's version and channels, with
// the frame and byte counts, and the table of contents when the frame has room.
// The counts are the VBRI's (frames after this one); storing it is the
// caller's, after clearing the frame's bytes after its header.
XingHeader XingInPlaceOfVbri(const std::uint8_t* frame, std::size_t count, const VbriHeader& vbri);

// Builds the table of contents of a Xing header the way the encoder does while it
// encodes: from the running sum of the frames' bit rates, sampled into a bag of
// 400 that is halved whenever it fills, so that an untouched encoder file gets
// back exactly the table it holds.
class XingTocBuilder {
   public:
    // Each frame after the header frame, in order.
    void AddFrame(int bitRateKbps);
    XingToc Toc() const;

   private:
    static constexpr int kBagSize = 400;
    std::array<std::int64_t, kBagSize> bag_{};
    std::int64_t sum_ = 0;
    std::int32_t seen_ = 0;
    std::int32_t want_ = 1;
    std::int32_t pos_ = 0;
};

}  // namespace kalvor

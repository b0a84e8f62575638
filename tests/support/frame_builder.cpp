#include "support/frame_builder.h"

#include <array>
#include <stdexcept>

namespace kalvor::test {

int FrameLength(int layer, bool lsf, int kbps, int rate, bool padding) {
    const int pad = padding ? 1 : 0;
    if (layer == 1) return (12 * kbps * 1000 / rate + pad) * 4;
    if (layer == 3 && lsf) return 72 * kbps * 1000 / rate + pad;
    return 144 * kbps * 1000 / rate + pad;
}

Bytes Frame(std::uint8_t b2, std::uint8_t b3, std::uint8_t b4, int length, std::uint8_t fill) {
    if (length < 4) throw std::invalid_argument("frame shorter than its header");
    Bytes f(static_cast<std::size_t>(length), fill);
    f[0] = 0xFF;
    f[1] = b2;
    f[2] = b3;
    f[3] = b4;
    return f;
}

int FrameLengthOfHeader(std::uint8_t b2, std::uint8_t b3) {
    static constexpr std::array<std::array<int, 15>, 5> kRates = {{
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG-1 Layer I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG-1 Layer II
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG-1 Layer III
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG-2 Layer I
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG-2 Layers II, III
    }};
    const bool lsf = (b2 & 0x08) == 0;
    const int layer = 4 - ((b2 >> 1) & 3);
    const int index = b3 >> 4, rateCode = (b3 >> 2) & 3;
    if (layer == 4 || index == 0 || index == 15 || rateCode == 3) return 0;
    const int row = lsf ? (layer == 1 ? 3 : 4) : layer - 1;
    const int kbps = kRates[static_cast<std::size_t>(row)][static_cast<std::size_t>(index)];
    static constexpr std::array<int, 3> kMpeg1 = {44100, 48000, 32000}, kLsf = {22050, 24000, 16000};
    const int rate = (lsf ? kLsf : kMpeg1)[static_cast<std::size_t>(rateCode)];
    return FrameLength(layer, lsf, kbps, rate, (b3 & 0x02) != 0);
}

Bytes Frames(std::uint8_t b2, std::uint8_t b3, std::uint8_t b4, int count, std::uint8_t fill) {
    const int length = FrameLengthOfHeader(b2, b3);
    Bytes out;
    for (int i = 0; i < count; ++i) {
        Bytes f = Frame(b2, b3, b4, length, fill);
        out.insert(out.end(), f.begin(), f.end());
    }
    return out;
}

Bytes Id3v2Tag(int totalSize) {
    const int size = totalSize - 10;
    Bytes t = {'I',
               'D',
               '3',
               3,
               0,
               0,
               static_cast<std::uint8_t>((size >> 21) & 0x7F),
               static_cast<std::uint8_t>((size >> 14) & 0x7F),
               static_cast<std::uint8_t>((size >> 7) & 0x7F),
               static_cast<std::uint8_t>(size & 0x7F)};
    t.resize(static_cast<std::size_t>(totalSize), 0);
    return t;
}

Bytes Id3v1Tag() {
    Bytes t(128, ' ');
    t[0] = 'T';
    t[1] = 'A';
    t[2] = 'G';
    return t;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace kalvor::test

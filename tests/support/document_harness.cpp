#include "support/document_harness.h"

#include <array>

#include "support/frame_builder.h"

namespace kalvor::test {
namespace {

std::uint8_t FillOf(int n) {
    return static_cast<std::uint8_t>(1 + n % 250);
}

// ISO frame length of the header at bytes[at], or 0 when it is no header.
int HeaderFrameLength(const Bytes& b, std::size_t at) {
    if (at + 4 > b.size() || b[at] != 0xFF || (b[at + 1] & 0xF0) != 0xF0) return 0;
    static constexpr std::array<std::array<int, 15>, 3> kMpeg1 = {{
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    }};
    static constexpr std::array<int, 15> kLsfLayer1 = {0,   32,  48,  56,  64,  80,  96, 112,
                                                       128, 144, 160, 176, 192, 224, 256};
    static constexpr std::array<int, 15> kLsfOther = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    const bool lsf = (b[at + 1] & 0x08) == 0;
    const int layer = 4 - ((b[at + 1] >> 1) & 3);
    const int rateIndex = b[at + 2] >> 4, srIndex = (b[at + 2] >> 2) & 3;
    if (layer == 4 || rateIndex == 0 || rateIndex == 15 || srIndex == 3) return 0;
    const int kbps = lsf ? (layer == 1 ? kLsfLayer1 : kLsfOther)[rateIndex] : kMpeg1[layer - 1][rateIndex];
    static constexpr std::array<int, 3> kRate1 = {44100, 48000, 32000}, kRateLsf = {22050, 24000, 16000};
    const int rate = (lsf ? kRateLsf : kRate1)[srIndex];
    return FrameLength(layer, lsf, kbps, rate, (b[at + 2] & 0x02) != 0);
}

}  // namespace

Bytes NumberedFrames(int first, int count) {
    Bytes out;
    for (int n = first; n < first + count; ++n) out = out + Frame(0xFB, 0x90, 0x64, kNumberedFrameBytes, FillOf(n));
    return out;
}

std::vector<int> FrameNumbers(const Bytes& file) {
    std::vector<int> numbers;
    for (std::size_t at = 0; at < file.size(); at += kNumberedFrameBytes) {
        const std::size_t end = at + kNumberedFrameBytes;
        bool whole = end <= file.size() && file[at] == 0xFF && file[at + 1] == 0xFB;
        for (std::size_t i = at + 4; whole && i < end; ++i) whole = file[i] == file[at + 4];
        numbers.push_back(whole ? file[at + 4] - 1 : -1);
    }
    return numbers;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> r;
    for (int n = first; n < last; ++n) r.push_back(n);
    return r;
}

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<Bytes> SplitFrames(const Bytes& file) {
    std::size_t at = 0;
    if (file.size() >= 10 && file[0] == 'I' && file[1] == 'D' && file[2] == '3') {
        at = 10 + ((file[6] & 0x7Fu) << 21 | (file[7] & 0x7Fu) << 14 | (file[8] & 0x7Fu) << 7 | (file[9] & 0x7Fu));
    }
    std::vector<Bytes> frames;
    for (int length; (length = HeaderFrameLength(file, at)) > 0 && at + length <= file.size(); at += length) {
        frames.emplace_back(file.begin() + static_cast<std::ptrdiff_t>(at),
                            file.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    return frames;
}

SmallDisk::SmallDisk(int kilobytes) {
    const CommandResult r =
        Run("mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k tmpfs " + ShellQuote(dir_.path().string()));
    mounted_ = r.exitCode == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) Run("umount " + ShellQuote(dir_.path().string()));
}

bool SmallDisk::MakeReadOnly() {
    return mounted_ && Run("mount -o remount,ro " + ShellQuote(dir_.path().string())).exitCode == 0;
}

}  // namespace kalvor::test

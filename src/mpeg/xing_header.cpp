#include "mpeg/xing_header.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "mpeg/byte_fields.h"
#include "mpeg/crc16.h"
#include "mpeg/frame_header.h"

namespace kalvor {
namespace {

// The place of each optional field after "Xing"/"Info" and the flags.
struct FieldPlaces {
    std::size_t Frames = 0, Bytes = 0, Toc = 0, Quality = 0, End = 0;
};
FieldPlaces PlacesOf(std::size_t offset, std::uint32_t flags) {
    FieldPlaces at;
    std::size_t p = offset + 8;
    auto take = [&p, flags](std::uint32_t flag, std::size_t size) {
        if (!(flags & flag)) return std::size_t{0};
        const std::size_t here = p;
        p += size;
        return here;
    };
    at.Frames = take(kXingFramesFlag, 4);
    at.Bytes = take(kXingBytesFlag, 4);
    at.Toc = take(kXingTocFlag, kXingTocSize);
    at.Quality = take(kXingQualityFlag, 4);
    at.End = p;
    return at;
}

std::optional<LameExtension> ParseLame(const std::uint8_t* frame, std::size_t count, std::size_t at) {
    if (at + kLameExtensionSize > count) return std::nullopt;
    const std::uint8_t* e = frame + at;
    LameExtension lame;
    lame.Offset = at;
    lame.TagCrc = BigEndian16(e + kLameTagCrcOffset);
    if (Crc16(frame, at + kLameTagCrcOffset) != lame.TagCrc) return std::nullopt;
    // One frame in 65 536 matches a CRC by chance; an encoder always names itself.
    if (std::all_of(e, e + kLameEncoderNameSize, [](std::uint8_t b) { return b == 0; })) return std::nullopt;
    lame.EncoderDelay = (e[kLameDelayOffset] << 4) | (e[kLameDelayOffset + 1] >> 4);
    lame.EndPadding = ((e[kLameDelayOffset + 1] & 0x0F) << 8) | e[kLameDelayOffset + 2];
    lame.MusicLength = BigEndian32(e + kLameMusicLengthOffset);
    lame.MusicCrc = BigEndian16(e + kLameMusicCrcOffset);
    return lame;
}

}  // namespace

std::optional<XingHeader> ParseXingHeader(const std::uint8_t* frame, std::size_t count) {
    if (count < 4 || !IsSync(frame[0], frame[1])) return std::nullopt;
    const HeaderBytes h{frame[1], frame[2], frame[3]};
    if (LayerOf(h[0]) != 3) return std::nullopt;
    XingHeader x;
    x.Offset = static_cast<std::size_t>(XingHeaderOffset(h));
    if (x.Offset + 8 > count) return std::nullopt;
    const std::uint8_t* tag = frame + x.Offset;
    if (!IsXingTag(tag)) return std::nullopt;
    x.IsInfo = tag[0] == 'I';
    x.Flags = BigEndian32(tag + 4);
    const FieldPlaces at = PlacesOf(x.Offset, x.Flags);
    if (at.End > count) return std::nullopt;
    if (x.Has(kXingFramesFlag)) x.Frames = BigEndian32(frame + at.Frames);
    if (x.Has(kXingBytesFlag)) x.Bytes = BigEndian32(frame + at.Bytes);
    if (x.Has(kXingTocFlag)) std::memcpy(x.Toc.data(), frame + at.Toc, kXingTocSize);
    if (x.Has(kXingQualityFlag)) x.Quality = BigEndian32(frame + at.Quality);
    x.Lame = ParseLame(frame, count, at.End);
    return x;
}

void StoreXingHeader(XingHeader& header, std::uint8_t* frame, std::size_t count) {
    const FieldPlaces at = PlacesOf(header.Offset, header.Flags);
    if (header.Offset + 8 > count || at.End > count) return;
    std::memcpy(frame + header.Offset, header.IsInfo ? "Info" : "Xing", 4);
    PutBigEndian32(frame + header.Offset + 4, header.Flags);
    if (header.Has(kXingFramesFlag)) PutBigEndian32(frame + at.Frames, header.Frames);
    if (header.Has(kXingBytesFlag)) PutBigEndian32(frame + at.Bytes, header.Bytes);
    if (header.Has(kXingTocFlag)) std::memcpy(frame + at.Toc, header.Toc.data(), kXingTocSize);
    if (header.Has(kXingQualityFlag)) PutBigEndian32(frame + at.Quality, header.Quality);
    if (!header.Lame || header.Lame->Offset + kLameExtensionSize > count) return;
    LameExtension& lame = *header.Lame;
    std::uint8_t* e = frame + lame.Offset;
    e[kLameDelayOffset] = static_cast<std::uint8_t>(lame.EncoderDelay >> 4);
    e[kLameDelayOffset + 1] =
        static_cast<std::uint8_t>(((lame.EncoderDelay & 0x0F) << 4) | ((lame.EndPadding >> 8) & 0x0F));
    e[kLameDelayOffset + 2] = static_cast<std::uint8_t>(lame.EndPadding);
    PutBigEndian32(e + kLameMusicLengthOffset, lame.MusicLength);
    PutBigEndian16(e + kLameMusicCrcOffset, lame.MusicCrc);
    lame.TagCrc = Crc16(frame, lame.Offset + kLameTagCrcOffset);
    PutBigEndian16(e + kLameTagCrcOffset, lame.TagCrc);
}

std::optional<VbriHeader> ParseVbriHeader(const std::uint8_t* frame, std::size_t count) {
    if (count < kVbriOffset + kVbriFieldsSize || !IsSync(frame[0], frame[1])) return std::nullopt;
    if (LayerOf(frame[1]) != 3 || !BytesMatch(frame + kVbriOffset, "VBRI")) return std::nullopt;
    const std::uint8_t* v = frame + kVbriOffset;
    VbriHeader h;
    h.Version = BigEndian16(v + 4);
    h.Bytes = BigEndian32(v + 10);
    h.Frames = BigEndian32(v + 14);
    return h;
}

XingHeader XingInPlaceOfVbri(const std::uint8_t* frame, std::size_t count, const VbriHeader& vbri) {
    XingHeader x;
    x.Offset = static_cast<std::size_t>(XingHeaderOffset({frame[1], frame[2], frame[3]}));
    x.Flags = kXingFramesFlag | kXingBytesFlag;
    if (PlacesOf(x.Offset, x.Flags | kXingTocFlag).End <= count) x.Flags |= kXingTocFlag;
    x.Frames = vbri.Frames > 0 ? vbri.Frames - 1 : 0;
    x.Bytes = vbri.Bytes;
    return x;
}

void XingTocBuilder::AddFrame(int bitRateKbps) {
    sum_ += bitRateKbps;
    if (++seen_ < want_) return;
    if (pos_ < kBagSize) {
        bag_[static_cast<std::size_t>(pos_++)] = sum_;
        seen_ = 0;
    }
    if (pos_ == kBagSize) {
        for (int i = 1; i < kBagSize; i += 2) bag_[static_cast<std::size_t>(i / 2)] = bag_[static_cast<std::size_t>(i)];
        want_ *= 2;
        pos_ /= 2;
    }
}

XingToc XingTocBuilder::Toc() const {
    XingToc toc{};
    if (pos_ <= 0) return toc;
    // The encoder works in single precision here; so must the rebuild, or a
    // rounding step could land one 256th apart from what it wrote.
    const float sum = static_cast<float>(sum_);
    for (int i = 1; i < static_cast<int>(kXingTocSize); ++i) {
        const float share = static_cast<float>(i) / static_cast<float>(kXingTocSize);
        int index = static_cast<int>(std::floor(share * static_cast<float>(pos_)));
        if (index > pos_ - 1) index = pos_ - 1;
        const float act = static_cast<float>(bag_[static_cast<std::size_t>(index)]);
        const int point = static_cast<int>(256.0 * act / sum);
        toc[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(point > 255 ? 255 : point);
    }
    return toc;
}

}  // namespace kalvor

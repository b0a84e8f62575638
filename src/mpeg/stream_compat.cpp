#include "mpeg/stream_compat.h"

namespace kalvor {
namespace {

bool IsMono(const StreamInfo& info) {
    return (info.RefHeader[2] & kChannelModeMask) == kChannelModeMask;
}

}  // namespace

bool StreamFormatsMatch(const StreamInfo& document, const StreamInfo& source) {
    return document.IsLsf == source.IsLsf && document.Layer == source.Layer &&
           document.SampleRate == source.SampleRate && IsMono(document) == IsMono(source);
}

}  // namespace kalvor

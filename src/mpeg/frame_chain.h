#pragma once
// Chains of frames, each header where the frame before it says the next one
// starts: how a stream is told from pseudo-headers in data.
//
// MPEG 2.5, an extension outside the MPEG standards, carries Layer III at 8,
// 11.025 and 12 kHz behind an 11-bit sync (FF E2 or FF E3). kalvor edits
// MPEG-1 and MPEG-2 streams only. A 12-bit sync is never an MPEG 2.5 header,
// so in such a file the frame search passes over every real frame and may
// settle on a pseudo-header in their data; the chain tells the file apart so
// that it is refused by name.
#include <cstdint>
#include <string>

namespace kalvor {

// True when an MPEG 2.5 Layer III frame that starts a chain begins at a 0-based
// offset in [from, to) of the file.
bool HasMpeg25Chain(const std::string& path, std::int64_t from, std::int64_t to);

// True when the MPEG-1/2 frame at the 0-based offset starts a chain of its stream.
bool StartsFrameChain(const std::string& path, std::int64_t offset);

}  // namespace kalvor

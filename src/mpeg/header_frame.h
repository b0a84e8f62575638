#pragma once
// The header frame at a stream's start: a first frame that holds a Xing, Info
// or VBRI header where music would be.
#include <cstdint>
#include <string>

#include "mpeg/stream_info.h"

namespace kalvor {

struct HeaderFrame {
    std::int32_t Length = 0;  // its bytes; 0 when the first frame holds no header
    bool Vbri = false;        // a VBRI header (else "Xing" or "Info")
};

// Reads the first frame of source's stream, where info says it is.
HeaderFrame ReadHeaderFrame(const std::string& source, const StreamInfo& info);

}  // namespace kalvor

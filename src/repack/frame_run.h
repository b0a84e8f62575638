#pragma once
// A run of consecutive Layer III frames of one file, read around a place where
// an output joins or starts: the frames before it as far as their main data
// can reach, and a few after it. It knows each frame's side information and
// where each frame's main-data area and main data lie, counted in main-data
// bytes from the run's first area byte, so that any frame's data can be taken
// out of the frames that hold it. Only the run's bytes are read, never the
// whole file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mpeg/frame_header.h"
#include "repack/side_info.h"

namespace kalvor {

struct RunFrame {
    std::int64_t Offset = 0;  // 0-based in the file
    std::int32_t Length = 0;  // bytes including the header
    HeaderBytes Header{0, 0, 0};
    SideInfo Side;
    std::int64_t AreaStart = 0;  // of the main-data area, in the run's main-data bytes
    std::int32_t AreaSize = 0;
    bool HoldsTag = false;  // a "Xing", "Info" or "VBRI" header frame, which is never rewritten

    std::int64_t DataStart() const { return AreaStart - Side.MainDataBegin; }
    std::int64_t DataEnd() const { return DataStart() + Side.MainDataBytes(); }
};

// Where to read a run.
struct RunPlace {
    std::int64_t FirstFrame = 0;  // 0-based offset of the file's first frame: nothing before it is read
    std::int64_t Anchor = 0;      // a frame start (or the end of the frames before it)
    std::int64_t Limit = 0;       // frames after the anchor end by here
    std::int32_t Back = 0;        // bytes before the anchor to look for the frames chaining into it
    std::int32_t Ahead = 0;       // the most frames taken from the anchor on
};

class FrameRun {
   public:
    // Reads the frames of the file at path that follow each other into the
    // anchor and from it on, as far as place allows; every frame has ref's
    // version, layer and sampling rate and a usable bit-rate index. None when
    // the file cannot be read or no chain of such frames ends at the anchor.
    static std::optional<FrameRun> Read(const std::string& path, const HeaderBytes& ref, const RunPlace& place);

    const std::vector<RunFrame>& Frames() const { return frames_; }
    // Index of the frame at the anchor (Frames().size() when none starts there).
    std::size_t AnchorIndex() const { return anchor_; }
    // The run begins with the file's first frame: data before it does not exist.
    bool FromFileStart() const { return fromFileStart_; }

    // Frame i's data lies in the run's areas.
    bool DataWithin(std::size_t i) const;
    // Frame i's data lies as the layout rules say: it ends within the frame's
    // own area and starts after the data of the frame before it.
    bool DataConsistent(std::size_t i) const;
    // Main-data bytes [from, to) of the run (positions outside read as 0).
    std::vector<std::uint8_t> MainData(std::int64_t from, std::int64_t to) const;
    // The frame's header, CRC word and side information as the file holds them.
    std::vector<std::uint8_t> FrameHead(std::size_t i) const;

   private:
    std::vector<std::uint8_t> bytes_;  // the file from bytesOffset_ on
    std::int64_t bytesOffset_ = 0;
    std::vector<std::uint8_t> areas_;  // the frames' main-data areas, one after another
    std::vector<RunFrame> frames_;
    std::size_t anchor_ = 0;
    bool fromFileStart_ = false;
};

}  // namespace kalvor

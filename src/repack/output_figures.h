#pragma once
// The figures of an output's Xing/Info header, counted from the bytes as they
// are written: the output is made of whole frames one after another, so
// following their lengths while they pass needs no second read of the file.
// Where the frames do not follow each other to the end (a source with junk
// inside a range), the count says so and the file is walked as any other.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "mpeg/xing_audit.h"

namespace kalvor {

class OutputFigures {
   public:
    // headerFrame: the output's first frame, which holds its Xing/Info header
    // and starts at byte offset start (after the tags in front of it).
    explicit OutputFigures(const std::vector<std::uint8_t>& headerFrame, std::int64_t start = 0);
    ~OutputFigures();
    OutputFigures(const OutputFigures&) = delete;
    OutputFigures& operator=(const OutputFigures&) = delete;

    // The next bytes written to the output, from its first one on.
    void Add(const std::uint8_t* bytes, std::size_t count);

    // Every byte added was part of a frame of the header's stream, the last
    // one ending where the bytes end.
    bool Complete() const;
    // The header frame and the figures: what FinishCountedFile needs.
    XingAudit& Audit();

   private:
    XingAudit audit_;
    std::unique_ptr<XingFigureCollector> collector_;
    std::int64_t start_;          // where the first frame starts
    std::int64_t written_ = 0;    // where the next byte added goes
    std::int64_t nextFrame_ = 0;  // where the next frame starts
    // Frame lengths of the stream by bit-rate index and padding bit (0: none).
    std::array<std::array<std::int32_t, 2>, 16> lengths_{};
    std::array<std::uint8_t, 4> head_{};
    int headBytes_ = 0;  // of the next frame's header, gathered so far
    bool broken_ = false;
    bool stored_ = false;
};

}  // namespace kalvor

#pragma once
// What the time line reads of the open document: its time scale,
// the selection it edits, and the seams of earlier edits. The window gives the
// view a source over its Document; tests give one with chosen numbers.
#include <cstdint>
#include <vector>

#include "document/block_list.h"
#include "document/selection.h"
#include "mpeg/audio_time_scale.h"

namespace kalvor {

class Document;

class TimeLineSource {
   public:
    virtual ~TimeLineSource() = default;
    // How the document's times and byte positions map onto each other.
    virtual AudioTimeScale TimeScale() const = 0;
    std::int32_t AudioLength() const { return TimeScale().AudioLength; }
    std::int32_t DurationMs() const { return TimeScale().DurationMs; }
    // The document's selection; the view writes it.
    virtual Selection& Sel() = 0;
    // Blocks, slot 0 unused.
    virtual const std::vector<BlockRec>& Blocks() const = 0;
};

// The main window's document as the time line sees it.
class DocumentTimeLine : public TimeLineSource {
   public:
    explicit DocumentTimeLine(Document& document) : document_(document) {}
    AudioTimeScale TimeScale() const override;
    Selection& Sel() override;
    const std::vector<BlockRec>& Blocks() const override;

   private:
    Document& document_;
};

}  // namespace kalvor

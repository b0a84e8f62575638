#pragma once
// What the time line reads of the open document: its audio length and duration,
// the selection it edits, and the seams of earlier edits. The window gives the
// view a source over its Document; tests give one with chosen numbers.
#include <cstdint>
#include <vector>

#include "document/block_list.h"
#include "document/selection.h"

namespace kalvor {

class Document;

class TimeLineSource {
   public:
    virtual ~TimeLineSource() = default;
    virtual std::int32_t AudioLength() const = 0;
    virtual std::int32_t DurationMs() const = 0;
    // The document's selection; the view writes it.
    virtual Selection& Sel() = 0;
    // Blocks, slot 0 unused.
    virtual const std::vector<BlockRec>& Blocks() const = 0;
};

// The main window's document as the time line sees it.
class DocumentTimeLine : public TimeLineSource {
   public:
    explicit DocumentTimeLine(Document& document) : document_(document) {}
    std::int32_t AudioLength() const override;
    std::int32_t DurationMs() const override;
    Selection& Sel() override;
    const std::vector<BlockRec>& Blocks() const override;

   private:
    Document& document_;
};

}  // namespace kalvor

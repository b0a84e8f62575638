#pragma once
// The block list: where the document has been edited, so the time line can draw
// the seams of earlier edits. A paste adds a block over the inserted audio, a
// delete or cut adds a single point where audio was removed; later edits move,
// drop or keep the records so they stay on the audio they belong to.
//
// Three lists of the same shape: Blocks (current), UndoBlocks (its one-level
// undo copy, swapped in step with the working files) and ClipBlocks (the marks
// inside the clipboard audio, relative to its start). Slot 0 of each is never
// used, so a list of n records has n + 1 slots and BlockCount = n + 1.
#include <cstdint>
#include <vector>

#include "document/selection.h"

namespace kalvor {

struct BlockRec {
    std::int32_t StartPos = 0;  // first edge of a block, or the point of a delete or cut; 0 = absent
    std::int32_t EndPos = 0;    // second edge of a block; 0 for a single point or when absent

    bool operator==(const BlockRec&) const = default;
};

// What happened to the selected range of bytes, for ShiftBlocks.
enum class ShiftMode {
    Removed = 0,   // SelStart..SelEnd was taken out
    Inserted = 1,  // SelLength bytes were put in at SelStart
};

class BlockList {
   public:
    BlockList() { ResetBlocks(); }

    // Storage.
    void AddBlock(std::int32_t startPos, std::int32_t endPos);
    void SaveBlocks();   // UndoBlocks = a copy of Blocks
    void SwapBlocks();   // Blocks and UndoBlocks change places
    void ResetBlocks();  // all three lists back to the single empty slot 0
    // Removes record index (1 <= index < BlockCount), moving the later ones up.
    // False for slot 0 or an index outside the list, which is then unchanged.
    bool DeleteBlock(std::int32_t index);

    // Update rules of the edits. The shift amount is sel.SelLength as the
    // selection records it, not the byte count of the frames actually moved, so
    // the records follow the audio to within the frame snapping of the copy.
    // Records left with both fields 0 are dropped.
    void ShiftBlocks(ShiftMode mode, const Selection& sel);
    // ClipBlocks = the records inside the selection, relative to SelStart.
    void CollectClipBlocks(const Selection& sel);
    // Appends the clip marks moved to selStart (after a paste from the clipboard).
    void InsertClipBlocks(std::int32_t selStart);
    // Moves every present field of Blocks by delta: the same audio in a version
    // of the file whose first frame lies delta bytes later.
    void MoveBlocks(std::int32_t delta);

    const std::vector<BlockRec>& Blocks() const { return blocks_; }
    const std::vector<BlockRec>& UndoBlocks() const { return undoBlocks_; }
    const std::vector<BlockRec>& ClipBlocks() const { return clipBlocks_; }
    std::int32_t BlockCount() const { return static_cast<std::int32_t>(blocks_.size()); }

   private:
    std::vector<BlockRec> blocks_;
    std::vector<BlockRec> undoBlocks_;
    std::vector<BlockRec> clipBlocks_;
};

}  // namespace kalvor

#include "document/block_list.h"

#include <utility>

#include "services/arith.h"

namespace kalvor {
namespace {

const std::vector<BlockRec> kEmptyList(1);

// Removal of SelStart..SelEnd: a field inside the range is dropped; a field at
// or past its end (tested after the drop) moves back by the selection length.
std::int32_t ShiftRemoved(std::int32_t field, const Selection& sel) {
    if (sel.SelStart <= field && field <= sel.SelEnd) field = 0;
    if (field >= sel.SelEnd) field = WrapSub(field, sel.SelLength);
    return field;
}

// Insertion at SelStart: a field exactly at the insertion point stays put.
std::int32_t ShiftInserted(std::int32_t field, const Selection& sel) {
    return field > sel.SelStart ? WrapAdd(field, sel.SelLength) : field;
}

bool StrictlyInside(std::int32_t pos, const Selection& sel) {
    return sel.SelStart < pos && pos < sel.SelEnd;
}

}  // namespace

void BlockList::AddBlock(std::int32_t startPos, std::int32_t endPos) {
    blocks_.push_back({startPos, endPos});
}

void BlockList::SaveBlocks() {
    undoBlocks_ = blocks_;
}

void BlockList::SwapBlocks() {
    std::swap(blocks_, undoBlocks_);
}

void BlockList::ResetBlocks() {
    blocks_ = kEmptyList;
    undoBlocks_ = kEmptyList;
    clipBlocks_ = kEmptyList;
}

bool BlockList::DeleteBlock(std::int32_t index) {
    if (index < 1 || index >= BlockCount()) return false;
    blocks_.erase(blocks_.begin() + index);
    return true;
}

void BlockList::MoveBlocks(std::int32_t delta) {
    for (std::size_t i = 1; i < blocks_.size(); ++i) {
        for (std::int32_t* field : {&blocks_[i].StartPos, &blocks_[i].EndPos}) {
            if (*field != 0) *field = WrapAdd(*field, delta);
        }
    }
}

void BlockList::ShiftBlocks(ShiftMode mode, const Selection& sel) {
    if (BlockCount() <= 1) return;
    const auto shift = mode == ShiftMode::Removed ? ShiftRemoved : ShiftInserted;
    for (std::size_t i = 1; i < blocks_.size(); ++i) {
        for (std::int32_t* field : {&blocks_[i].StartPos, &blocks_[i].EndPos}) {
            if (*field != 0) *field = shift(*field, sel);
        }
    }
    for (std::int32_t i = BlockCount() - 1; i >= 1; --i) {
        if (blocks_[i] == BlockRec{}) DeleteBlock(i);
    }
}

void BlockList::CollectClipBlocks(const Selection& sel) {
    clipBlocks_ = kEmptyList;
    for (std::size_t i = 1; i < blocks_.size(); ++i) {
        const BlockRec& rec = blocks_[i];
        const bool startInside = StrictlyInside(rec.StartPos, sel);
        // A record that merely ends at SelStart is taken too; both its relative
        // fields are then 0 and the paste skips it.
        if (!startInside && !(sel.SelStart <= rec.EndPos && rec.EndPos < sel.SelEnd)) continue;
        clipBlocks_.push_back({startInside ? WrapSub(rec.StartPos, sel.SelStart) : 0,
                               StrictlyInside(rec.EndPos, sel) ? WrapSub(rec.EndPos, sel.SelStart) : 0});
    }
}

void BlockList::InsertClipBlocks(std::int32_t selStart) {
    for (std::size_t j = 1; j < clipBlocks_.size(); ++j) {
        const BlockRec& clip = clipBlocks_[j];
        if (clip == BlockRec{}) continue;
        AddBlock(clip.StartPos != 0 ? WrapAdd(clip.StartPos, selStart) : 0,
                 clip.EndPos != 0 ? WrapAdd(clip.EndPos, selStart) : 0);
    }
}

}  // namespace kalvor

#include "listwin/list_rows.h"

#include <algorithm>
#include <cstdio>

#include "services/arith.h"
#include "services/basic.h"

namespace kalvor {

std::string ListNumberText(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", number);
    return text;
}

std::string ListRows::ColumnTitle(ListMode mode, int column) {
    static const std::array<const char*, kListColumns> build{"No", "From", "To"};
    static const std::array<const char*, kListColumns> split{"No", "Loc", "Length"};
    if (column < 0 || column >= kListColumns) return {};
    return mode == ListMode::Build ? build[column] : split[column];
}

std::string ListRows::Cell(int row, int column) const {
    if (row < 0 || row >= Count() || column < 0 || column >= kListColumns) return {};
    return rows_[row].Cells[column];
}

void ListRows::Add(std::int32_t selStartMs, std::int32_t selEndMs, std::int32_t durationMs) {
    Row row;
    row.Cells[kFromColumn] = MsToTimeText(selStartMs);
    if (mode_ == ListMode::Build) row.Cells[kToColumn] = MsToTimeText(selEndMs);
    rows_.push_back(row);
    Renumber(durationMs);
}

void ListRows::Renumber(std::int32_t durationMs) {
    if (mode_ == ListMode::Build)
        RenumberBuild();
    else
        RenumberSplit(durationMs);
}

void ListRows::RenumberBuild() {
    for (int i = 0; i < Count(); ++i) rows_[i].Cells[kNoColumn] = ListNumberText(i + 1);
}

void ListRows::RenumberSplit(std::int32_t durationMs) {
    // Time order, not text order: the two agree while minutes fit in three
    // digits, but 1000'00.000 would sort before 999'00.000 as text and the
    // pieces of a very long document would then overlap and leave gaps.
    std::stable_sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) {
        return TimeTextToMs(a.Cells[kLocColumn]) < TimeTextToMs(b.Cells[kLocColumn]);
    });
    for (int i = 0; i < Count(); ++i) {
        const std::int32_t here = TimeTextToMs(rows_[i].Cells[kLocColumn]);
        const std::int32_t next = i + 1 < Count() ? TimeTextToMs(rows_[i + 1].Cells[kLocColumn]) : durationMs;
        rows_[i].Cells[kNoColumn] = ListNumberText(i + 2);
        rows_[i].Cells[kLengthColumn] = MsToTimeText(WrapSub(next, here));
    }
}

void ListRows::Select(int row, bool selected) {
    if (row >= 0 && row < Count()) rows_[row].Selected = selected;
}

void ListRows::ClearSelection() {
    for (auto& row : rows_) row.Selected = false;
}

bool ListRows::IsSelected(int row) const {
    return row >= 0 && row < Count() && rows_[row].Selected;
}

int ListRows::SelectedRow() const {
    const auto it = std::find_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.Selected; });
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

bool ListRows::DeleteSelected(std::int32_t durationMs) {
    const auto kept = std::remove_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.Selected; });
    if (kept == rows_.end()) return false;
    rows_.erase(kept, rows_.end());
    Renumber(durationMs);
    return true;
}

bool ListRows::MoveSelected(bool up) {
    const int row = SelectedRow();
    if (mode_ != ListMode::Build || row < 0) return false;
    const int other = up ? row - 1 : row + 1;
    if (other < 0 || other >= Count()) return false;
    std::swap(rows_[row], rows_[other]);
    return true;
}

std::vector<SplitMark> ListRows::SplitMarks() const {
    std::vector<SplitMark> marks;
    if (mode_ != ListMode::Split) return marks;
    for (const auto& row : rows_) marks.push_back({TimeTextToMs(row.Cells[kLocColumn]), row.Cells[kNoColumn]});
    return marks;
}

}  // namespace kalvor

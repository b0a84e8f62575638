#pragma once
// The rows of the split and build list and the rules that keep them in order.
// The list window shows exactly what this model holds; the time line reads the
// split marks from it. Every time in a row is time text (MMM'SS.mmm).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvor {

// Build: each row is a range (From, To) and one file is made of all ranges in
// list order. Split: each row is a split point (Loc) and one file is written
// per piece.
enum class ListMode : int { Build = 0, Split = 1 };

inline constexpr int kListColumns = 3;
inline constexpr int kNoColumn = 0;    // "No" in both modes
inline constexpr int kFromColumn = 1;  // build "From"; split "Loc"
inline constexpr int kToColumn = 2;    // build "To"; split "Length"
inline constexpr int kLocColumn = kFromColumn;
inline constexpr int kLengthColumn = kToColumn;

// A row or piece number as the list writes it: at least two digits (01, 02, … 100).
std::string ListNumberText(int number);

// One split point as the time line draws it.
struct SplitMark {
    std::int32_t LocMs = 0;
    std::string Number;  // the piece that begins here: "02", "03", …
};

class ListRows {
   public:
    explicit ListRows(ListMode mode) : mode_(mode) {}

    ListMode Mode() const { return mode_; }
    static std::string ColumnTitle(ListMode mode, int column);

    int Count() const { return static_cast<int>(rows_.size()); }
    // The text of a cell; "" outside the list.
    std::string Cell(int row, int column) const;

    // Appends a row from the main window's selection (build: From and To;
    // split: Loc from the start) and renumbers; durationMs is the document's,
    // for the length of the last piece.
    void Add(std::int32_t selStartMs, std::int32_t selEndMs, std::int32_t durationMs);

    // Build: numbers 01, 02, … in list order. Split: rows sorted into time
    // order, numbered from 02 (the piece each point begins), and each Length
    // the time to the next point, or to durationMs for the last.
    void Renumber(std::int32_t durationMs);

    // Selection, as the list control holds it: several rows may be selected.
    void Select(int row, bool selected = true);
    void ClearSelection();
    bool IsSelected(int row) const;
    // The first selected row, or -1.
    int SelectedRow() const;

    // Removes the selected rows and renumbers. False when none was selected.
    bool DeleteSelected(std::int32_t durationMs);

    // Build mode only: exchanges the selected row whole ("No" included, no
    // renumbering: numbers travel with their rows until the next add or delete)
    // with the one above (up) or below; it stays selected. False when nothing
    // moved: split mode, no selection, or no neighbour.
    bool MoveSelected(bool up);

    // Split mode: every row's Loc and number, in list (time) order.
    std::vector<SplitMark> SplitMarks() const;

   private:
    struct Row {
        std::array<std::string, kListColumns> Cells;
        bool Selected = false;
    };
    void RenumberBuild();
    void RenumberSplit(std::int32_t durationMs);

    ListMode mode_;
    std::vector<Row> rows_;
};

}  // namespace kalvor

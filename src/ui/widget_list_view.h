#pragma once
// The list window's report list: text columns with titles, rows addressed by
// their display index from 0, no icons and no sorting by clicking a title. Row
// order is the order the output uses, so the list only reorders when asked to
// (SortByColumn, ExchangeSelected).
#include <QString>
#include <QWidget>
#include <vector>

#include "ui/widget_twips.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace kalvor {

// Narrower columns could not show their title; every width asked for is raised
// to at least this.
constexpr int kMinColumnWidthTwips = 450;

int ListColumnWidthTwips(int requestedTwips);

// The row that the selected row trades places with when moved up (or down), or
// -1 when nothing is selected or there is no neighbour on that side.
int ExchangeNeighbour(int selectedRow, int rowCount, bool up);

class ListView : public QWidget {
    Q_OBJECT
   public:
    explicit ListView(QWidget* parent = nullptr);

    void SetTwipsPerPixel(int twipsPerPixel);
    // Sets the title and width of column index, adding columns up to it.
    void SetColumn(int index, const QString& title, int widthTwips);
    int ColumnCount() const;
    QString ColumnTitle(int index) const;
    // The width in force, after the raise to kMinColumnWidthTwips.
    int ColumnWidthTwips(int index) const;

    // Appends a row of empty cells and returns its index (the last row).
    int AppendRow();
    int RowCount() const;
    // Out-of-range rows or columns are ignored (set) or read as empty (get).
    void SetCell(int row, int column, const QString& text);
    QString Cell(int row, int column) const;

    // The selected row (the current one when several are selected), or -1.
    int SelectedRow() const;
    // Selects just this row; -1 clears the selection.
    void SelectRow(int row);
    // Removes every selected row; none is selected afterwards, so a second press
    // of delete cannot remove a row the user never chose. Returns how many went.
    int DeleteSelectedRows();
    // Trades the selected row, all its cells, with the one above or below; the
    // moved row stays selected and in view. False when there was nothing to do.
    bool ExchangeSelected(bool up);
    void ScrollSelectionIntoView();
    // Orders the rows by the text of column, ascending by character code (stable,
    // so equal texts keep their order); the selected row stays selected.
    void SortByColumn(int column);
    void Repaint();

   signals:
    void RowDoubleClicked(int row);
    // Every key released while the list has the focus.
    void KeyReleased(int key, Qt::KeyboardModifiers modifiers);

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    QTreeWidgetItem* Row(int row) const;
    void ApplyColumnWidths();

    QTreeWidget* tree_;
    std::vector<int> widthsTwips_;
    int twipsPerPixel_ = kDefaultTwipsPerPixel;
};

}  // namespace kalvor

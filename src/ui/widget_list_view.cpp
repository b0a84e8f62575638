#include "ui/widget_list_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kalvor {

int ListColumnWidthTwips(int requestedTwips) {
    return std::max(requestedTwips, kMinColumnWidthTwips);
}

int ExchangeNeighbour(int selectedRow, int rowCount, bool up) {
    if (selectedRow < 0 || selectedRow >= rowCount) return -1;
    const int neighbour = up ? selectedRow - 1 : selectedRow + 1;
    return neighbour >= 0 && neighbour < rowCount ? neighbour : -1;
}

ListView::ListView(QWidget* parent) : QWidget(parent), tree_(new QTreeWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_);
    setFocusProxy(tree_);
    tree_->setColumnCount(0);
    tree_->setRootIsDecorated(false);
    tree_->setItemsExpandable(false);
    tree_->setUniformRowHeights(true);
    tree_->setAllColumnsShowFocus(true);
    tree_->setSortingEnabled(false);
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->header()->setSectionsClickable(false);
    tree_->header()->setSectionsMovable(false);
    tree_->header()->setStretchLastSection(false);
    // The style's minimum would widen the narrow number column past its width.
    tree_->header()->setMinimumSectionSize(1);
    tree_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    tree_->installEventFilter(this);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { emit RowDoubleClicked(tree_->indexOfTopLevelItem(item)); });
}

void ListView::SetTwipsPerPixel(int twipsPerPixel) {
    twipsPerPixel_ = UsableTwipsPerPixel(twipsPerPixel);
    ApplyColumnWidths();
}

void ListView::SetColumn(int index, const QString& title, int widthTwips) {
    if (index < 0) return;
    if (index >= ColumnCount()) {
        tree_->setColumnCount(index + 1);
        widthsTwips_.resize(index + 1, kMinColumnWidthTwips);
    }
    tree_->headerItem()->setText(index, title);
    widthsTwips_[index] = ListColumnWidthTwips(widthTwips);
    ApplyColumnWidths();
}

int ListView::ColumnCount() const {
    return tree_->columnCount();
}

QString ListView::ColumnTitle(int index) const {
    return index >= 0 && index < ColumnCount() ? tree_->headerItem()->text(index) : QString();
}

int ListView::ColumnWidthTwips(int index) const {
    return index >= 0 && index < ColumnCount() ? widthsTwips_[index] : 0;
}

void ListView::ApplyColumnWidths() {
    for (int i = 0; i < static_cast<int>(widthsTwips_.size()); ++i) {
        tree_->setColumnWidth(i, TwipsToPixels(widthsTwips_[i], twipsPerPixel_));
    }
}

int ListView::AppendRow() {
    auto* item = new QTreeWidgetItem(QStringList(std::max(ColumnCount(), 1), QString()));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    tree_->addTopLevelItem(item);
    return RowCount() - 1;
}

int ListView::RowCount() const {
    return tree_->topLevelItemCount();
}

QTreeWidgetItem* ListView::Row(int row) const {
    return row >= 0 && row < RowCount() ? tree_->topLevelItem(row) : nullptr;
}

void ListView::SetCell(int row, int column, const QString& text) {
    QTreeWidgetItem* item = Row(row);
    if (item != nullptr && column >= 0 && column < ColumnCount()) item->setText(column, text);
}

QString ListView::Cell(int row, int column) const {
    const QTreeWidgetItem* item = Row(row);
    return item != nullptr && column >= 0 ? item->text(column) : QString();
}

int ListView::SelectedRow() const {
    QTreeWidgetItem* current = tree_->currentItem();
    if (current != nullptr && current->isSelected()) return tree_->indexOfTopLevelItem(current);
    int first = -1;
    for (QTreeWidgetItem* item : tree_->selectedItems()) {
        const int row = tree_->indexOfTopLevelItem(item);
        if (first < 0 || row < first) first = row;
    }
    return first;
}

void ListView::SelectRow(int row) {
    QTreeWidgetItem* item = Row(row);
    if (item == nullptr) {
        tree_->clearSelection();
        return;
    }
    tree_->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int ListView::DeleteSelectedRows() {
    const QList<QTreeWidgetItem*> doomed = tree_->selectedItems();
    for (QTreeWidgetItem* item : doomed) delete item;
    tree_->clearSelection();
    return static_cast<int>(doomed.size());
}

bool ListView::ExchangeSelected(bool up) {
    const int selected = SelectedRow();
    const int neighbour = ExchangeNeighbour(selected, RowCount(), up);
    if (neighbour < 0) return false;
    QTreeWidgetItem* from = Row(selected);
    QTreeWidgetItem* to = Row(neighbour);
    for (int column = 0; column < ColumnCount(); ++column) {
        const QString moving = from->text(column);
        from->setText(column, to->text(column));
        to->setText(column, moving);
    }
    SelectRow(neighbour);
    ScrollSelectionIntoView();
    return true;
}

void ListView::ScrollSelectionIntoView() {
    if (QTreeWidgetItem* item = Row(SelectedRow())) tree_->scrollToItem(item);
}

void ListView::SortByColumn(int column) {
    if (column < 0 || column >= ColumnCount()) return;
    tree_->sortItems(column, Qt::AscendingOrder);
}

void ListView::Repaint() {
    tree_->viewport()->update();
}

bool ListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tree_ && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        emit KeyReleased(key->key(), key->modifiers());
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kalvor

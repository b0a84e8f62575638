// The list window's report list: the row operations the window relies on.
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "ui/widget_list_view.h"

using kalvor::ListView;

namespace {

// A three-column list with one row per entry of cells.
void Fill(ListView& list, const QList<QStringList>& rows) {
    list.SetColumn(0, "No", 300);
    list.SetColumn(1, "Loc", 1050);
    list.SetColumn(2, "Length", 1050);
    for (const QStringList& cells : rows) {
        const int row = list.AppendRow();
        for (int c = 0; c < cells.size(); ++c) list.SetCell(row, c, cells[c]);
    }
}

QStringList Column(const ListView& list, int column) {
    QStringList texts;
    for (int r = 0; r < list.RowCount(); ++r) texts << list.Cell(r, column);
    return texts;
}

QTreeWidget* Tree(ListView& list) {
    return list.findChild<QTreeWidget*>();
}

// Shows the list so that rows have places on screen to click.
bool Shown(ListView& list, int height = 200) {
    list.resize(300, height);
    list.show();
    return QTest::qWaitForWindowExposed(&list);
}

QPoint RowCentre(ListView& list, int row) {
    QTreeWidget* tree = Tree(list);
    return tree->visualItemRect(tree->topLevelItem(row)).center();
}

}  // namespace

class ListViewTest : public QObject {
    Q_OBJECT
   private slots:
    void widthsBelowTheMinimumAreRaised_data() {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("shown");
        QTest::newRow("No column") << 300 << 450;
        QTest::newRow("just below") << 449 << 450;
        QTest::newRow("at the minimum") << 450 << 450;
        QTest::newRow("time column") << 1050 << 1050;
        QTest::newRow("negative") << -30 << 450;
    }
    void widthsBelowTheMinimumAreRaised() {
        QFETCH(int, asked);
        QFETCH(int, shown);
        QCOMPARE(kalvor::ListColumnWidthTwips(asked), shown);
        ListView list;
        list.SetTwipsPerPixel(15);
        list.SetColumn(0, "No", asked);
        QCOMPARE(list.ColumnWidthTwips(0), shown);
        QCOMPARE(Tree(list)->columnWidth(0), shown / 15);
    }

    void neighbourOfTheSelectedRow_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("neighbour");
        QTest::newRow("middle up") << 1 << 3 << true << 0;
        QTest::newRow("middle down") << 1 << 3 << false << 2;
        QTest::newRow("first up") << 0 << 3 << true << -1;
        QTest::newRow("last down") << 2 << 3 << false << -1;
        QTest::newRow("nothing selected") << -1 << 3 << true << -1;
        QTest::newRow("stale selection") << 3 << 3 << true << -1;
        QTest::newRow("single row") << 0 << 1 << false << -1;
    }
    void neighbourOfTheSelectedRow() {
        QFETCH(int, selected);
        QFETCH(int, rows);
        QFETCH(bool, up);
        QFETCH(int, neighbour);
        QCOMPARE(kalvor::ExchangeNeighbour(selected, rows, up), neighbour);
    }

    void columnsHaveTheirTitles() {
        ListView list;
        Fill(list, {});
        QCOMPARE(list.ColumnCount(), 3);
        QCOMPARE(list.ColumnTitle(1), QString("Loc"));
        list.SetColumn(1, "From", 1050);
        QCOMPARE(list.ColumnTitle(1), QString("From"));
        QCOMPARE(list.ColumnCount(), 3);
    }

    void appendedRowsAreEmptyAndAddressable() {
        ListView list;
        Fill(list, {});
        QCOMPARE(list.AppendRow(), 0);
        QCOMPARE(list.AppendRow(), 1);
        QCOMPARE(list.RowCount(), 2);
        QCOMPARE(list.Cell(1, 2), QString());
        list.SetCell(list.RowCount() - 1, 1, "001'00.000");
        QCOMPARE(list.Cell(1, 1), QString("001'00.000"));
        list.SetCell(5, 0, "x");
        list.SetCell(0, 7, "x");
        QCOMPARE(list.Cell(5, 0), QString());
        QCOMPARE(list.Cell(0, 7), QString());
        QCOMPARE(list.Cell(-1, 0), QString());
    }

    void selectionIsReadAndSet() {
        ListView list;
        Fill(list, {{"01"}, {"02"}, {"03"}});
        QCOMPARE(list.SelectedRow(), -1);
        list.SelectRow(2);
        QCOMPARE(list.SelectedRow(), 2);
        list.SelectRow(-1);
        QCOMPARE(list.SelectedRow(), -1);
    }

    void deleteRemovesEverySelectedRowAndSelectsNothing() {
        ListView list;
        Fill(list, {{"01"}, {"02"}, {"03"}, {"04"}});
        QVERIFY(Shown(list));
        QWidget* viewport = Tree(list)->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, RowCentre(list, 1));
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, RowCentre(list, 3));
        QCOMPARE(list.DeleteSelectedRows(), 2);
        QCOMPARE(Column(list, 0), QStringList({"01", "03"}));
        QCOMPARE(list.SelectedRow(), -1);
        QCOMPARE(list.DeleteSelectedRows(), 0);
        QCOMPARE(list.RowCount(), 2);
    }

    void exchangeMovesWholeRowsAndKeepsTheSelection() {
        ListView list;
        Fill(list, {{"01", "000'10.000", "000'20.000"}, {"02", "000'05.000", "000'08.000"}, {"03", "a", "b"}});
        list.SelectRow(1);
        QVERIFY(list.ExchangeSelected(true));
        QCOMPARE(Column(list, 0), QStringList({"02", "01", "03"}));
        QCOMPARE(Column(list, 2), QStringList({"000'08.000", "000'20.000", "b"}));
        QCOMPARE(list.SelectedRow(), 0);
        QVERIFY(!list.ExchangeSelected(true));
        QCOMPARE(Column(list, 0), QStringList({"02", "01", "03"}));
        QVERIFY(list.ExchangeSelected(false));
        QVERIFY(list.ExchangeSelected(false));
        QCOMPARE(Column(list, 0), QStringList({"01", "03", "02"}));
        QCOMPARE(list.SelectedRow(), 2);
        QVERIFY(!list.ExchangeSelected(false));
        list.SelectRow(-1);
        QVERIFY(!list.ExchangeSelected(true));
        QCOMPARE(Column(list, 0), QStringList({"01", "03", "02"}));
    }

    void exchangeScrollsTheMovedRowIntoView() {
        ListView list;
        Fill(list, {});
        for (int i = 0; i < 40; ++i) list.SetCell(list.AppendRow(), 0, QString::number(i));
        QVERIFY(Shown(list, 120));
        list.SelectRow(0);
        for (int i = 0; i < 30; ++i) list.ExchangeSelected(false);
        QCOMPARE(list.SelectedRow(), 30);
        const QRect shown = Tree(list)->viewport()->rect();
        QVERIFY(shown.contains(RowCentre(list, 30)));
    }

    void sortOrdersByTextAscendingAndStably() {
        ListView list;
        Fill(list, {{"a", "002'00.000"}, {"b", "001'00.000"}, {"c", "010'00.000"}, {"d", "001'00.000"}});
        list.SelectRow(2);
        list.SortByColumn(1);
        QCOMPARE(Column(list, 1), QStringList({"001'00.000", "001'00.000", "002'00.000", "010'00.000"}));
        QCOMPARE(Column(list, 0), QStringList({"b", "d", "a", "c"}));
        QCOMPARE(list.Cell(list.SelectedRow(), 0), QString("c"));
        list.SortByColumn(9);
        QCOMPARE(Column(list, 0), QStringList({"b", "d", "a", "c"}));
    }

    void clickingATitleDoesNotSort() {
        ListView list;
        Fill(list, {{"02"}, {"01"}});
        QVERIFY(Shown(list));
        QHeaderView* header = Tree(list)->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(header->sectionPosition(0) + 5, header->height() / 2));
        QCOMPARE(Column(list, 0), QStringList({"02", "01"}));
    }

    void doubleClickReportsTheRow() {
        ListView list;
        Fill(list, {{"01"}, {"02"}});
        QVERIFY(Shown(list));
        QSignalSpy spy(&list, &ListView::RowDoubleClicked);
        // A real double click: press, release, then the double-click press and its release.
        QWidget* viewport = Tree(list)->viewport();
        const QPoint at = RowCentre(list, 1);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 1);
    }

    void keyReleasesAreForwarded() {
        ListView list;
        Fill(list, {{"01"}});
        QSignalSpy spy(&list, &ListView::KeyReleased);
        QTest::keyRelease(Tree(list), Qt::Key_F5);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), int(Qt::Key_F5));
    }
};

QTEST_MAIN(ListViewTest)
#include "widget_list_view_test.moc"

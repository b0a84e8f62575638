// The main window's time line and transport wired to their models: a Shift-drag
// on PictureSec selects in the document and shows the times, the view buttons
// zoom, a play key plays and the timer shows the play state and the cursor.
#include <QTest>

#include "ui/frm_main_fixture.h"
#include "ui/time_line_picture.h"
#include "ui/widget_button_strip.h"
#include "ui/widget_scroll_slider.h"

using namespace kalvor;
using namespace kalvor::test;

class FrmMainTimeLineTest : public QObject {
    Q_OBJECT

   private slots:
    void initTestCase() { UseTemporaryHome(); }

    void shiftDragSelectsAndShowsTheTimes() {
        WindowRun run;
        auto window = run.Start("\"" + run.Song("cbr128.mp3") + "\"");
        QVERIFY(window);
        QCOMPARE(window->PictureInfo()->Text(0), QString("000'20.0") + window->PictureInfo()->Text(0).mid(8));
        TimeLinePicture* sec = window->PictureSec();
        QVERIFY(!sec->CurrentDrawing().Ops.empty());
        const int t = window->TwipsPerPixel();
        QTest::mousePress(sec, Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(120, 10), sec->mapToGlobal(QPointF(120, 10)), Qt::NoButton,
                         Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(sec, &move);
        QTest::mouseRelease(sec, Qt::LeftButton, Qt::ShiftModifier, QPoint(120, 10));
        const Selection& sel = window->Doc().Sel;
        QVERIFY(sel.SelStart > 0);
        QVERIFY(sel.SelLength > 0);
        QCOMPARE(window->PictureInfo()->Text(1).toStdString(), MsToTimeText(sel.SelStartMs));
        QCOMPARE(window->PictureInfo()->Text(3).toStdString(), MsToTimeText(sel.SelLengthMs));
        // The end handle's picture follows the selection's end.
        QVERIFY(std::abs(window->PictureMark(1)->x() * t - (120 * t + 105)) <= 2 * t);

        window->EditorCtrl()->ButtonClicked(2, false);  // zoom in: the slider moves to the selection
        QVERIFY(window->SliderScroll()->Value() >= 0);

        QTest::keyRelease(window.get(), Qt::Key_F5);  // play the selection
        QTRY_VERIFY_WITH_TIMEOUT(window->PlayButtons()->ButtonState(2) == kButtonLit, 2000);
        QTRY_VERIFY_WITH_TIMEOUT(MessageText(*window).rfind("再生中", 0) == 0, 2000);
        QVERIFY(sec->CursorVisible());
        QTRY_VERIFY_WITH_TIMEOUT(MessageText(*window) == "再生停止", 5000);
        QVERIFY(!sec->CursorVisible());
        window->End();
    }
};

QTEST_MAIN(FrmMainTimeLineTest)
#include "frm_main_time_line_test.moc"

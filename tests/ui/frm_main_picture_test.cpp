// The main window's time line as painted: a selection made by a Shift-drag
// lights the picture under it and nowhere else. Set KALVOR_SELECTION_SHOT to a
// PNG path to keep a picture of the whole window (tools/screenshot.sh does).
#include <QTest>

#include "ui/frm_main_fixture.h"
#include "ui/time_line_picture.h"

using namespace kalvor;
using namespace kalvor::test;

class FrmMainPictureTest : public QObject {
    Q_OBJECT

   private slots:
    void initTestCase() { UseTemporaryHome(); }

    void aSelectionLightsThePictureUnderIt() {
        // The levels would light the picture too: here only the selection does.
        WindowRun run("[conf]\nShowLevels=0\n");
        const QByteArray song = qgetenv("KALVOR_SELECTION_SONG");
        auto window = run.Start("\"" + (song.isEmpty() ? run.Song("cbr128.mp3") : song.toStdString()) + "\"");
        QVERIFY(window);
        window->resize(640, 260);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        TimeLinePicture* sec = window->PictureSec();
        const int y = sec->height() - 4;  // below the tick labels
        const QImage before = sec->grab().toImage();
        QTest::mousePress(sec, Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(250, 10), sec->mapToGlobal(QPointF(250, 10)), Qt::NoButton,
                         Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(sec, &move);
        QTest::mouseRelease(sec, Qt::LeftButton, Qt::ShiftModifier, QPoint(250, 10));
        QVERIFY(window->Doc().Sel.SelLength > 0);
        const QImage after = sec->grab().toImage();
        QCOMPARE(before.pixel(175, y) & 0xFFFFFF, 0u);
        QVERIFY((after.pixel(175, y) & 0x606060) == 0x606060);
        QCOMPARE(after.pixel(20, y) & 0xFFFFFF, 0u);
        QCOMPARE(after.pixel(400, y) & 0xFFFFFF, 0u);

        const QByteArray shot = qgetenv("KALVOR_SELECTION_SHOT");
        if (!shot.isEmpty()) QVERIFY(window->grab().save(QString::fromLocal8Bit(shot)));
        window->End();
    }
};

QTEST_MAIN(FrmMainPictureTest)
#include "frm_main_picture_test.moc"

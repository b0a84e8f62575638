// Message boxes centred on their owner, and the version box's text.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include "services/qt/message_box.h"
#include "services/qt/screen_units.h"
#include "services/qt/version_info.h"

using namespace kalvor;

class MessageBoxTest : public QObject {
    Q_OBJECT

   private slots:
    void ownerCentre_data() {
        QTest::addColumn<QList<int>>("frameTwips");  // Left, Top, Width, Height
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("on screen") << QList<int>{1500, 3000, 9000, 6000} << 15 << 400 << 400;
        QTest::newRow("halves and pixels truncate") << QList<int>{7, 0, 15, 29} << 15 << 0 << 0;
        QTest::newRow("off the left and top") << QList<int>{-9000, -4500, 6000, 3000} << 15 << -400 << -200;
        QTest::newRow("12 twips per pixel") << QList<int>{1200, 1200, 2400, 2401} << 12 << 200 << 200;
    }
    void ownerCentre() {
        QFETCH(QList<int>, frameTwips);
        QFETCH(int, t);
        QFETCH(int, x);
        QFETCH(int, y);
        QCOMPARE(OwnerCentrePixels(frameTwips[0], frameTwips[1], frameTwips[2], frameTwips[3], t), (PixelPoint{x, y}));
    }

    void boxPosition_data() {
        QTest::addColumn<int>("centreX");
        QTest::addColumn<int>("centreY");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        // A 300 × 150 pixel box on a 1920 × 1080 pixel screen at 15 twips per pixel:
        // its bottom may reach (16200 - 600) / 15 = 1040, its right edge 1920.
        QTest::newRow("centred") << 960 << 540 << 810 << 465;
        QTest::newRow("owner at the bottom right") << 1800 << 1000 << 1620 << 890;
        QTest::newRow("bottom edge just fits") << 500 << 965 << 350 << 890;
        QTest::newRow("owner off the left and top") << -200 << -50 << 0 << 0;
        QTest::newRow("owner near the left and top") << 100 << 40 << 0 << 0;
    }
    void boxPosition() {
        QFETCH(int, centreX);
        QFETCH(int, centreY);
        QFETCH(int, x);
        QFETCH(int, y);
        QCOMPARE(MessageBoxPosition({centreX, centreY}, 300, 150, ScreenTwips{28800, 16200}, 15), (PixelPoint{x, y}));
    }

    void aRealBoxIsMovedNextToItsOwner() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const int t = TwipsPerPixel();
        QWidget owner;
        owner.setGeometry(screen.width() - 200, screen.height() - 100, 400, 300);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));

        QPoint shownAt(-1, -1);
        QSize shownSize;
        QString shownText;
        bool information = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            shownAt = box->pos();
            shownSize = box->size();
            shownText = box->text();
            information = box->icon() == QMessageBox::Information;
            box->defaultButton()->click();
        });
        QCOMPARE(CenteredMessageBox("line one\r\nline two", kStyleInformation, "caption", &owner), kButtonOk);
        QVERIFY(information);
        QCOMPARE(shownText, QString("line one\nline two"));
        const QRect frame = owner.frameGeometry();
        const PixelPoint expected = MessageBoxPosition(
            OwnerCentrePixels(frame.x() * t, frame.y() * t, frame.width() * t, frame.height() * t, t),
            shownSize.width(), shownSize.height(), ScreenSizeTwips(), t);
        QCOMPARE(shownAt, QPoint(expected.X, expected.Y));
        QVERIFY(shownAt.x() + shownSize.width() <= screen.width());
        QVERIFY(shownAt.y() + shownSize.height() <= screen.height() - 600 / t);
    }

    void versionNumbers_data() {
        QTest::addColumn<QList<int>>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("padded") << QList<int>{2, 5, 0} << "2.05.0000";
        QTest::newRow("wider fields keep their digits") << QList<int>{12, 345, 67890} << "12.345.67890";
    }
    void versionNumbers() {
        QFETCH(QList<int>, version);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(VersionNumberText({version[0], version[1], version[2]})), text);
    }

    void versionText() {
        const std::string body =
            "KalvorProject kalvor\r\n\r\nversion: 0.01.0000\r\n2024/01/02 03:04:05更新版\r\n\r\n"
            "computer name: studio";
        QCOMPARE(VersionInfoText("", "KalvorProject", {0, 1, 0}, "2024/01/02 03:04:05", "studio"), body);
        QCOMPARE(VersionInfoText("注意", "KalvorProject", {0, 1, 0}, "2024/01/02 03:04:05", "studio"),
                 "注意\r\n" + body);
        // Unknown time and machine: the lines stay, empty but for their fixed texts.
        QVERIFY(QString::fromStdString(VersionInfoText("", "KalvorProject", {0, 1, 0}, "", ""))
                    .endsWith("\r\n更新版\r\n\r\ncomputer name: "));
    }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"

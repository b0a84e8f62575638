// Window placement: the clamps of restored positions, broken settings that
// must not lose the window, and a maximized window's remembered geometry.
#include <QWidget>
#include <QtTest>

#include <memory>

#include "services/app_folder.h"
#include "services/qt/screen_units.h"
#include "services/qt/settings_store.h"
#include "services/qt/window_placement.h"
#include "support/test_support.h"
#include "support/text_file.h"

using namespace kalvor;

class WindowPlacementTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::TempDir> program_;
    static constexpr ScreenTwips kScreen{28800, 16200};  // 1920 × 1080 pixels at 15 twips per pixel

    void UseProfile(const std::string& text) {
        test::WriteText(program_->file("kalvor.ini"), text);
        ResetSettingsStoreChoice();
        QCOMPARE(ChooseSettingsStore(), SettingsStoreKind::ProfileFile);
    }

   private slots:
    void init() {
        program_ = std::make_unique<test::TempDir>();
        SetAppFolder(program_->path().string());
    }

    void plan_data() {
        QTest::addColumn<QStringList>("stored");   // Left, Top, Height, Width, State
        QTest::addColumn<QList<int>>("expected");  // Left, Top, Height, Width, State
        // The window now: at 1500, 900 twips, 4500 × 6000 twips, normal.
        QTest::newRow("restored as stored")
            << QStringList{"300", "450", "7200", "9000", "0"} << QList<int>{300, 450, 7200, 9000, 0};
        QTest::newRow("left beyond the screen")
            << QStringList{"28801", "450", "", "", ""} << QList<int>{0, 450, 4500, 6000, 0};
        QTest::newRow("left at the screen's edge")
            << QStringList{"28800", "16200", "", "", ""} << QList<int>{28800, 16200, 4500, 6000, 0};
        QTest::newRow("top above the screen")
            << QStringList{"300", "-50", "", "", ""} << QList<int>{300, 0, 4500, 6000, 0};
        QTest::newRow("height larger than the screen")
            << QStringList{"", "", "20000", "", ""} << QList<int>{1500, 900, 20000, 6000, 0};
        QTest::newRow("not numbers") << QStringList{"left", "12px", "tall", "", "max"}
                                     << QList<int>{1500, 900, 4500, 6000, 0};
        QTest::newRow("sizes of nothing")
            << QStringList{"", "", "0", "-3000", ""} << QList<int>{1500, 900, 4500, 6000, 0};
        QTest::newRow("absurd sizes") << QStringList{"", "", "1e30", "57601", ""}
                                      << QList<int>{1500, 900, 4500, 6000, 0};
        QTest::newRow("unknown state") << QStringList{"", "", "", "", "3"} << QList<int>{1500, 900, 4500, 6000, 0};
        QTest::newRow("maximized") << QStringList{"", "", "", "", "2"} << QList<int>{1500, 900, 4500, 6000, 2};
    }
    void plan() {
        QFETCH(QStringList, stored);
        QFETCH(QList<int>, expected);
        const WindowPlacement now{1500, 900, 4500, 6000, 0};
        const StoredPlacementText text{stored[0].toStdString(), stored[1].toStdString(), stored[2].toStdString(),
                                       stored[3].toStdString(), stored[4].toStdString()};
        const WindowPlacement plan = PlanWindowPlacement(now, text, kScreen, 15);
        QCOMPARE(plan.Left, expected[0]);
        QCOMPARE(plan.Top, expected[1]);
        QCOMPARE(plan.Height, static_cast<float>(expected[2]));
        QCOMPARE(plan.Width, static_cast<float>(expected[3]));
        QCOMPARE(int{plan.State}, expected[4]);
    }

    void aWindowIsRestoredOnTheScreen() {
        const ScreenTwips screen = ScreenSizeTwips();
        const int t = TwipsPerPixel();
        UseProfile("[conf]\nWindowLeft=" + std::to_string(screen.Width + t) +
                   "\nWindowTop=-50\nWindowHeight=4500\nWindowWidth=6000\nWindowState=0\n");
        QWidget window;
        window.move(40, 30);
        LoadWindowPlacement(&window, "");
        QCOMPARE(window.pos(), QPoint(0, 0));
        QCOMPARE(window.size(), QSize(6000 / t, 4500 / t));
    }

    void missingKeysAreFilledWithTheWindowsGeometry() {
        UseProfile("");
        const int t = TwipsPerPixel();
        QWidget window;
        window.move(10, 20);
        window.resize(300, 200);
        LoadWindowPlacement(&window, "List");
        QCOMPARE(window.pos(), QPoint(10, 20));
        const std::string expected = "[conf]\nWindowLeftList=" + std::to_string(10 * t) +
                                     "\nWindowTopList=" + std::to_string(20 * t) +
                                     "\nWindowHeightList=" + std::to_string(200 * t) +
                                     "\nWindowWidthList=" + std::to_string(300 * t) + "\nWindowStateList=0\n";
        QCOMPARE(test::ReadText(program_->file("kalvor.ini")), expected);
    }

    void aMaximizedWindowKeepsItsLastNormalGeometry() {
        UseProfile("");
        const int t = TwipsPerPixel();
        {
            QWidget window;
            window.move(50, 60);
            window.resize(320, 240);
            SaveWindowPlacement(&window, "");
            window.showMaximized();
            QVERIFY(window.isMaximized());
            SaveWindowPlacement(&window, "");
        }
        const std::string ini = test::ReadText(program_->file("kalvor.ini"));
        QVERIFY(ini.find("WindowLeft=" + std::to_string(50 * t) + "\n") != std::string::npos);
        QVERIFY(ini.find("WindowWidth=" + std::to_string(320 * t) + "\n") != std::string::npos);
        QVERIFY(ini.find("WindowState=2\n") != std::string::npos);

        QWidget reopened;
        LoadWindowPlacement(&reopened, "");
        QVERIFY(reopened.windowState() & Qt::WindowMaximized);
        QCOMPARE(reopened.pos(), QPoint(50, 60));
        QCOMPARE(reopened.size(), QSize(320, 240));
    }

    void skipsLeaveTheirPartAlone() {
        UseProfile("[conf]\nWindowLeft=1500\nWindowTop=1500\nWindowHeight=3000\nWindowWidth=3000\nWindowState=1\n");
        QWidget window;
        window.move(5, 6);
        window.resize(200, 100);
        LoadWindowPlacement(&window, "", true, true, false);
        QCOMPARE(window.pos(), QPoint(1500 / TwipsPerPixel(), 1500 / TwipsPerPixel()));
        QCOMPARE(window.size(), QSize(200, 100));
        QVERIFY(!window.isMinimized());
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"

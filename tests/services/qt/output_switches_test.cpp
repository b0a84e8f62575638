// The switch between repacked and exact outputs, read from the settings at start.
#include <QSettings>
#include <QtTest>

#include <memory>

#include "repack/exact_frames.h"
#include "services/app_folder.h"
#include "services/qt/output_switches.h"
#include "services/qt/settings_store.h"
#include "support/test_support.h"
#include "support/text_file.h"

using namespace kalvor;

class OutputSwitchesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::TempDir> program_;

   private slots:
    void exactFrames_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<bool>("exact");
        QTest::newRow("default") << "" << false;
        QTest::newRow("on") << "[conf]\nExactFrames=1\n" << true;
        QTest::newRow("off") << "[conf]\nExactFrames=0\n" << false;
        QTest::newRow("not a number") << "[conf]\nExactFrames=yes\n" << false;
    }
    void exactFrames() {
        QFETCH(QString, ini);
        QFETCH(bool, exact);
        program_ = std::make_unique<test::TempDir>();
        SetAppFolder(program_->path().string());
        ResetSettingsStoreChoice();
        test::WriteText(program_->file("kalvor.ini"), ini.toStdString());
        QCOMPARE(ChooseSettingsStore(), SettingsStoreKind::ProfileFile);
        SetExactFrames(!exact);
        ReadOutputSwitches();
        QCOMPARE(ExactFrames(), exact);
        SetExactFrames(false);
    }
};

QTEST_MAIN(OutputSwitchesTest)
#include "output_switches_test.moc"

// Starting other programs: the command line, the arguments a started program
// really gets, the volume mixer chosen, the register command's companion.
#include <QtTest>

#include <filesystem>
#include <memory>
#include <set>

#include "services/app_folder.h"
#include "services/qt/companion_programs.h"
#include "services/qt/identity.h"
#include "services/qt/settings_store.h"
#include "support/test_support.h"
#include "support/text_file.h"

using namespace kalvor;
namespace fs = std::filesystem;

namespace {
void MakeExecutable(const std::string& path, const std::string& script) {
    test::WriteText(path, script);
    fs::permissions(path, fs::perms::owner_all);
}
}  // namespace

class CompanionProgramsTest : public QObject {
    Q_OBJECT

   private slots:
    void commandLine_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("line");
        QTest::newRow("bare") << "/usr/bin/reg"
                              << ""
                              << ""
                              << "/usr/bin/reg";
        QTest::newRow("spaces in both") << "C:\\Program Files\\reg.exe"
                                        << "D:\\my take.mp3"
                                        << ""
                                        << "\"C:\\Program Files\\reg.exe\" \"D:\\my take.mp3\"";
        QTest::newRow("second argument unchanged") << "reg"
                                                   << "a.mp3"
                                                   << "/x \"y z\""
                                                   << "reg a.mp3 /x \"y z\"";
        QTest::newRow("second without first") << "reg"
                                              << ""
                                              << "-q"
                                              << "reg -q";
    }
    void commandLine() {
        QFETCH(QString, path);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, line);
        QCOMPARE(QString::fromStdString(CommandLineText(path.toStdString(), first.toStdString(), second.toStdString())),
                 line);
    }

    void aStartedProgramGetsItsArguments() {
#ifdef _WIN32
        QSKIP("uses a shell script");
#endif
        test::TempDir dir;
        fs::create_directory(dir.path() / "with space");
        const std::string program = (dir.path() / "with space" / "echo args").string();
        const std::string out = dir.file("args.txt");
        MakeExecutable(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + test::ShellQuote(out + ".tmp") + "\nmv " +
                                    test::ShellQuote(out + ".tmp") + " " + test::ShellQuote(out) + "\n");
        QVERIFY(RunProgram(program, "my take.mp3", 0, "-x \"y z\"") > 0);
        QTRY_VERIFY_WITH_TIMEOUT(fs::exists(out), 10000);
        QCOMPARE(test::ReadText(out), std::string("my take.mp3\n-x\ny z\n"));
    }

    void programsThatCannotStartGiveZero() {
        test::TempDir dir;
        QCOMPARE(RunProgram(dir.file("missing"), "a", 1, ""), 0);
        QCOMPARE(RunProgram("", "a", 1, ""), 0);
    }

    void volumeMixer_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("ownName");
        QTest::addColumn<QStringList>("files");   // existing files
        QTest::addColumn<QStringList>("onPath");  // programs on the search path
        QTest::addColumn<QString>("program");     // empty: none
        QTest::addColumn<QString>("argument");
        QTest::newRow("MixerApp") << "/opt/mix"
                                  << "kalvor" << QStringList{"/opt/mix", "/app/pegelor"} << QStringList{"pavucontrol"}
                                  << "/opt/mix"
                                  << "";
        QTest::newRow("MixerApp missing") << "/opt/mix"
                                          << "kalvor" << QStringList{"/app/pegelor"} << QStringList{} << "/app/pegelor"
                                          << "";
        QTest::newRow("the mixer itself skips itself")
            << ""
            << "Pegelor" << QStringList{"/app/pegelor"} << QStringList{"kmix"} << "/usr/bin/kmix"
            << "";
        QTest::newRow("desktop order") << ""
                                       << "kalvor" << QStringList{} << QStringList{"kmix", "pavucontrol-qt"}
                                       << "/usr/bin/pavucontrol-qt"
                                       << "";
        QTest::newRow("sound settings") << ""
                                        << "kalvor" << QStringList{} << QStringList{"gnome-control-center"}
                                        << "/usr/bin/gnome-control-center"
                                        << "sound";
        QTest::newRow("none") << ""
                              << "kalvor" << QStringList{} << QStringList{} << ""
                              << "";
    }
    void volumeMixer() {
#ifdef _WIN32
        QSKIP("the desktop mixers of Linux");
#endif
        QFETCH(QString, setting);
        QFETCH(QString, ownName);
        QFETCH(QStringList, files);
        QFETCH(QStringList, onPath);
        QFETCH(QString, program);
        QFETCH(QString, argument);
        MixerSearch search;
        search.MixerSetting = setting.toStdString();
        search.OwnName = ownName.toStdString();
        search.CompanionMixer = "/app/pegelor";
        search.SystemFolder = "/usr/bin/";
        search.FileExists = [&](const std::string& path) { return files.contains(QString::fromStdString(path)); };
        search.FindOnPath = [&](const std::string& name) {
            return onPath.contains(QString::fromStdString(name)) ? "/usr/bin/" + name : std::string();
        };
        const auto call = ChooseVolumeMixer(search);
        QCOMPARE(call.has_value(), !program.isEmpty());
        if (call) QCOMPARE(*call, (ProgramCall{program.toStdString(), argument.toStdString()}));
    }

    void theRegisterCompanion() {
        test::TempDir program;
        SetAppFolder(program.path().string());
        const std::string configured = program.file("configured");
        test::WriteText(program.file("kalvor.ini"), "[conf]\nRegApp=" + configured + "\n");
        ResetSettingsStoreChoice();
        QCOMPARE(ChooseSettingsStore(), SettingsStoreKind::ProfileFile);

        QCOMPARE(FindRegApp(), std::string());
        const std::string companion = program.file(kCompanionExecutable);
        test::WriteText(companion, "");
        QCOMPARE(FindRegApp(), companion);
        test::WriteText(configured, "");
        QCOMPARE(FindRegApp(), configured);
    }
};

QTEST_MAIN(CompanionProgramsTest)
#include "companion_programs_test.moc"

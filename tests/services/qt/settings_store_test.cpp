// The settings store: which store is chosen, what reading writes, plain-text
// values, the start-up switches read from it.
#include <unistd.h>
#include <QSettings>
#include <QtTest>

#include <filesystem>
#include <memory>

#include "services/app_folder.h"
#include "services/fault_trap.h"
#include "services/log.h"
#include "services/qt/diagnostic_switches.h"
#include "services/qt/profile_text.h"
#include "services/qt/program_folder.h"
#include "services/qt/settings_store.h"
#include "services/qt/user_folders.h"
#include "support/test_support.h"
#include "support/text_file.h"

using namespace kalvor;
namespace fs = std::filesystem;

namespace {
constexpr uid_t kNobody = 65534;

std::size_t FilesUnder(const fs::path& folder) {
    std::size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) ++count;
    return count;
}
}  // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::TempDir> program_, native_;

    std::string Ini() const { return program_->file("kalvor.ini"); }
    void UseProfile(const std::string& text) {
        test::WriteText(Ini(), text);
        QCOMPARE(ChooseSettingsStore(), SettingsStoreKind::ProfileFile);
    }

   private slots:
    void init() {
        program_ = std::make_unique<test::TempDir>();
        native_ = std::make_unique<test::TempDir>();
        SetAppFolder(program_->path().string());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(native_->path()));
        ResetSettingsStoreChoice();
        UseUserProfileFile("");
        SetNoErrorTrap(false);
        SetLogAll(0);
    }

    void withoutIniTheNativeStoreIsUsedAndReadingNeverWrites() {
        QCOMPARE(ChooseSettingsStore(), SettingsStoreKind::NativeStore);
        QCOMPARE(ReadSetting("LogError", std::int32_t{0}), std::string("0"));
        QCOMPARE(ReadSetting("RegApp", ""), std::string());
        QCOMPARE(ReadSetting("WindowHeight", 4500.5f), std::string("4500.5"));
        QCOMPARE(FilesUnder(native_->path()), std::size_t{0});
        QVERIFY(!fs::exists(Ini()));

        WriteSetting("WindowLeft", std::int32_t{-1234});
        WriteSetting("RegApp", "");
        QCOMPARE(ReadSetting("WindowLeft", std::int32_t{0}), std::string("-1234"));
        QCOMPARE(ReadSetting("RegApp", "default"), std::string());
        QVERIFY(!fs::exists(Ini()));
        QCOMPARE(FilesUnder(native_->path()), std::size_t{1});
    }

    void theChoiceHoldsUntilTheProgramEnds() {
        QCOMPARE(ChooseSettingsStore(), SettingsStoreKind::NativeStore);
        test::WriteText(Ini(), "");
        QCOMPARE(ChooseSettingsStore(), SettingsStoreKind::NativeStore);
        ReadSetting("LogError", std::int32_t{0});
        QCOMPARE(test::ReadText(Ini()), std::string());
    }

    void anEmptyIniIsFilledWithEveryKeyRead() {
        UseProfile("");
        ReadDiagnosticSwitches();
        QCOMPARE(ReadSetting("RegApp", ""), std::string());
        QCOMPARE(test::ReadText(Ini()), std::string("[conf]\nLogError=0\nErrorCatch=0\nRegApp=***\n"));
    }

    void emptyTextIsStoredAsTheMarker() {
        UseProfile("[conf]\nMixerApp=***\n");
        QCOMPARE(ReadSetting("MixerApp", "x"), std::string());
        WriteSetting("RegApp", std::string());
        QVERIFY(test::ReadText(Ini()).find("RegApp=***\n") != std::string::npos);
        QCOMPARE(ReadSetting("RegApp", "x"), std::string());
    }

    void aStoredIsDefaultCountsAsMissing() {
        UseProfile("[conf]\r\nLogError=ISDEFAULT\r\n");
        QCOMPARE(ReadSetting("LogError", std::int32_t{5}), std::string("5"));
        QCOMPARE(test::ReadText(Ini()), std::string("[conf]\r\nLogError=5\r\n"));
    }

    void valuesRoundTripAsPlainText_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("commas") << "C:\\Program Files\\a,b.exe";
        QTest::newRow("escapes stay") << "x\\ny\\t\\\\z";
        QTest::newRow("semicolon and equals") << "a;b=c";
        QTest::newRow("enclosing blanks") << "  padded  ";
        QTest::newRow("enclosing quotes") << "\"quoted\"";
        QTest::newRow("japanese") << "/home/利用者/登録.sh";
        QTest::newRow("at sign") << "@Variant(x)";
    }
    void valuesRoundTripAsPlainText() {
        QFETCH(QString, value);
        UseProfile("");
        WriteSetting("RegApp", value.toStdString());
        QCOMPARE(QString::fromStdString(ReadSetting("RegApp", "")), value);
    }

    void handWrittenFilesReadAsWritten() {
        UseProfile("; written by hand\n[Conf]\nregapp = C:\\Tools\\reg,app.exe \n\n[other]\nMixerApp=elsewhere\n");
        QCOMPARE(ReadSetting("RegApp", ""), std::string("C:\\Tools\\reg,app.exe"));
        QCOMPARE(ReadSetting("MixerApp", ""), std::string());
        WriteSetting("LogError", std::int32_t{1});
        QCOMPARE(test::ReadText(Ini()),
                 std::string("; written by hand\n[Conf]\nregapp = C:\\Tools\\reg,app.exe \nMixerApp=***\n"
                             "LogError=1\n\n[other]\nMixerApp=elsewhere\n"));
    }

    void anIniThatCannotBeReadIsNeverWritten() {
        const std::string text = "[conf]\nRegApp=/opt/companion\nWindowLeft=100\n";
        UseProfile(text);
        fs::permissions(Ini(), fs::perms::none);
        // Root reads every file: the reads and writes run as a user the
        // permissions hold for, with the folder open to it, so that only
        // reading stands in the way.
        fs::permissions(program_->path(), fs::perms::all);
        const bool asRoot = geteuid() == 0;
        if (asRoot && (setegid(kNobody) != 0 || seteuid(kNobody) != 0)) QSKIP("cannot act as an unprivileged user");
        const std::string logError = ReadSetting("LogError", std::int32_t{0});
        WriteSetting("WindowLeft", std::int32_t{5});
        if (asRoot && (seteuid(0) != 0 || setegid(0) != 0)) qFatal("cannot become root again");
        fs::permissions(Ini(), fs::perms::owner_read | fs::perms::owner_write);
        QCOMPARE(logError, std::string("0"));
        QCOMPARE(test::ReadText(Ini()), text);
    }

    void longValuesAreCutToTheProfileLimit() {
        const std::string value(300, 'v');
        UseProfile("");
        WriteSetting("RegApp", value);
        QCOMPARE(ReadSetting("RegApp", "").size(), kProfileValueLimit);
        QVERIFY(test::ReadText(Ini()).find(value) != std::string::npos);
        QCOMPARE(CutToChars("ああい", 2), std::string("ああ"));
    }

    void theProgramFolderIsTriedForWriting() {
        QVERIFY(FolderIsWritable(program_->path().string()));
        QVERIFY(!FolderIsWritable(program_->file("missing")));
        QCOMPARE(FilesUnder(program_->path()), std::size_t{0});
        const std::string chosen = ExecutableFolder();
        QCOMPARE(QString::fromStdString(chosen), QCoreApplication::applicationDirPath() + "/");
    }

    // A copy that cannot keep files beside itself (an installed one) keeps the
    // working files and log in the user's data folder and its settings in a
    // "kalvor.ini" of the user's config folder; a copy in a writable folder
    // keeps the program-folder rules.
    void anInstalledCopyUsesTheUsersFolders_data() {
        QTest::addColumn<QString>("ownFolder");
        QTest::addColumn<bool>("installed");
        QTest::newRow("build folder") << "" << false;
        QTest::newRow("system folder") << "/usr/bin" << true;
        QTest::newRow("missing folder") << "/nonexistent/bin" << true;
    }
    void anInstalledCopyUsesTheUsersFolders() {
        QFETCH(QString, ownFolder);
        QFETCH(bool, installed);
        const fs::path home = native_->path();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((home / "data").string()));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home / "config").string()));
        const std::string own = ownFolder.isEmpty() ? program_->path().string() : ownFolder.toStdString();
        SetAppFolder(own);
        QCOMPARE(IsInstalledCopy(AppFolder()), installed);
        if (installed) UseUserFolders();
        QCOMPARE(WorkFolder(), installed ? (home / "data" / "kalvor").string() + "/" : own + "/");
        QCOMPARE(ChooseSettingsStore(), installed ? SettingsStoreKind::ProfileFile : SettingsStoreKind::NativeStore);
        ReadSetting("LogError", std::int32_t{0});
        const std::string userIni = (home / "config" / "kalvor" / "kalvor.ini").string();
        QCOMPARE(fs::exists(userIni), installed);
        if (installed) QCOMPARE(test::ReadText(userIni), std::string("[conf]\nLogError=0\n"));
    }

    void numbersParse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "120" << true << 120;
        QTest::newRow("spaces and sign") << " +7 " << true << 7;
        QTest::newRow("negative") << "-50" << true << -50;
        QTest::newRow("half to even down") << "2.5" << true << 2;
        QTest::newRow("half to even up") << "3.5" << true << 4;
        QTest::newRow("exponent") << "1e3" << true << 1000;
        QTest::newRow("words") << "abc" << false << 0;
        QTest::newRow("trailing words") << "12px" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("not a number") << "nan" << false << 0;
        QTest::newRow("too large") << "99999999999" << false << 0;
    }
    void numbersParse() {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(int, value);
        const auto parsed = ParseSettingInt32(text.toStdString());
        QCOMPARE(parsed.has_value(), isNumber);
        if (isNumber) QCOMPARE(*parsed, value);
    }

    void diagnosticSwitches_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<bool>("ecFile");
        QTest::addColumn<bool>("noTrap");
        QTest::addColumn<int>("logAll");
        QTest::newRow("defaults") << "" << false << false << 0;
        QTest::newRow("ec.txt") << "[conf]\nErrorCatch=0\n" << true << true << 0;
        QTest::newRow("ErrorCatch") << "[conf]\nErrorCatch=1\nLogError=3\n" << false << true << 3;
        QTest::newRow("not numbers") << "[conf]\nErrorCatch=on\nLogError=yes\n" << false << false << 0;
    }
    void diagnosticSwitches() {
        QFETCH(QString, ini);
        QFETCH(bool, ecFile);
        QFETCH(bool, noTrap);
        QFETCH(int, logAll);
        UseProfile(ini.toStdString());
        if (ecFile) test::WriteText(program_->file("ec.txt"), "");
        ReadDiagnosticSwitches();
        QCOMPARE(NoErrorTrap(), noTrap);
        QCOMPARE(LogAll(), logAll);
        SetNoErrorTrap(false);
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "settings_store_test.moc"

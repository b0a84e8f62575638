// The main window's start and end: the command line, the program folder, the
// caption, the menus and controls as the user finds them, Qt's own texts, held
// keys, the register command shown only with a companion program, the
// placement kept between runs, the working files gone after closing, and one
// instance at a time, to which later starts hand their files.
#include <unistd.h>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>

#include "services/app_folder.h"
#include "services/qt/identity.h"
#include "services/qt/single_instance.h"
#include "ui/frm_main_fixture.h"
#include "ui/frm_main_rules.h"
#include "ui/held_key_guard.h"
#include "ui/widget_button_strip.h"
#include "ui/widget_scroll_slider.h"

using namespace kalvor;
using namespace kalvor::test;

namespace {

constexpr uid_t kNobody = 65534;

// A menu's items as "caption|shortcut", separators as "-".
QStringList Items(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            items << "-";
            continue;
        }
        items << action->text() + "|" + action->shortcut().toString(QKeySequence::PortableText);
    }
    return items;
}

// The kalvor program copied into run's program folder, so that it keeps its
// settings beside it there; empty text when the program is not built.
QString ProgramCopy(WindowRun& run) {
    const QString program = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../kalvor");
    const QString copy = QString::fromStdString(run.InProgram("kalvor"));
    return QFile::exists(program) && QFile::copy(program, copy) ? copy : QString();
}

// Starts program with arguments as a user who cannot make files in folder:
// this user after taking write access away, or, for root (who writes
// everywhere), the unprivileged user "nobody", given home for its own files.
bool StartWithoutWriteAccess(QProcess& process, const std::filesystem::path& folder, const std::filesystem::path& home,
                             const QString& program, const QStringList& arguments) {
    namespace fs = std::filesystem;
    if (geteuid() != 0) {
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        process.start(program, arguments);
        return process.waitForStarted();
    }
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty()) return false;
    for (const auto& entry : fs::recursive_directory_iterator(home))
        if (chown(entry.path().c_str(), kNobody, kNobody) != 0) return false;
    if (chown(home.c_str(), kNobody, kNobody) != 0) return false;
    process.start(setpriv, QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + arguments);
    return process.waitForStarted();
}

}  // namespace

class FrmMainStartTest : public QObject {
    Q_OBJECT

   private slots:
    void initTestCase() { UseTemporaryHome(); }

    void commandLine_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("opens");
        QTest::newRow("a path in double quotes") << "\"%1\""
                                                 << "my song.mp3" << true;
        QTest::newRow("quotes inside the path") << "\"%1"
                                                << "take 1.mp3" << true;
        QTest::newRow("two paths are one path") << "\"%1\" \"%1\""
                                                << "a.mp3" << false;
        QTest::newRow("no such file") << "%1.missing"
                                      << "b.mp3" << false;
        // %2: the name alone, as typed in the songs' folder.
        QTest::newRow("a path relative to the start folder") << "%2"
                                                             << "c.mp3" << true;
    }
    void commandLine() {
        QFETCH(QString, given);
        QFETCH(QString, name);
        QFETCH(bool, opens);
        WindowRun run;
        const std::string song = run.Song("cbr128.mp3", name.toStdString());
        QDir::setCurrent(QString::fromStdString(run.songs.path().string()));
        auto window =
            run.Start(QString(given).replace("%1", QString::fromStdString(song)).replace("%2", name).toStdString());
        QVERIFY(window);
        QCOMPARE(window->Doc().IsOpen(), opens);
        QCOMPARE(window->Doc().OrgFile(), opens ? song : std::string());
        QCOMPARE(window->Doc().AudioLength() > 0, opens);
        QCOMPARE(window->PictureInfo()->Text(0) != "000'00.000", opens);
    }

    // The reason stays on the line: no tick replaces it with the stopped state.
    void aFileRefusedAtStartSaysWhy_data() {
        QTest::addColumn<QString>("audio");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not MPEG") << "tone.wav"
                                  << "MPEGオーディオファイルではありません";
        QTest::newRow("MPEG 2.5") << "mpeg25.mp3"
                                  << "MPEG 2.5 のファイルは編集できません";
    }
    void aFileRefusedAtStartSaysWhy() {
        QFETCH(QString, audio);
        QFETCH(QString, reason);
        WindowRun run;
        auto window = run.Start(run.Song(audio.toStdString()));
        QVERIFY(window);
        QTest::qWait(500);
        QCOMPARE(QString::fromStdString(MessageText(*window)), reason);
    }

    void startMakesTheProgramFolderCurrentAndSetsTheCaption() {
        WindowRun run;
        auto window = run.Start();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(SamePath(AppFolder(), run.program.path().string()));
        QVERIFY(SamePath(QDir::currentPath().toStdString(), run.program.path().string()));
        QCOMPARE(window->windowTitle(), QString("kalvor - ") + kCompanyName);
        QCOMPARE(MessageText(*window), std::string());
    }

    void qtsOwnTextsAreJapanese_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("text");
        QTest::newRow("save dialog title") << "QFileDialog"
                                           << "Save As";
        QTest::newRow("look in") << "QFileDialog"
                                 << "Look in:";
        QTest::newRow("file name") << "QFileDialog"
                                   << "File &name:";
        QTest::newRow("files of type") << "QFileDialog"
                                       << "Files of type:";
        QTest::newRow("cancel button") << "QPlatformTheme"
                                       << "Cancel";
        QTest::newRow("text field menu") << "QLineEdit"
                                         << "&Undo";
    }
    void qtsOwnTextsAreJapanese() {
        QFETCH(QString, context);
        QFETCH(QString, text);
        WindowRun run;
        auto window = run.Start();
        QCOMPARE(QLocale().language(), QLocale::Japanese);
        const QString shown = QCoreApplication::translate(context.toUtf8().constData(), text.toUtf8().constData());
        QVERIFY2(shown != text, qPrintable(shown));
    }

    void menusHoldTheirCommandsInOrder_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("file") << 0 << "ファイル(&F)"
                              << QStringList{"開く|", "閉じる|", "上書き保存|", "名前をつけて保存|", "登録|"};
        QTest::newRow("edit") << 1 << "編集(&E)"
                              << QStringList{"再生|",
                                             "-",
                                             "削除|Del",
                                             "切り取り|Ctrl+X",
                                             "コピー|Ctrl+C",
                                             "貼り付け|Ctrl+V",
                                             "-",
                                             "すべて選択|Ctrl+A",
                                             "元に戻す|Ctrl+Z",
                                             "-",
                                             "ファイルを貼り付け|",
                                             "ファイルに書きだし|"};
        QTest::newRow("view") << 2 << "表示(&V)" << QStringList{"レベル表示|"};
        QTest::newRow("tools") << 3 << "ツール(&T)" << QStringList{"分割|", "ビルド|", "ミキサー|"};
        QTest::newRow("information") << 4 << "情報(&I)" << QStringList{"ファイル情報|", "バージョン情報|"};
    }
    void menusHoldTheirCommandsInOrder() {
        QFETCH(int, index);
        QFETCH(QString, title);
        QFETCH(QStringList, items);
        WindowRun run;
        auto window = run.Start();
        const QList<QAction*> bar = window->menuBar()->actions();
        QCOMPARE(bar.size(), 5);
        QCOMPARE(bar[index]->text(), title);
        QCOMPARE(Items(bar[index]->menu()), items);
    }

    void playMenuHasSevenEntriesTheFirstChecked() {
        WindowRun run;
        auto window = run.Start();
        QMenu* play = window->findChild<QMenu*>("MenuPlayP");
        QVERIFY(play);
        QCOMPARE(Items(play), (QStringList{"範囲内再生|", "範囲外再生|", "ループ再生|", "マークインまで|",
                                           "マークアウトまで|", "マークインから|", "マークアウトから|"}));
        for (int k = 0; k < kPlayModes; ++k) QCOMPARE(window->MenuPlay(k)->isChecked(), k == 0);
        // The last entry chosen keeps the mark, by menu or by its function key.
        window->MenuPlay(3)->trigger();
        QTest::keyRelease(window->PictureSec(), Qt::Key_F10);
        for (int k = 0; k < kPlayModes; ++k) QCOMPARE(window->MenuPlay(k)->isChecked(), k == 5);
    }

    void heldKeysActOnceWhenLetGo_data() {
        QTest::addColumn<bool>("listWindow");
        QTest::newRow("main window") << false;
        QTest::newRow("list window") << true;
    }
    void heldKeysActOnceWhenLetGo() {
        QFETCH(bool, listWindow);
        WindowRun run;
        auto window = run.Start(run.Song("cbr128.mp3"));
        QWidget* target = window->PictureSec();
        if (listWindow) {
            Command(*window, "MenuDivide")->trigger();
            target = window->ListWindow();
        }
        // A held key sends a release with every repeat; only letting it go counts.
        for (int repeat = 0; repeat < 3; ++repeat) {
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(target, &release);
        }
        QVERIFY(window->MenuPlay(0)->isChecked());
        QKeyEvent letGo(QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier);
        QApplication::sendEvent(target, &letGo);
        QVERIFY(window->MenuPlay(5)->isChecked());
    }

    void aReleaseWaitsForTheRepeatsPressWhereRepeatsComeUnmarked() {
        QWidget widget;
        std::vector<int> acted;
        HeldKeyGuard guard(
            [&](int key) {
                acted.push_back(key);
                return true;
            },
            nullptr, 50);
        const auto send = [&](QEvent::Type type, unsigned long time) {
            QKeyEvent event(type, Qt::Key_F5, Qt::NoModifier);
            event.setTimestamp(time);
            if (type == QEvent::KeyPress) QApplication::sendEvent(&widget, &event);
            if (type == QEvent::KeyRelease) QVERIFY(guard.Release(event));
        };
        // Held: each repeat's release is followed by a press at the same time.
        send(QEvent::KeyPress, 100);
        for (unsigned long time : {760ul, 800ul, 840ul}) {
            send(QEvent::KeyRelease, time);
            send(QEvent::KeyPress, time);
        }
        send(QEvent::KeyRelease, 870);
        QTest::qWait(150);
        QCOMPARE(acted, std::vector<int>{Qt::Key_F5});

        // Nor does a repeat's press run a shortcut: the widget takes it.
        const auto accepted = [&](QEvent::Type type, unsigned long time) {
            QKeyEvent event(type, Qt::Key_Delete, Qt::NoModifier);
            event.setTimestamp(time);
            event.ignore();
            QApplication::sendEvent(&widget, &event);
            return event.isAccepted();
        };
        accepted(QEvent::KeyRelease, 900);
        QVERIFY(accepted(QEvent::ShortcutOverride, 900));
        QVERIFY(!accepted(QEvent::ShortcutOverride, 1500));
    }

    void controlsAreSetUp() {
        WindowRun run;
        auto window = run.Start();
        const QStringList labels{"全体", "開始", "終了", "選択"};
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(window->PictureInfo()->Text(row + 4), labels[row]);
            QCOMPARE(window->PictureInfo()->Text(row), QString("000'00.000"));
        }
        QCOMPARE(window->PictureMes()->FieldCount(), 1);
        QCOMPARE(window->SliderScroll()->Max(), 8192);
        QCOMPARE(window->SliderScroll()->PointerSize(), 990);
        QCOMPARE(window->SliderScroll()->Value(), 0);
        QCOMPARE(window->PlayButtons()->ButtonCount(), 3);
        QCOMPARE(window->EditorCtrl()->ButtonCount(), 3);
        QVERIFY(window->PictureSec()->acceptDrops());
        QVERIFY(window->TimerMCI()->isActive());
        QCOMPARE(window->TimerMCI()->interval(), 50);
    }

    void windowPlacesItsControls() {
        WindowRun run;
        auto window = run.Start();
        window->resize(700, 300);
        QTRY_COMPARE(window->centralWidget()->width(), 700);
        const int t = window->TwipsPerPixel();
        QCOMPARE(window->PictureAll()->width(), (700 * t - 6 * t) / t);
        QCOMPARE(window->PictureSec()->geometry(), QRect(60 / t, 60 / t, (700 * t - 6 * t - 180) / t, 675 / t));
        QCOMPARE(window->PictureTool()->x(), (700 * t - 5940) / 2 / t);
        QCOMPARE(window->PictureMes()->geometry(), QRect(2055 / t, 270 / t, 3720 / t, 315 / t));
        QCOMPARE(window->PlayButtons()->geometry(), QRect(2055 / t, 735 / t, 1830 / t, 465 / t));
        QCOMPARE(window->EditorCtrl()->geometry(), QRect(3960 / t, 735 / t, 1830 / t, 465 / t));
    }

    void registerCommandNeedsACompanion_data() {
        QTest::addColumn<bool>("companion");
        QTest::newRow("none configured") << false;
        QTest::newRow("RegApp names a program") << true;
    }
    void registerCommandNeedsACompanion() {
        QFETCH(bool, companion);
        WindowRun run;
        if (companion) {
            const std::string program = run.InProgram("register.sh");
            WriteText(program, "#!/bin/sh\n");
            run.SetProfile("[conf]\nRegApp=" + program + "\n");
        }
        auto window = run.Start();
        QCOMPARE(window->MenuReg()->isVisible(), companion);
    }

    void keepTagsSettingDecidesWhetherTheDocumentKeepsTags_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<bool>("kept");
        QTest::newRow("not set") << "[conf]\n" << true;
        QTest::newRow("KeepTags=0") << "[conf]\nKeepTags=0\n" << false;
    }
    void keepTagsSettingDecidesWhetherTheDocumentKeepsTags() {
        QFETCH(QString, profile);
        QFETCH(bool, kept);
        WindowRun run(profile.toStdString());
        auto window = run.Start(run.Song("vbr_tags.mp3"));
        QCOMPARE(window->Doc().Rewriter() != nullptr, kept);
        QCOMPARE(window->Doc().Tags().Empty(), !kept);
    }

    void closingDeletesTheWorkingFiles() {
        WindowRun run;
        auto window = run.Start(run.Song("cbr128.mp3"));
        QVERIFY(window->Doc().IsOpen());
        window->Doc().Sel.SelectRange(100000, 200000);
        Command(*window, "MenuCopy")->trigger();
        Command(*window, "MenuDel0")->trigger();
        window->Doc().Sel.SelectRange(50000, 60000);
        Command(*window, "MenuDel0")->trigger();
        for (const char* name : {"clip.mp3", "temp.mp3", "undo.mp3"}) QVERIFY2(run.ProgramHas(name), name);
        QVERIFY(window->close());
        for (const char* name : {"clip.mp3", "temp.mp3", "undo.mp3", "work.mp3"}) QVERIFY2(!run.ProgramHas(name), name);
    }

    void reopeningRestoresThePlacement() {
        WindowRun run;
        QRect placed;
        {
            auto window = run.Start();
            window->setGeometry(123, 87, 655, 281);
            QTRY_COMPARE(window->geometry().size(), QSize(655, 281));
            placed = window->geometry();
            QVERIFY(window->close());
        }
        const std::string stored = ReadText(run.InProgram("kalvor.ini"));
        QVERIFY2(stored.find("WindowWidth=") != std::string::npos, stored.c_str());
        auto again = run.Start();
        QCOMPARE(again->geometry(), placed);
    }

    void placementThatIsNotNumbersLeavesTheWindowWhereItIs() {
        WindowRun first;
        QRect unplaced;
        {
            auto window = first.Start();
            unplaced = window->geometry();
        }
        WindowRun run("[conf]\nWindowLeft=left\nWindowTop=top\nWindowHeight=tall\nWindowWidth=wide\nWindowState=x\n");
        auto window = run.Start();
        QCOMPARE(window->geometry().size(), unplaced.size());
        QCOMPARE(window->windowState(), Qt::WindowNoState);
    }

    void aSecondStartHandsItsFileOver_data() {
        QTest::addColumn<bool>("listWindow");
        QTest::addColumn<bool>("exists");
        QTest::newRow("opened as a drop") << false << true;
        QTest::newRow("not under the list window's rows") << true << true;
        QTest::newRow("a missing file keeps the document") << false << false;
    }
    void aSecondStartHandsItsFileOver() {
        QFETCH(bool, listWindow);
        QFETCH(bool, exists);
        WindowRun run;
        const std::string song = run.Song("cbr128.mp3");
        auto window = run.Start(song);
        if (listWindow) Command(*window, "MenuDivide")->trigger();
        window->showMinimized();
        const std::string other = exists ? run.Song("vbr.mp3") : run.songs.file("typo.mp3");
        QVERIFY(HandOverToRunningInstance(other));
        QTRY_VERIFY(!window->isMinimized());
        const bool opens = exists && !listWindow;
        if (!opens) QTest::qWait(300);
        QTRY_COMPARE(window->Doc().OrgFile(), opens ? other : song);
    }

    void theProgramHandsARelativePathOverAndEnds() {
        WindowRun run;
        const QString copy = ProgramCopy(run);
        if (copy.isEmpty()) QSKIP("the kalvor program is not built");
        // A kalvor that crashed leaves its lock and its socket behind.
        QProcess crashed;
        crashed.start(copy, {});
        const QString socket = QString::fromStdString(InstanceServerName(DefaultInstanceLockPath()));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 20000);
        crashed.kill();
        QVERIFY(crashed.waitForFinished(5000));
        QVERIFY(QFile::exists(socket));
        // They keep no one out: the next start runs and takes the files of later starts.
        auto window = run.Start();
        QVERIFY(window);
        const std::string other = run.Song("mono.mp3", "other.mp3");
        QProcess second;
        second.setWorkingDirectory(QString::fromStdString(run.songs.path().string()));
        second.start(copy, {"other.mp3"});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(window->Doc().OrgFile(), other);
    }

    void aProgramFolderWithoutWriteAccessKeepsItsSettingsThere() {
        WindowRun run;
        const QString copy = ProgramCopy(run);
        if (copy.isEmpty()) QSKIP("the kalvor program is not built");
        // An installed copy: the settings beside the program ask for the log,
        // and a file the player cannot play writes to it.
        WriteText(run.InProgram("kalvor.ini"), "[conf]\nLogError=1\n");
        TempDir user;
        const std::string notes = user.file("notes.txt");
        WriteText(notes, "not audio");
        const std::string data = user.file("data");
        QProcess installed;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", QString::fromStdString(user.path().string()));
        env.insert("XDG_DATA_HOME", QString::fromStdString(data));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(user.file("config")));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(user.file("runtime")));
        installed.setProcessEnvironment(env);
        std::filesystem::create_directory(user.file("runtime"));
        std::filesystem::permissions(user.file("runtime"), std::filesystem::perms::owner_all);
        const QString log = QString::fromStdString(data + "/kalvor/log/kalvor.log");
        if (!StartWithoutWriteAccess(installed, run.program.path(), user.path(), copy, {QString::fromStdString(notes)}))
            QSKIP("no user without write access to the program folder");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log), 20000);
        installed.kill();
        installed.waitForFinished(5000);
        QVERIFY(!run.ProgramHas("log"));
    }
};

QTEST_MAIN(FrmMainStartTest)
#include "frm_main_start_test.moc"

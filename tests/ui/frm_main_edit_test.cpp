// The edit menu of the main window: every command from its menu item and from
// its shortcut with the message it leaves, paste from a file and write to a
// file through their dialogs, and the window taking no input while an edit runs.
#include <QMenu>
#include <QTimer>

#include "document/messages.h"
#include "support/audio_checkers.h"
#include "ui/frm_main_fixture.h"

using namespace kalvor;
using namespace kalvor::test;

namespace {

// What a row does before its command.
enum Setup { SelectMiddle, SelectNothing, ClipThenInsertionPoint, EditFirst, FreshlyOpened };
// What the command does to the audio's length.
enum Change { Shorter, Same, Longer };

void Prepare(FrmMain& window, int setup) {
    Document& doc = window.Doc();
    switch (setup) {
        case SelectMiddle: doc.Sel.SelectRange(100000, 200000); break;
        case ClipThenInsertionPoint:
            doc.Sel.SelectRange(100000, 150000);
            QCOMPARE(doc.Copy(), 1);
            doc.Sel.SelectRange(50000, 50000);
            break;
        case EditFirst:
            doc.Sel.SelectRange(100000, 200000);
            QCOMPARE(doc.Delete(), 1);
            break;
        default: break;
    }
}

// A key held down: its press, three presses repeated by the keyboard, its release.
void Hold(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    for (const bool repeated : {false, true, true, true})
        QTest::simulateEvent(target, true, key, modifiers, {}, repeated);
    QTest::simulateEvent(target, false, key, modifiers, {}, false);
}

std::unique_ptr<FrmMain> ActiveWindow(WindowRun& run, const std::string& song) {
    auto window = run.Start(song);
    if (!window || !SettleFirstTick(*window)) return nullptr;
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) return nullptr;
    window->PictureSec()->setFocus();
    return window;
}

}  // namespace

class FrmMainEditTest : public QObject {
    Q_OBJECT

   private slots:
    void initTestCase() { UseTemporaryHome(); }

    void command_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("byShortcut");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("setup");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("change");
        struct Row {
            const char* name;
            const char* item;
            QKeyCombination keys;
            int setup;
            const char* message;
            int change;
        };
        const Row rows[] = {
            {"delete", "MenuDel0", QKeyCombination(Qt::Key_Delete), SelectMiddle, msg::kDone, Shorter},
            {"cut", "MenuDel1", Qt::ControlModifier | Qt::Key_X, SelectMiddle, msg::kDone, Shorter},
            {"copy", "MenuCopy", Qt::ControlModifier | Qt::Key_C, SelectMiddle, msg::kDone, Same},
            {"paste", "MenuPaste", Qt::ControlModifier | Qt::Key_V, ClipThenInsertionPoint, msg::kDone, Longer},
            {"select all", "MenuSelectAll", Qt::ControlModifier | Qt::Key_A, SelectNothing, "", Same},
            {"undo", "MenuUndo", Qt::ControlModifier | Qt::Key_Z, EditFirst, msg::kUndone, Longer},
            {"copy with nothing selected", "MenuCopy", Qt::ControlModifier | Qt::Key_C, SelectNothing,
             msg::kNotSelected, Same},
            {"delete with nothing selected", "MenuDel0", QKeyCombination(Qt::Key_Delete), SelectNothing,
             msg::kNotSelected, Same},
            {"paste with an empty clipboard", "MenuPaste", Qt::ControlModifier | Qt::Key_V, FreshlyOpened, msg::kNoData,
             Same},
        };
        for (const Row& row : rows) {
            for (bool byShortcut : {false, true}) {
                QTest::addRow("%s by %s", row.name, byShortcut ? "shortcut" : "menu")
                    << row.item << byShortcut << QKeySequence(row.keys) << row.setup << QString::fromUtf8(row.message)
                    << row.change;
            }
        }
    }
    void command() {
        QFETCH(QString, item);
        QFETCH(bool, byShortcut);
        QFETCH(QKeySequence, keys);
        QFETCH(int, setup);
        QFETCH(QString, message);
        QFETCH(int, change);
        WindowRun run;
        auto window = ActiveWindow(run, run.Song("cbr128.mp3"));
        QVERIFY(window);
        Prepare(*window, setup);
        const std::int32_t before = window->Doc().AudioLength();
        window->DispMes("");
        if (byShortcut) {
            QTest::keySequence(window->PictureSec(), keys);
        } else {
            Command(*window, item.toUtf8().constData())->trigger();
        }
        QCOMPARE(QString::fromStdString(MessageText(*window)), message);
        const std::int32_t after = window->Doc().AudioLength();
        QCOMPARE(after < before ? Shorter : after > before ? Longer : Same, change);
        if (item == "MenuSelectAll") {
            QCOMPARE(window->Doc().Sel.SelStart, 1);
            QCOMPARE(window->Doc().Sel.SelEnd, after);
            QCOMPARE(window->PictureInfo()->Text(3), window->PictureInfo()->Text(0));
        }
        if (change != Same) QVERIFY(BrokenFrameWarnings(window->Doc().CurFile()).empty());
    }

    void aHeldShortcutActsOnce() {
        WindowRun run;
        auto window = ActiveWindow(run, run.Song("cbr128.mp3"));
        QVERIFY(window);
        Document& doc = window->Doc();
        const std::int32_t whole = doc.AudioLength();
        Prepare(*window, SelectMiddle);
        Hold(window->PictureSec(), Qt::Key_Delete, Qt::NoModifier);
        QVERIFY(doc.AudioLength() < whole);
        QCOMPARE(MessageText(*window), std::string(msg::kDone));
        // Four presses of the toggling undo would end on the edit again.
        Hold(window->PictureSec(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(doc.AudioLength(), whole);
    }

    void pasteFromFileTakesTheChosenFile() {
        WindowRun run;
        auto window = run.Start(run.Song("cbr128.mp3"));
        QVERIFY(SettleFirstTick(*window));
        DialogAnswers answers;
        const std::int32_t before = window->Doc().AudioLength();
        window->Doc().Sel.SelectRange(80000, 80000);
        answers.AnswerFileDialog(run.Song("cbr128_plain.mp3"));
        Command(*window, "MenuPasteEx")->trigger();
        QCOMPARE(answers.FileDialogs.size(), 1u);
        QCOMPARE(answers.FileDialogs[0].Save, false);
        QCOMPARE(answers.FileDialogs[0].Filter, std::string(kMpegAudioFilter));
        QCOMPARE(answers.FileDialogs[0].Flags, kOpenDialogFlags);
        QCOMPARE(MessageText(*window), std::string(msg::kDone));
        QVERIFY(window->Doc().AudioLength() > before);
        QVERIFY(BrokenFrameWarnings(window->Doc().CurFile()).empty());

        // Cancelled, or a name that is no file: nothing changes.
        const std::int32_t pasted = window->Doc().AudioLength();
        answers.AnswerFileDialog("");
        answers.AnswerFileDialog(run.songs.file("nothing.mp3"));
        window->DispMes("");
        Command(*window, "MenuPasteEx")->trigger();
        Command(*window, "MenuPasteEx")->trigger();
        QCOMPARE(window->Doc().AudioLength(), pasted);
        QCOMPARE(MessageText(*window), std::string());
    }

    void pasteFromFileWithNoDocumentOpensTheFile() {
        WindowRun run;
        auto window = run.Start();
        DialogAnswers answers;
        const std::string song = run.Song("vbr.mp3");
        answers.AnswerFileDialog(song);
        Command(*window, "MenuPasteEx")->trigger();
        QCOMPARE(window->Doc().OrgFile(), song);
        QVERIFY(window->Doc().AudioLength() > 0);
    }

    void writeToFileWritesTheSelection() {
        WindowRun run;
        const std::string song = run.Song("cbr128.mp3");
        auto window = run.Start(song);
        QVERIFY(SettleFirstTick(*window));
        DialogAnswers answers;
        window->Doc().Sel.SelectRange(50000, 150000);
        answers.AnswerFileDialog(run.songs.file("piece"));
        Command(*window, "MenuWriteToFile")->trigger();
        QCOMPARE(answers.FileDialogs.size(), 1u);
        QCOMPARE(answers.FileDialogs[0].Save, true);
        QCOMPARE(answers.FileDialogs[0].Flags, kSaveDialogFlags);
        QCOMPARE(MessageText(*window), std::string(msg::kDone));
        const std::string piece = run.songs.file("piece.mp3");
        QVERIFY(SizeOf(piece) > 90000 && SizeOf(piece) < 110000);
        QVERIFY(BrokenFrameWarnings(piece).empty());
        QCOMPARE(window->Doc().CurFile(), song);
    }

    void writeToFileRefusesWithoutSelectionOrOntoTheDocument() {
        WindowRun run;
        const std::string song = run.Song("cbr128.mp3");
        const std::uintmax_t size = SizeOf(song);
        auto window = run.Start(song);
        QVERIFY(SettleFirstTick(*window));
        DialogAnswers answers;
        Command(*window, "MenuWriteToFile")->trigger();
        QCOMPARE(MessageText(*window), std::string(msg::kNotSelected));
        QCOMPARE(answers.FileDialogs.size(), 0u);

        window->Doc().Sel.SelectRange(50000, 150000);
        answers.AnswerFileDialog(song);
        Command(*window, "MenuWriteToFile")->trigger();
        QCOMPARE(MessageText(*window), std::string(msg::kOwnFile));
        QCOMPARE(SizeOf(song), size);
    }

    void inputIsBlockedWhileAnEditRuns() {
        WindowRun run;
        auto window = ActiveWindow(run, run.Song("cbr128.mp3"));
        QVERIFY(window);
        const std::string orgFile = window->Doc().OrgFile();
        const std::string other = run.Song("vbr.mp3");
        window->Doc().Sel.SelectRange(100000, 200000);

        bool ranInside = false;
        bool blocked = false;
        std::string refusal;
        bool closed = true;
        QTimer::singleShot(0, window.get(), [&] {
            ranInside = window->Doc().Running();
            blocked = window->InputBlocked();
            // The user's hands: a shortcut, a right click, a dropped file, a
            // function key queued for later. None of them may act.
            QTest::keyClick(window->PictureSec(), Qt::Key_Z, Qt::ControlModifier);
            QTest::mouseClick(window->PictureSec(), Qt::RightButton);
            DropFiles(window->PictureSec(), {other});
            QCoreApplication::postEvent(window->PictureSec(),
                                        new QKeyEvent(QEvent::KeyRelease, Qt::Key_F7, Qt::NoModifier));
            // A command started from code inside the edit is refused.
            const std::string before = MessageText(*window);
            Command(*window, "MenuUndo")->trigger();
            refusal = MessageText(*window);
            window->DispMes(before);
            // Closing now would delete the working files under the edit.
            closed = window->close();
        });
        // The window keeps painting its progress while the edit runs.
        QStringList shown;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            const QString text = QString::fromStdString(MessageText(*window));
            if (window->Doc().Running() && !shown.contains(text)) shown << text;
        });
        watch.start(0);
        Command(*window, "MenuDel0")->trigger();
        watch.stop();
        QCoreApplication::processEvents();

        QVERIFY(ranInside);
        QVERIFY(blocked);
        QVERIFY2(shown.contains(QString::fromUtf8(msg::kDeleting)), qPrintable(shown.join(", ")));
        QCOMPARE(refusal, std::string(msg::kBusy));
        QVERIFY(!closed);
        QVERIFY(window->isVisible());
        QCOMPARE(MessageText(*window), std::string(msg::kDone));
        QVERIFY(!window->InputBlocked());
        QCOMPARE(window->Doc().OrgFile(), orgFile);
        QVERIFY(run.ProgramHas("temp.mp3"));
        QVERIFY(!run.ProgramHas("undo.mp3"));
        QVERIFY(!window->MenuMenu()->isVisible());
        QVERIFY(window->MenuPlay(0)->isChecked());

        // Afterwards the window listens again.
        QTest::keyClick(window->PictureSec(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(MessageText(*window), std::string(msg::kUndone));
    }

    void rightClickOnTheTimeLineShowsTheEditMenu() {
        WindowRun run;
        auto window = run.Start();
        QTest::mouseClick(window->PictureSec(), Qt::RightButton);
        QTRY_VERIFY(window->MenuMenu()->isVisible());
        window->MenuMenu()->hide();
    }
};

QTEST_MAIN(FrmMainEditTest)
#include "frm_main_edit_test.moc"

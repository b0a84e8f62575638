// The file and information menus of the main window: open, close, save as and
// overwrite through their dialogs, a file dropped on the time line, the file
// information and version boxes, and the hand-over to the companion program.
#include "document/messages.h"
#include "services/app_folder.h"
#include "support/audio_checkers.h"
#include "ui/frm_main_fixture.h"

using namespace kalvor;
using namespace kalvor::test;

namespace {

// Makes a companion program that writes its argument to a file, configures it
// as "RegApp" of the run, and returns that file's path.
std::string UseRecordingCompanion(WindowRun& run) {
    const std::string received = run.songs.file("received.txt");
    const std::string companion = run.songs.file("companion.sh");
    WriteText(companion, "#!/bin/sh\nprintf '%s' \"$1\" > '" + received + "'\n");
    std::filesystem::permissions(companion, std::filesystem::perms::owner_all);
    run.SetProfile("[conf]\nRegApp=" + companion + "\n");
    return received;
}

}  // namespace

class FrmMainFileTest : public QObject {
    Q_OBJECT

   private slots:
    void initTestCase() { UseTemporaryHome(); }

    void openAsksForAnMpegFile_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("opens");
        QTest::newRow("an mp3 file") << "vbr.mp3" << true;
        QTest::newRow("an mp2 file") << "mp2_48k.mp2" << true;
        QTest::newRow("cancelled") << "" << false;
        QTest::newRow("no such file") << "missing.mp3" << false;
    }
    void openAsksForAnMpegFile() {
        QFETCH(QString, answer);
        QFETCH(bool, opens);
        WindowRun run;
        const std::string first = run.Song("cbr128.mp3");
        auto window = run.Start(first);
        DialogAnswers answers;
        std::string chosen;
        if (answer == "missing.mp3") {
            chosen = run.songs.file("missing.mp3");
        } else if (!answer.isEmpty()) {
            chosen = run.Song(answer.toStdString());
        }
        answers.AnswerFileDialog(chosen);
        Command(*window, "MenuFileOpen")->trigger();
        QCOMPARE(answers.FileDialogs.size(), 1u);
        QCOMPARE(answers.FileDialogs[0].Save, false);
        QCOMPARE(answers.FileDialogs[0].Filter, std::string(kMpegAudioFilter));
        QVERIFY(SamePath(answers.FileDialogs[0].InitialFolder, run.songs.path().string()));
        QCOMPARE(answers.FileDialogs[0].InitialName, std::string());
        QCOMPARE(answers.FileDialogs[0].Flags, kOpenDialogFlags);
        QCOMPARE(window->Doc().OrgFile(), opens ? chosen : first);
        QVERIFY(window->Doc().AudioLength() > 0);
    }

    void dialogsOpenInTheDocumentsFolderOrTheLastOneUsed() {
        WindowRun run;
        TempDir elsewhere;
        auto window = run.Start();
        DialogAnswers answers;
        answers.AnswerFileDialog(run.Song("cbr128.mp3"));
        Command(*window, "MenuFileOpen")->trigger();
        answers.AnswerFileDialog(elsewhere.file("copy.mp3"));
        Command(*window, "MenuFileSaveAs")->trigger();
        Command(*window, "MenuFileClose")->trigger();
        Command(*window, "MenuFileOpen")->trigger();
        QCOMPARE(answers.FileDialogs.size(), 3u);
        // Never the folder made current at start, which holds the working files.
        QVERIFY(!SamePath(answers.FileDialogs[0].InitialFolder, run.program.path().string()));
        QVERIFY(SamePath(answers.FileDialogs[1].InitialFolder, run.songs.path().string()));
        QVERIFY(SamePath(answers.FileDialogs[2].InitialFolder, elsewhere.path().string()));
    }

    void closeEndsTheDocument() {
        WindowRun run;
        auto window = run.Start(run.Song("cbr128.mp3"));
        QVERIFY(SettleFirstTick(*window));
        window->Doc().Sel.SelectRange(100000, 200000);
        Command(*window, "MenuDel1")->trigger();
        QVERIFY(run.ProgramHas("clip.mp3") && run.ProgramHas("temp.mp3"));
        Command(*window, "MenuFileClose")->trigger();
        QVERIFY(!window->Doc().IsOpen());
        QVERIFY(!run.ProgramHas("clip.mp3") && !run.ProgramHas("temp.mp3"));
        QCOMPARE(window->PictureInfo()->Text(0), QString("000'00.000"));
        // The player is still stopped, and the status line says so at once.
        QCOMPARE(MessageText(*window), std::string("再生停止"));
        window->OpenFile(run.Song("mono.mp3"));
        QCOMPARE(MessageText(*window), std::string("再生停止"));
        // The clipboard went with the document.
        window->OpenFile(run.Song("vbr.mp3"));
        Command(*window, "MenuPaste")->trigger();
        QCOMPARE(MessageText(*window), std::string(msg::kNoData));
    }

    void saveAsWritesTheEditedVersion() {
        WindowRun run;
        auto window = run.Start(run.Song("cbr128.mp3"));
        DialogAnswers answers;
        window->Doc().Sel.SelectRange(100000, 200000);
        Command(*window, "MenuDel0")->trigger();
        window->Doc().Sel.SelectRange(20000, 60000);
        Command(*window, "MenuDel0")->trigger();
        const std::int32_t edited = window->Doc().AudioLength();
        answers.AnswerFileDialog(run.songs.file("edited"));
        Command(*window, "MenuFileSaveAs")->trigger();
        QCOMPARE(answers.FileDialogs.size(), 1u);
        QCOMPARE(answers.FileDialogs[0].Save, true);
        QCOMPARE(answers.FileDialogs[0].Flags, kSaveDialogFlags);
        const std::string saved = run.songs.file("edited.mp3");
        QCOMPARE(window->Doc().OrgFile(), saved);
        QCOMPARE(window->Doc().CurFile(), saved);
        QVERIFY(BrokenFrameWarnings(saved).empty());
        QCOMPARE(Mp3valFrameCount(saved), Mp3valFrameCount(window->Doc().Working().TempFile));
        // The versions stay: undo still goes back to the version before.
        QVERIFY(run.ProgramHas("temp.mp3") && run.ProgramHas("undo.mp3"));
        Command(*window, "MenuUndo")->trigger();
        QVERIFY(window->Doc().AudioLength() > edited);
        // A cancelled dialog saves nothing.
        answers.AnswerFileDialog("");
        Command(*window, "MenuFileSaveAs")->trigger();
        QVERIFY(!std::filesystem::exists(run.songs.file(".mp3")));
    }

    void overwriteReplacesTheOpenedFileOnlyAfterAnEdit() {
        WindowRun run;
        const std::string song = run.Song("cbr128.mp3");
        const std::uintmax_t original = SizeOf(song);
        auto window = run.Start(song);
        Command(*window, "MenuOverwrite")->trigger();
        QCOMPARE(SizeOf(song), original);
        window->Doc().Sel.SelectRange(100000, 200000);
        Command(*window, "MenuDel0")->trigger();
        const std::uintmax_t edited = SizeOf(window->Doc().CurFile());
        Command(*window, "MenuOverwrite")->trigger();
        QCOMPARE(SizeOf(song), edited);
        QVERIFY(edited < original);
        QVERIFY(BrokenFrameWarnings(song).empty());
        QCOMPARE(window->Doc().CurFile(), song);
    }

    void aFileDroppedOnTheTimeLineOpens() {
        WindowRun run;
        auto window = run.Start(run.Song("cbr128.mp3"));
        const std::string first = run.Song("vbr.mp3");
        DropFiles(window->PictureSec(), {first, run.Song("mono.mp3")});
        QCOMPARE(window->Doc().OrgFile(), first);
        QVERIFY(window->Doc().AudioLength() > 0);
    }

    void fileInformationShowsTheCurrentVersion() {
        WindowRun run;
        auto window = run.Start();
        DialogAnswers answers;
        Command(*window, "MenuFileInfo")->trigger();
        QCOMPARE(answers.MessageBoxes.size(), 1u);
        QCOMPARE(answers.MessageBoxes[0].Caption, std::string("ファイル情報"));
        QCOMPARE(answers.MessageBoxes[0].Text, std::string());

        window->OpenFile(run.Song("cbr128.mp3"));
        window->Doc().Sel.SelectRange(100000, 200000);
        Command(*window, "MenuDel0")->trigger();
        Command(*window, "MenuFileInfo")->trigger();
        QCOMPARE(answers.MessageBoxes.size(), 2u);
        const MessageBoxRequest& box = answers.MessageBoxes[1];
        QCOMPARE(box.Caption, std::string("ファイル情報"));
        QCOMPARE(box.Style, kStyleInformation);
        QCOMPARE(box.Owner, static_cast<QWidget*>(window.get()));
        QVERIFY2(box.Text.find(window->Doc().CurFile()) == 0, box.Text.c_str());
        QVERIFY2(box.Text.find("44100Hz/128kbps") != std::string::npos, box.Text.c_str());
        // The type as the platform names it, in the interface's language.
        QVERIFY2(box.Text.find("\r\nMP3 オーディオ\r\n") != std::string::npos, box.Text.c_str());
    }

    void versionInformationIsShown() {
        WindowRun run;
        auto window = run.Start();
        DialogAnswers answers;
        Command(*window, "MenuInfo")->trigger();
        QCOMPARE(answers.MessageBoxes.size(), 1u);
        QCOMPARE(answers.MessageBoxes[0].Caption, std::string("バージョン情報"));
        QVERIFY(answers.MessageBoxes[0].Text.find("version: ") != std::string::npos);
    }

    void registerHandsTheCurrentVersionToTheCompanion() {
        WindowRun run;
        const std::string received = UseRecordingCompanion(run);
        const std::string song = run.Song("cbr128.mp3", "take 1.mp3");
        auto window = run.Start(song);
        QVERIFY(window->MenuReg()->isVisible());
        window->Doc().Sel.SelectRange(100000, 200000);
        Command(*window, "MenuDel0")->trigger();
        const std::uintmax_t edited = SizeOf(window->Doc().CurFile());

        Command(*window, "MenuReg")->trigger();
        const std::string target = WorkFolder() + "take 1.mp3";
        QCOMPARE(SizeOf(target), edited);
        QCOMPARE(window->Doc().OrgFile(), target);
        QTRY_COMPARE_WITH_TIMEOUT(ReadText(received), target, 10000);
    }

    void registerWithoutADocumentDoesNothing() {
        WindowRun run;
        const std::string received = UseRecordingCompanion(run);
        // A file of an earlier run is no version of this document.
        WriteText(run.InProgram("new.mpg"), "old");
        auto window = run.Start();
        Command(*window, "MenuReg")->trigger();
        QTest::qWait(300);
        QVERIFY(!std::filesystem::exists(received));
        QVERIFY(!window->Doc().IsOpen());
    }
};

QTEST_MAIN(FrmMainFileTest)
#include "frm_main_file_test.moc"

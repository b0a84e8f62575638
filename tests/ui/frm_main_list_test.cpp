// The list window opened from the main window: "分割" and "ビルド" open it once,
// the editing menus are off while it is open, split points come from
// selections made on the time line, the output's pieces rebuild the document's
// audio, and the time line shows the split marks only while the list is open.
#include <QMenu>
#include <QTest>

#include <algorithm>

#include "services/basic.h"
#include "support/audio_checkers.h"
#include "support/dialog_answers.h"
#include "support/file_pieces.h"
#include "ui/frm_list.h"
#include "ui/frm_main_fixture.h"
#include "ui/time_line_picture.h"
#include "ui/widget_button_strip.h"

using namespace kalvor;
using namespace kalvor::test;

namespace {

// A Shift-drag on the time line from x to x + 10 pixels.
void SelectByDrag(FrmMain& window, int x) {
    TimeLinePicture* sec = window.PictureSec();
    QTest::mousePress(sec, Qt::LeftButton, Qt::ShiftModifier, QPoint(x, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(x + 10, 10), sec->mapToGlobal(QPointF(x + 10, 10)), Qt::NoButton,
                     Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(sec, &move);
    QTest::mouseRelease(sec, Qt::LeftButton, Qt::ShiftModifier, QPoint(x + 10, 10));
}

void Press(FrmList& list, int button) {
    ButtonStrip* strip = list.CtrButtons();
    const QPoint at(StripButtonLeft(button, strip->width(), strip->ButtonCount()) + 6, strip->height() / 2);
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, at);
}

int SplitMarks(FrmMain& window) {
    const auto& ops = window.PictureSec()->CurrentDrawing().Ops;
    return static_cast<int>(
        std::count_if(ops.begin(), ops.end(), [](const DrawOp& op) { return op.Color == kSplitMarkColor; }));
}

// Delete, cut, paste, paste from file, undo and the file menu.
std::vector<bool> EditMenusEnabled(FrmMain& window) {
    std::vector<bool> enabled;
    for (const char* name : {"MenuDel0", "MenuDel1", "MenuPaste", "MenuPasteEx", "MenuUndo"}) {
        enabled.push_back(Command(window, name)->isEnabled());
    }
    enabled.push_back(window.findChild<QMenu*>("MenuFile")->menuAction()->isEnabled());
    return enabled;
}

}  // namespace

class FrmMainListTest : public QObject {
    Q_OBJECT

   private slots:
    void initTestCase() { UseTemporaryHome(); }

    void splitOpensOnceAndTurnsTheEditMenusOff() {
        WindowRun run;
        auto window = run.Start("\"" + run.Song("cbr128.mp3") + "\"");
        QVERIFY(window);
        const std::vector<bool> allOn(6, true);
        QCOMPARE(EditMenusEnabled(*window), allOn);

        Command(*window, "MenuDivide")->trigger();
        QPointer<FrmList> list = window->ListWindow();
        QVERIFY(list);
        QVERIFY(QTest::qWaitForWindowExposed(list.data()));
        QCOMPARE(list->Mode(), ListMode::Split);
        QCOMPARE(EditMenusEnabled(*window), std::vector<bool>(6, false));

        Command(*window, "MenuBuild")->trigger();  // one is open: nothing changes
        QCOMPARE(window->ListWindow(), list.data());
        QCOMPARE(list->Mode(), ListMode::Split);

        list->close();
        QCOMPARE(EditMenusEnabled(*window), allOn);
        window->End();
    }

    void splitPointsFromTheTimeLineWriteFourPieces() {
        // The pieces are compared with the document's frames byte for byte:
        // written as the setting ExactFrames has them written.
        WindowRun run("[conf]\nExactFrames=1\n");
        // Without a leading Info frame, which the first piece would bring up to date.
        const std::string song = run.Song("cbr128_plain.mp3");
        auto window = run.Start("\"" + song + "\"");
        QVERIFY(window);
        Command(*window, "MenuDivide")->trigger();
        FrmList* list = window->ListWindow();
        QVERIFY(list);
        QVERIFY(QTest::qWaitForWindowExposed(list));
        QCOMPARE(SplitMarks(*window), 0);

        for (int x : {150, 40, 300}) {
            SelectByDrag(*window, x);
            Press(*list, kAddButton);
        }
        QCOMPARE(list->Rows().Count(), 3);
        QVERIFY(SplitMarks(*window) >= 3);

        const Document& doc = window->Doc();
        const Bytes audio = Span(doc.CurFile(), doc.Info().FirstFramePos, doc.Info().AudioEndPos);
        const Bytes opened = ReadFile(song);
        DialogAnswers answers;
        answers.AnswerFileDialog(run.songs.file("live"));
        Press(*list, kOutputButton);
        QCOMPARE(answers.FileDialogs.size(), 1u);
        std::vector<std::string> pieces;
        for (int k = 1; k <= 4; ++k) pieces.push_back(run.songs.file("live - 0" + std::to_string(k) + ".mp3"));
        QVERIFY(Concatenation(pieces) == audio);
        for (const auto& piece : pieces) QCOMPARE(BrokenFrameWarnings(piece), std::vector<std::string>{});
        QVERIFY(ReadFile(song) == opened);
        QVERIFY(!list->OutputRunning());

        list->close();
        QCOMPARE(SplitMarks(*window), 0);
        window->End();
    }

    void droppedFilesWaitForTheListToClose() {
        WindowRun run;
        const std::string first = run.Song("cbr128.mp3");
        const std::string second = run.Song("vbr.mp3");
        auto window = run.Start("\"" + first + "\"");
        QVERIFY(window);
        Command(*window, "MenuBuild")->trigger();
        QVERIFY(window->ListWindow());
        DropFiles(window->PictureSec(), {second});
        QVERIFY(SamePath(window->Doc().OrgFile(), first));
        window->ListWindow()->close();
        window->End();
    }
};

QTEST_MAIN(FrmMainListTest)
#include "frm_main_list_test.moc"

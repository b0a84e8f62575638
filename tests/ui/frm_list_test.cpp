// The split and build list window, driven through its controls against a fake
// main window whose document is real: rows from selections, their order and
// numbers, moves, deletes, the double click, the main window's menus, and the
// output checked byte for byte against the document's audio and by mp3val.
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <functional>
#include <memory>

#include "document/document.h"
#include "document/messages.h"
#include "listwin/time_text_pos.h"
#include "mpeg/FCTs.h"
#include "repack/exact_frames.h"
#include "services/app_folder.h"
#include "services/basic.h"
#include "services/qt/settings_store.h"
#include "support/audio_checkers.h"
#include "support/dialog_answers.h"
#include "support/file_pieces.h"
#include "support/test_support.h"
#include "support/text_file.h"
#include "ui/frm_list.h"
#include "ui/frm_list_layout.h"
#include "ui/list_window_host.h"
#include "ui/widget_button_strip.h"
#include "ui/widget_image_button.h"
#include "ui/widget_list_view.h"
#include "ui/widget_up_down.h"

using namespace kalvor;
using test::Bytes;
using test::Concatenation;
using test::Span;

namespace {

// The main window as the list window sees it, over a real document.
class FakeHost : public ListWindowHost {
   public:
    explicit FakeHost(const std::string& workFolder) : Doc(workFolder) {
        Owner.setGeometry(100, 80, 400, 300);
        Owner.show();
    }

    QWidget* OwnerWindow() override { return &Owner; }
    std::int32_t SelStartMs() const override { return StartMs; }
    std::int32_t SelEndMs() const override { return EndMs; }
    std::int32_t DurationMs() const override { return Doc.DurationMs(); }
    std::string FileExt() const override { return Doc.FileExt(); }
    ListDocument DocumentForList() const override { return ListDocumentOf(Doc); }
    void DrawPicture() override { ++Draws; }
    void DispSelected(std::int32_t pIn, std::int32_t pOut) override { Displayed.push_back({pIn, pOut}); }
    void PlaySelected(int mode) override { Plays.push_back(mode); }
    bool OnKeyReleased(int key) override {
        Keys.push_back(key);
        return true;
    }
    void SetEditMenusEnabled(bool enabled) override { MenusEnabled = enabled; }
    void SetListRows(const ListRows* rows) override { Rows = rows; }
    void DispMes(const std::string& text) override {
        Messages.push_back(text);
        HeldAtMessage.push_back(holds_ > 0);
        if (OnMessage) OnMessage(text);
    }
    void HoldInput() override { ++holds_; }
    void ReleaseInput() override { --holds_; }
    int Holds() const { return holds_; }

    // The main window's selection, start..end milliseconds.
    void Select(std::int32_t startMs, std::int32_t endMs) {
        StartMs = startMs;
        EndMs = endMs;
    }

    Document Doc;
    QWidget Owner;
    std::int32_t StartMs = 0, EndMs = 0;
    int Draws = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> Displayed;
    std::vector<int> Plays, Keys;
    bool MenusEnabled = true;
    const ListRows* Rows = nullptr;
    std::vector<std::string> Messages;
    std::vector<bool> HeldAtMessage;
    std::function<void(const std::string&)> OnMessage;

   private:
    int holds_ = 0;
};

QStringList Column(ListView* list, int column) {
    QStringList texts;
    for (int r = 0; r < list->RowCount(); ++r) texts << list->Cell(r, column);
    return texts;
}

QStringList ModelColumn(const ListRows& rows, int column) {
    QStringList texts;
    for (int r = 0; r < rows.Count(); ++r) texts << QString::fromStdString(rows.Cell(r, column));
    return texts;
}

QTreeWidget* Tree(FrmList& window) {
    return window.LV()->findChild<QTreeWidget*>();
}

QString Text(std::int32_t ms) {
    return QString::fromStdString(MsToTimeText(ms));
}

}  // namespace

class FrmListTest : public QObject {
    Q_OBJECT
    test::TempDir program_;
    std::unique_ptr<test::TempDir> dir_;
    std::unique_ptr<FakeHost> host_;
    QPointer<FrmList> window_;
    std::string song_;

    FrmList& Open(ListMode mode) {
        ShowListWindow(*host_, window_, mode);
        [&] { QVERIFY(QTest::qWaitForWindowExposed(window_.data())); }();
        return *window_;
    }
    void Press(FrmList& window, int button) {
        ButtonStrip* strip = window.CtrButtons();
        const QPoint at(StripButtonLeft(button, strip->width(), strip->ButtonCount()) + 6, strip->height() / 2);
        QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, at);
    }
    void Add(FrmList& window, std::int32_t startMs, std::int32_t endMs = 0) {
        host_->Select(startMs, endMs);
        Press(window, kAddButton);
    }
    void PressUpDown(FrmList& window, bool upper) {
        UpDownControl* control = window.UpDownItem();
        QTest::mousePress(control, Qt::LeftButton, Qt::NoModifier,
                          QPoint(control->width() / 2, upper ? 2 : control->height() - 3));
        QTest::mouseRelease(control, Qt::LeftButton);
    }
    // The list shows exactly what its model holds.
    void VerifyShown(FrmList& window) {
        for (int column = 0; column < kListColumns; ++column) {
            QCOMPARE(Column(window.LV(), column), ModelColumn(window.Rows(), column));
        }
    }
    void CloseAndDelete() {
        if (window_) window_->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The document's audio bytes, FirstFramePos..AudioEndPos of CurFile.
    Bytes DocumentAudio() const {
        const StreamInfo& info = host_->Doc.Info();
        return Span(host_->Doc.CurFile(), info.FirstFramePos, info.AudioEndPos);
    }
    std::int32_t SnappedPos(const QString& text) const {
        const ListDocument doc = ListDocumentOf(host_->Doc);
        return SnapToFrame(doc.CurFile, TimeTextToBytePos(text.toStdString(), doc.TimeScale()), doc.Info);
    }

   private slots:
    void initTestCase() {
        SetAppFolder(program_.path().string());
        // The outputs are compared with the document's frames byte for byte.
        SetExactFrames(true);
    }
    void cleanupTestCase() { SetExactFrames(false); }

    void init() {
        test::WriteText(program_.file("kalvor.ini"), "[conf]\n");
        ResetSettingsStoreChoice();
        QCOMPARE(ChooseSettingsStore(), SettingsStoreKind::ProfileFile);
        dir_ = std::make_unique<test::TempDir>();
        song_ = dir_->file("song.mp3");
        std::filesystem::copy_file(test::TestAudio("cbr128_plain_tags.mp3"), song_);
        host_ = std::make_unique<FakeHost>(dir_->path().string());
        QCOMPARE(host_->Doc.OpenFile(song_), 1);
    }

    void cleanup() {
        CloseAndDelete();
        host_.reset();
        dir_.reset();
    }

    void opensAndClosesInEitherMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("build") << 0 << "ビルド" << QStringList{"No", "From", "To"};
        QTest::newRow("split") << 1 << "分割" << QStringList{"No", "Loc", "Length"};
    }
    void opensAndClosesInEitherMode() {
        QFETCH(int, mode);
        QFETCH(QString, caption);
        QFETCH(QStringList, titles);
        FrmList& window = Open(static_cast<ListMode>(mode));
        QVERIFY(window.ListWindowOpen());
        QCOMPARE(window.windowTitle(), caption);
        QCOMPARE(window.parentWidget(), &host_->Owner);
        QCOMPARE(window.pos(), ListWindowPosition(host_->Owner.frameGeometry()));
        for (int column = 0; column < kListColumns; ++column)
            QCOMPARE(window.LV()->ColumnTitle(column), titles[column]);
        QCOMPARE(window.LV()->ColumnWidthTwips(0), 450);
        // 1050 twips, or wider where the font needs it for a whole time text.
        const int timePx = Tree(window)->fontMetrics().horizontalAdvance("000'00.000");
        for (int column : {1, 2}) {
            QVERIFY(window.LV()->ColumnWidthTwips(column) >= 1050);
            QVERIFY(Tree(window)->columnWidth(column) > timePx);
        }
        QVERIFY(!Tree(window)->horizontalScrollBar()->isVisible());
        QCOMPARE(window.UpDownItem()->isVisible(), mode == 0);
        // Split mode adds "無音で分割".
        QCOMPARE(window.CtrButtons()->ButtonCount(), mode == 1 ? 3 : 2);
        QVERIFY(!host_->MenusEnabled);
        QCOMPARE(host_->Rows, &window.Rows());

        const int draws = host_->Draws;
        CloseAndDelete();
        QVERIFY(window_.isNull());
        QVERIFY(host_->MenusEnabled);
        QVERIFY(host_->Rows == nullptr);
        QCOMPARE(host_->Draws, draws + 1);
        QVERIFY(test::ReadText(program_.file("kalvor.ini")).find("WindowLeftList=") != std::string::npos);
    }

    void reopensWhereItWasClosed() {
        FrmList& first = Open(ListMode::Build);
        first.move(first.pos() + QPoint(37, 21));
        const QPoint moved = first.pos();
        CloseAndDelete();
        QCOMPARE(Open(ListMode::Split).pos(), moved);
    }

    void opensRightOfTheOwner_data() {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("on screen") << QRect(100, 50, 400, 300) << QPoint(500, 50);
        QTest::newRow("partly left of the screen") << QRect(-100, 10, 400, 300) << QPoint(300, 10);
        QTest::newRow("beyond the top left corner") << QRect(-600, -20, 400, 300) << QPoint(0, 0);
    }
    void opensRightOfTheOwner() {
        QFETCH(QRect, owner);
        QFETCH(QPoint, expected);
        QCOMPARE(ListWindowPosition(owner), expected);
    }

    void controlsFollowTheWindowsSize_data() {
        QTest::addColumn<QSize>("client");  // twips
        QTest::addColumn<QRect>("list");
        QTest::addColumn<QRect>("deleteButton");
        QTest::addColumn<QRect>("upDown");
        QTest::addColumn<QRect>("buttons");
        QTest::newRow("first size") << QSize(3600, 4200) << QRect(60, 60, 2940, 3555) << QRect(3060, 60, 480, 480)
                                    << QRect(3060, 600, 480, 720) << QRect(60, 3675, 3480, 465);
        QTest::newRow("wider and taller") << QSize(6000, 6000) << QRect(60, 60, 5340, 5355) << QRect(5460, 60, 480, 480)
                                          << QRect(5460, 600, 480, 720) << QRect(60, 5475, 5880, 465);
        QTest::newRow("too small for anything") << QSize(300, 300) << QRect(60, 60, 0, 0) << QRect(0, 60, 480, 480)
                                                << QRect(0, 600, 480, 720) << QRect(60, 0, 180, 465);
    }
    void controlsFollowTheWindowsSize() {
        QFETCH(QSize, client);
        QFETCH(QRect, list);
        QFETCH(QRect, deleteButton);
        QFETCH(QRect, upDown);
        QFETCH(QRect, buttons);
        const ListWindowLayout layout = LayoutListWindow(client.width(), client.height());
        QCOMPARE(layout.List, list);
        QCOMPARE(layout.Delete, deleteButton);
        QCOMPARE(layout.UpDown, upDown);
        QCOMPARE(layout.Buttons, buttons);
        QCOMPARE(ListClientWidthTw(450 + 1050 + 1050), 3600);

        FrmList& window = Open(ListMode::Build);
        window.resize(client.width() / 15, client.height() / 15);
        QTRY_COMPARE(window.LV()->geometry(),
                     QRect(list.x() / 15, list.y() / 15, list.width() / 15, list.height() / 15));
        QCOMPARE(window.CtrButtons()->geometry().top(), buttons.y() / 15);
    }

    void openingAgainChangesNothing() {
        FrmList& window = Open(ListMode::Split);
        Add(window, 5000);
        QVERIFY(!ShowListWindow(*host_, window_, ListMode::Build));
        QCOMPARE(window_.data(), &window);
        QCOMPARE(window.Mode(), ListMode::Split);
        QCOMPARE(window.Rows().Count(), 1);
        CloseAndDelete();
        QVERIFY(ShowListWindow(*host_, window_, ListMode::Build));
        QCOMPARE(window_->Mode(), ListMode::Build);
        QCOMPARE(window_->Rows().Count(), 0);  // a new opening starts empty
    }

    void splitPointsSortNumberAndMeasure() {
        FrmList& window = Open(ListMode::Split);
        const std::int32_t duration = host_->DurationMs();
        Add(window, 12000);
        window.LV()->SelectRow(0);
        Add(window, 5000);
        QCOMPARE(Column(window.LV(), 0), (QStringList{"02", "03"}));
        QCOMPARE(Column(window.LV(), 1), (QStringList{"000'05.000", "000'12.000"}));
        QCOMPARE(Column(window.LV(), 2), (QStringList{"000'07.000", Text(duration - 12000)}));
        QCOMPARE(window.LV()->SelectedRow(), 1);  // the 12 s point stays selected
        VerifyShown(window);
        QCOMPARE(host_->Draws, 2);
        QCOMPARE(host_->Rows->SplitMarks().size(), 2u);
        QCOMPARE(host_->Rows->SplitMarks()[0].Number, std::string("02"));
    }

    void buildRowsMoveWithTheirNumbers() {
        FrmList& window = Open(ListMode::Build);
        Add(window, 1000, 2000);
        Add(window, 3000, 4000);
        Add(window, 5000, 6000);
        window.LV()->SelectRow(1);
        PressUpDown(window, true);
        QCOMPARE(Column(window.LV(), 0), (QStringList{"02", "01", "03"}));
        QCOMPARE(Column(window.LV(), 1), (QStringList{"000'03.000", "000'01.000", "000'05.000"}));
        QCOMPARE(window.LV()->SelectedRow(), 0);
        PressUpDown(window, true);  // no row above the first
        QCOMPARE(Column(window.LV(), 0), (QStringList{"02", "01", "03"}));
        PressUpDown(window, false);
        PressUpDown(window, false);
        QCOMPARE(Column(window.LV(), 0), (QStringList{"01", "03", "02"}));
        QCOMPARE(window.LV()->SelectedRow(), 2);
        window.LV()->SelectRow(-1);
        PressUpDown(window, true);  // nothing selected
        QCOMPARE(Column(window.LV(), 0), (QStringList{"01", "03", "02"}));
        VerifyShown(window);
        Add(window, 7000, 8000);  // numbers follow the order again
        QCOMPARE(Column(window.LV(), 0), (QStringList{"01", "02", "03", "04"}));
        QCOMPARE(Column(window.LV(), 2), (QStringList{"000'02.000", "000'06.000", "000'04.000", "000'08.000"}));
        QCOMPARE(host_->Draws, 4);  // adds draw, moves do not
    }

    void deleteRemovesEverySelectedRow_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QStringList>("lastColumn");
        QTest::newRow("build") << 0 << QStringList{"01", "02"} << QStringList{"000'02.000", "000'06.000"}
                               << QStringList{"000'03.000", "000'07.000"};
        QTest::newRow("split") << 1 << QStringList{"02", "03"} << QStringList{"000'02.000", "000'06.000"}
                               << QStringList{"000'04.000", "<end>"};
    }
    void deleteRemovesEverySelectedRow() {
        QFETCH(int, mode);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, times);
        QFETCH(QStringList, lastColumn);
        if (lastColumn.last() == "<end>") lastColumn.last() = Text(host_->DurationMs() - 6000);
        FrmList& window = Open(static_cast<ListMode>(mode));
        for (std::int32_t s : {2, 4, 6, 8}) Add(window, s * 1000, s * 1000 + 1000);
        Tree(window)->topLevelItem(1)->setSelected(true);
        Tree(window)->topLevelItem(3)->setSelected(true);
        const int draws = host_->Draws;
        QTest::mouseClick(window.DeleteButton(), Qt::LeftButton);
        QCOMPARE(Column(window.LV(), 0), numbers);
        QCOMPARE(Column(window.LV(), 1), times);
        QCOMPARE(Column(window.LV(), 2), lastColumn);
        QCOMPARE(window.LV()->SelectedRow(), -1);
        QCOMPARE(window.Rows().SelectedRow(), -1);
        VerifyShown(window);
        QCOMPARE(host_->Draws, draws + 1);
    }

    void deleteWithNothingSelectedRenumbersMovedRows() {
        FrmList& window = Open(ListMode::Build);
        Add(window, 1000, 2000);
        Add(window, 3000, 4000);
        window.LV()->SelectRow(1);
        window.MoveClicked(true);
        window.LV()->SelectRow(-1);
        window.DeleteClicked();
        QCOMPARE(Column(window.LV(), 0), (QStringList{"01", "02"}));
        QCOMPARE(Column(window.LV(), 1), (QStringList{"000'03.000", "000'01.000"}));
    }

    void doubleClickShowsAndPlaysInBuildModeOnly_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("build") << 0;
        QTest::newRow("split") << 1;
    }
    void doubleClickShowsAndPlaysInBuildModeOnly() {
        QFETCH(int, mode);
        FrmList& window = Open(static_cast<ListMode>(mode));
        Add(window, 3000, 7500);
        Add(window, 9000, 9500);
        QTreeWidget* tree = Tree(window);
        const QPoint row0 = tree->visualItemRect(tree->topLevelItem(0)).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, row0);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, row0);
        if (mode == 1) {
            QVERIFY(host_->Displayed.empty());
            QVERIFY(host_->Plays.empty());
            return;
        }
        const AudioTimeScale scale = ListDocumentOf(host_->Doc).TimeScale();
        QCOMPARE(host_->Displayed.size(), 1u);
        QCOMPARE(host_->Displayed[0].first, TimeTextToBytePos("000'03.000", scale));
        QCOMPARE(host_->Displayed[0].second, TimeTextToBytePos("000'07.500", scale));
        QCOMPARE(host_->Plays, std::vector<int>{0});
    }

    void keyReleasesGoToTheMainWindow() {
        FrmList& window = Open(ListMode::Build);
        QTest::keyRelease(Tree(window), Qt::Key_F5);
        QTest::keyRelease(&window, Qt::Key_F3);
        QCOMPARE(host_->Keys, (std::vector<int>{Qt::Key_F5, Qt::Key_F3}));
    }

    // Three split points from selections, "出力", a name: four numbered pieces
    // that together are the document's audio, whether the document is the
    // opened file (tags around it) or an edited version.
    void outputSplitsTheDocument_data() {
        QTest::addColumn<bool>("edited");
        QTest::newRow("opened file") << false;
        QTest::newRow("edited version") << true;
    }
    void outputSplitsTheDocument() {
        QFETCH(bool, edited);
        if (edited) {
            host_->Doc.Sel.SelectRange(200000, 260000);
            QCOMPARE(host_->Doc.Delete(), 1);
            QCOMPARE(host_->Doc.CurFile(), host_->Doc.Working().TempFile);
        }
        const Bytes opened = test::ReadFile(song_);
        test::DialogAnswers answers;
        answers.AnswerFileDialog(dir_->file("live"));
        FrmList& window = Open(ListMode::Split);
        for (std::int32_t ms : {12000, 3000, 7000}) Add(window, ms);
        Press(window, kOutputButton);

        QCOMPARE(answers.FileDialogs.size(), 1u);
        QVERIFY(answers.FileDialogs[0].Save);
        QCOMPARE(answers.FileDialogs[0].Filter, std::string(kMpegAudioFilter));
        std::vector<std::string> pieces;
        for (int k = 1; k <= 4; ++k) pieces.push_back(dir_->file("live - 0" + std::to_string(k) + ".mp3"));
        QVERIFY(Concatenation(pieces) == DocumentAudio());
        for (const auto& piece : pieces) QCOMPARE(test::BrokenFrameWarnings(piece), std::vector<std::string>{});
        QVERIFY(!std::filesystem::exists(dir_->file("live.mp3")));
        QVERIFY(test::ReadFile(song_) == opened);

        const std::vector<std::string> expected{"出力中… 0/4", "出力中… 1/4", "出力中… 2/4",
                                                "出力中… 3/4", "出力中… 4/4", msg::kDone};
        QCOMPARE(host_->Messages, expected);
        QCOMPARE(host_->HeldAtMessage, (std::vector<bool>{true, true, true, true, true, false}));
        QCOMPARE(host_->Holds(), 0);
        QVERIFY(window.ListWindowOpen());
    }

    // Two ranges added in time order, the second moved above the first: one
    // file with the second range first.
    void outputBuildsRangesInListOrder() {
        test::DialogAnswers answers;
        const std::string out = dir_->file("built.mp3");
        test::WriteFile(out, Bytes(50000, 0x41));  // replaced, not appended to
        answers.AnswerFileDialog(out);
        FrmList& window = Open(ListMode::Build);
        Add(window, 2000, 5000);
        Add(window, 10000, 15000);
        window.LV()->SelectRow(1);
        PressUpDown(window, true);
        Press(window, kOutputButton);

        const std::string& cur = host_->Doc.CurFile();
        Bytes expected = Span(cur, SnappedPos("000'10.000"), SnappedPos("000'15.000") - 1);
        const Bytes second = Span(cur, SnappedPos("000'02.000"), SnappedPos("000'05.000") - 1);
        expected.insert(expected.end(), second.begin(), second.end());
        QVERIFY(test::ReadFile(out) == expected);
        QCOMPARE(test::BrokenFrameWarnings(out), std::vector<std::string>{});
        QCOMPARE(host_->Messages.back(), std::string(msg::kDone));
    }

    void refusedOutputSaysWhyAndTouchesNothing() {
        test::DialogAnswers answers;
        answers.AnswerFileDialog(song_);
        const Bytes opened = test::ReadFile(song_);
        FrmList& window = Open(ListMode::Build);
        Add(window, 1000, 4000);
        Press(window, kOutputButton);
        QVERIFY(test::ReadFile(song_) == opened);
        QVERIFY(host_->Messages.back().rfind(msg::kWriteFailed, 0) == 0);
        QVERIFY(host_->Messages.back().size() > std::string(msg::kWriteFailed).size() + 2);
        // The reason is the window's Japanese, naming the file.
        QCOMPARE(host_->Messages.back(), std::string(msg::kWriteFailed) + ": 「song.mp3」は編集中のファイルです");
        QCOMPARE(host_->Holds(), 0);
    }

    void outputWithoutRowsNameOrAudioWritesNothing() {
        test::DialogAnswers answers;
        FrmList& window = Open(ListMode::Split);
        Press(window, kOutputButton);  // empty list: not even the dialog
        QVERIFY(answers.FileDialogs.empty());
        Add(window, 4000);
        Press(window, kOutputButton);  // the dialog cancelled
        QCOMPARE(answers.FileDialogs.size(), 1u);
        QVERIFY(host_->Messages.empty());
        host_->Doc.InitAll();
        Press(window, kOutputButton);  // no document
        QCOMPARE(answers.FileDialogs.size(), 1u);
        QCOMPARE(host_->Messages, std::vector<std::string>{msg::kNoData});
        QCOMPARE(
            std::distance(std::filesystem::directory_iterator(dir_->path()), std::filesystem::directory_iterator()),
            std::ptrdiff_t{1});  // song.mp3 only
    }

    // While the output runs (window events run between its chunks) the window
    // neither closes nor takes rows, and what is written is the list as it was.
    void outputRunsToItsEndWhateverHappensMeanwhile() {
        test::DialogAnswers answers;
        answers.AnswerFileDialog(dir_->file("part.mp3"));
        FrmList& window = Open(ListMode::Split);
        Add(window, 10000);
        std::vector<bool> closed;
        host_->OnMessage = [&](const std::string&) {
            if (!window.OutputRunning()) return;
            closed.push_back(window.close());
            host_->Select(4000, 4000);
            window.AddClicked();
            window.DeleteClicked();
        };
        Press(window, kOutputButton);
        host_->OnMessage = nullptr;
        QCOMPARE(closed, (std::vector<bool>(3, false)));
        QVERIFY(window_ && window.ListWindowOpen());
        QCOMPARE(window.Rows().Count(), 1);
        QVERIFY(Concatenation({dir_->file("part - 01.mp3"), dir_->file("part - 02.mp3")}) == DocumentAudio());
        QCOMPARE(host_->Messages.back(), std::string(msg::kDone));
    }
};

QTEST_MAIN(FrmListTest)
#include "frm_list_test.moc"

// The levels in the main window: the envelope of the made-up file of tones and
// silences painted as its decoded peaks say, behind the scale and under the
// selection's highlight; the view menu's switch; the split at silences; and the
// window answering while a 300 MB file decodes. Set KALVOR_LEVELS_SHOT to a PNG
// path to keep a picture of the window with the levels and a selection.
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "document/level_source.h"
#include "levels/level_keeper.h"
#include "services/arith.h"
#include "ui/frm_list.h"
#include "ui/frm_main_fixture.h"
#include "ui/widget_button_strip.h"
#include "ui/widget_list_view.h"

using namespace kalvor;
using namespace kalvor::test;

namespace {

// The peak of the file between two times of its sound, decoded by ffmpeg, in dBFS.
double DecodedPeakDb(const std::string& path, double from, double to) {
    const CommandResult r = Run("ffmpeg -v error -ss " + std::to_string(from) + " -to " + std::to_string(to) + " -i " +
                                ShellQuote(path) + " -f s16le -acodec pcm_s16le -");
    int peak = 0;
    for (std::size_t i = 0; i + 1 < r.out.size(); i += 2) {
        const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(r.out[i]) |
                                                      static_cast<std::uint8_t>(r.out[i + 1]) << 8);
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak == 0 ? -127.0 : 20.0 * std::log10(peak / 32768.0);
}

// How many pixels of the envelope column x has above the middle row (the
// scale's lines and labels may lie over some).
int UpperHeight(const QImage& image, int x, int middle) {
    int height = 0;
    for (int y = 0; y < middle; ++y) height += (image.pixel(x, y) & 0xFFFFFF) == kLevelColor;
    return height;
}

// The highest column between two times of the file shown whole.
int HighestColumn(const QImage& image, double fromSeconds, double toSeconds, double seconds, int middle) {
    int highest = 0;
    const int columns = image.width();
    for (int x = static_cast<int>(fromSeconds / seconds * columns); x < toSeconds / seconds * columns; ++x) {
        highest = std::max(highest, UpperHeight(image, x, middle));
    }
    return highest;
}

std::unique_ptr<FrmMain> StartWithLevels(WindowRun& run, const std::string& song) {
    auto window = run.Start("\"" + song + "\"");
    if (!window) return nullptr;
    window->show();
    if (!QTest::qWaitFor([&] { return window->Levels().Progress().Complete(); }, 20000)) return nullptr;
    window->DrawPicture();
    return window;
}

}  // namespace

class FrmMainLevelsTest : public QObject {
    Q_OBJECT

   private slots:
    void initTestCase() { UseTemporaryHome(); }

    void theEnvelopeShowsTheDecodedPeaks() {
        WindowRun run;
        const std::string song = run.Song("gaps.mp3");
        auto window = StartWithLevels(run, song);
        QVERIFY(window);
        QVERIFY(window->Levels().Progress().Complete());
        const QImage picture = window->PictureSec()->grab().toImage();
        const int middle = kSecHeight / window->TwipsPerPixel() / 2;
        const double seconds = window->Doc().DurationMs() / 1000.0;
        // Tone, silence, quieter tone, silence, noise; a little away from the edges.
        struct Region {
            double from, to;
        };
        const Region regions[] = {{0.4, 3.6}, {4.4, 6.6}, {7.4, 10.6}, {11.4, 13.6}, {14.4, 17.6}};
        std::vector<int> heights;
        for (const Region& r : regions) {
            const int expected = RoundHalfEven(LevelHeight(LevelCodeOfDb(DecodedPeakDb(song, r.from, r.to))) * middle);
            const int painted = HighestColumn(picture, r.from, r.to, seconds, middle);
            QVERIFY2(
                std::abs(painted - expected) <= 1,
                qPrintable(QString("%1 s: %2 pixels painted, %3 expected").arg(r.from).arg(painted).arg(expected)));
            heights.push_back(painted);
        }
        QCOMPARE(heights[1], 0);
        QCOMPARE(heights[3], 0);
        QVERIFY(heights[0] > heights[4] && heights[4] > heights[2] && heights[2] > 0);

        // The scale's lines lie over the envelope, the selection's highlight lights it.
        const int toneColumns = picture.width() * 3 / 18;
        int tealOnTone = 0;
        for (int x = 0; x < toneColumns; ++x) tealOnTone += (picture.pixel(x, middle - 2) & 0xFFFFFF) == kTickColor;
        QVERIFY(tealOnTone > 0);
        const std::int32_t quarter = window->Doc().AudioLength() / 4;
        window->DispSelected(quarter / 10, quarter / 2);
        const QImage selected = window->PictureSec()->grab().toImage();
        const int inside = picture.width() / 4 * 3 / 10, outside = picture.width() / 4 * 7 / 10;
        if ((picture.pixel(inside, middle - 2) & 0xFFFFFF) != kLevelColor) QSKIP("a tick lies on the column");
        QCOMPARE(selected.pixel(inside, middle - 2) & 0xFFFFFF, kLevelColor | kSelectionColor);
        QCOMPARE(selected.pixel(outside, middle - 2) & 0xFFFFFF, kLevelColor);
        const QByteArray shot = qgetenv("KALVOR_LEVELS_SHOT");
        if (!shot.isEmpty()) QVERIFY(window->grab().save(QString::fromLocal8Bit(shot)));
        window->End();
    }

    void theViewMenuTurnsTheLevelsOffForGood() {
        WindowRun run;
        auto window = StartWithLevels(run, run.Song("gaps.mp3"));
        QVERIFY(window);
        QAction* menu = Command(*window, "MenuShowLevels");
        QVERIFY(menu->isChecked());
        QVERIFY(!window->PictureSec()->CurrentDrawing().Envelope.empty());
        menu->trigger();
        QVERIFY(window->PictureSec()->CurrentDrawing().Envelope.empty());
        window->End();
        window.reset();
        QVERIFY(ReadText(run.InProgram("kalvor.ini")).find("ShowLevels=0") != std::string::npos);
        auto again = run.Start();
        QVERIFY(again);
        QVERIFY(!Command(*again, "MenuShowLevels")->isChecked());
        again->End();
    }

    void theSplitAtSilencesAddsAPointInEachGap() {
        WindowRun run;
        auto window = StartWithLevels(run, run.Song("gaps.mp3"));
        QVERIFY(window);
        Command(*window, "MenuDivide")->trigger();
        FrmList* list = window->ListWindow();
        QVERIFY(list);
        QVERIFY(QTest::qWaitForWindowExposed(list));
        ButtonStrip* strip = list->CtrButtons();
        QCOMPARE(strip->ButtonCount(), 3);
        QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier,
                          QPoint(StripButtonLeft(kSilenceButton, strip->width(), 3) + 6, strip->height() / 2));
        QCOMPARE(list->Rows().Count(), 2);
        const std::int32_t first = TimeTextToMs(list->Rows().Cell(0, kLocColumn));
        const std::int32_t second = TimeTextToMs(list->Rows().Cell(1, kLocColumn));
        QVERIFY2(first > 5000 && first < 6000, list->Rows().Cell(0, kLocColumn).c_str());
        QVERIFY2(second > 12000 && second < 13000, list->Rows().Cell(1, kLocColumn).c_str());
        QCOMPARE(MessageText(*window), std::string("処理完了"));
        list->close();
        window->End();
    }

    void theWindowAnswersWhileABigFileDecodes() {
        WindowRun run;
        const std::string big = run.songs.file("big.mp3");
        {
            const Bytes piece = ReadFile(TestAudio("cbr128_plain.mp3"));
            std::ofstream out(big, std::ios::binary);
            for (std::size_t written = 0; written < 300u * 1000 * 1000; written += piece.size()) {
                out.write(reinterpret_cast<const char*>(piece.data()), static_cast<std::streamsize>(piece.size()));
            }
        }
        auto window = run.Start("\"" + big + "\"");
        QVERIFY(window);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const auto labels = [&] {
            std::vector<std::string> texts;
            for (const DrawOp& op : window->PictureSec()->CurrentDrawing().Ops) texts.push_back(op.Text);
            return texts;
        };
        const std::vector<std::string> whole = labels();
        ButtonStrip* view = window->EditorCtrl();
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier,
                          QPoint(StripButtonLeft(2, view->width(), 3) + 4, view->height() / 2));
        QVERIFY(labels() != whole);  // zoomed in
        QTest::keyClick(window->PictureSec(), Qt::Key_A, Qt::ControlModifier);
        QTRY_VERIFY(window->Doc().Sel.SelLength > 0);
        // Both answered while the levels were still coming in.
        QVERIFY(!window->Levels().Progress().Complete());
        window->End();
    }
};

QTEST_MAIN(FrmMainLevelsTest)
#include "frm_main_levels_test.moc"

// One of each control, laid out at the windows' twip sizes with the Japanese
// captions they carry, rendered to widgets.png in the build folder for a look.
#include <QDir>
#include <QFontDatabase>
#include <QTest>

#include "ui/widget_button_strip.h"
#include "ui/widget_handle_picture.h"
#include "ui/widget_image_button.h"
#include "ui/widget_list_view.h"
#include "ui/widget_scroll_slider.h"
#include "ui/widget_text_panel.h"
#include "ui/widget_up_down.h"

using namespace kalvor;

namespace {

constexpr int T = 15;
const QString kFace = "Noto Sans CJK JP";
const QStringList kLabels = {"全体", "開始", "終了", "選択"};

void MainWindowPart(QWidget& window) {
    auto* all = new PictureBox(&window);
    PlaceInTwips(*all, 45, 345, 5640, 1050, T);
    auto* sec = new PictureBox(all);
    sec->SetBackColor(Qt::black);
    PlaceInTwips(*sec, 60, 60, 5475, 675, T);
    auto* start = new HandlePicture(HandleKind::Start, all);
    PlaceInTwips(*start, 1200 - 315, 765, 405, 225, T);
    auto* end = new HandlePicture(HandleKind::End, all);
    PlaceInTwips(*end, 2400 + 105, 765, 405, 225, T);

    auto* slider = new ScrollSlider(&window);
    slider->SetMax(8192);
    slider->SetPointerSize(990);
    slider->SetValue(1500);
    PlaceInTwips(*slider, 45, 1515, 5655, 300, T);

    auto* tool = new QWidget(&window);
    PlaceInTwips(*tool, 45, 1920, 5940, 1320, T);
    auto* info = new TextPanel(tool);
    info->SetTwipsPerPixel(T);
    PlaceInTwips(*info, 165, 120, 1770, 1080, T);
    const QStringList values = {"003'12.480", "000'41.020", "001'07.950", "000'26.930"};
    for (int row = 0; row < 4; ++row) {
        info->SetField(row + 4, 90, 90 + 240 * row, false);
        info->SetText(row + 4, kLabels[row]);
        info->SetField(row, 720, 90 + 240 * row, true);
        info->SetText(row, values[row]);
    }
    auto* message = new TextPanel(tool);
    message->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    message->SetTwipsPerPixel(T);
    PlaceInTwips(*message, 2055, 270, 3720, 315, T);
    message->SetField(0, 75, 15, false);
    message->SetText(0, "再生中… 000'41.020");

    auto* play = new ButtonStrip(tool);
    for (ButtonSymbol s : {ButtonSymbol::Stop, ButtonSymbol::Pause, ButtonSymbol::Play}) play->AddButton(s);
    play->SetButtonState(2, kButtonLit);
    PlaceInTwips(*play, 2055, 735, 1830, 465, T);
    auto* view = new ButtonStrip(tool);
    for (ButtonSymbol s : {ButtonSymbol::ZoomOut, ButtonSymbol::WholeFile, ButtonSymbol::ZoomIn}) view->AddButton(s);
    PlaceInTwips(*view, 3960, 735, 1830, 465, T);
}

void ListWindowPart(QWidget& window, int left) {
    auto* list = new ListView(&window);
    list->SetTwipsPerPixel(T);
    list->SetColumn(0, "No", 300);
    list->SetColumn(1, "From", 1050);
    list->SetColumn(2, "To", 1050);
    const QStringList from = {"000'10.000", "000'05.000", "001'30.250"};
    const QStringList to = {"000'20.000", "000'08.000", "002'00.000"};
    for (int i = 0; i < from.size(); ++i) {
        const int row = list->AppendRow();
        list->SetCell(row, 0, QString("%1").arg(row + 1, 2, 10, QChar('0')));
        list->SetCell(row, 1, from[i]);
        list->SetCell(row, 2, to[i]);
    }
    list->SelectRow(1);
    PlaceInTwips(*list, left, 345, 2700, 2250, T);

    auto* bin = new ImageButton(&window);
    bin->SetPicture(ImageGomi(20));
    PlaceInTwips(*bin, left + 2760, 345, 420, 420, T);
    auto* move = new UpDownControl(&window);
    PlaceInTwips(*move, left + 2760, 825, 420, 600, T);

    auto* buttons = new ButtonStrip(&window);
    buttons->SetFontSize(9);
    buttons->AddButton("追加");
    buttons->AddButton("出力");
    PlaceInTwips(*buttons, left, 2685, 3180, 420, T);
}

}  // namespace

class GalleryTest : public QObject {
    Q_OBJECT
   private slots:
    void rendersEveryControlWithJapaneseText() {
        if (!QFontDatabase::families().contains(kFace)) QSKIP("the Noto CJK JP face is not installed");
        QWidget window;
        QFont face(kFace);
        face.setPointSize(9);
        window.setFont(face);
        window.resize(6000 / T + 3300 / T + 10, 3300 / T);
        MainWindowPart(window);
        ListWindowPart(window, 6150);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QFontMetrics metrics(window.font());
        for (const QString& text : kLabels + QStringList({"再生中…", "追加", "出力"})) {
            for (const QChar c : text) QVERIFY2(metrics.inFont(c), qPrintable(text));
        }
        const QImage shot = window.grab().toImage();
        const QString path = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../widgets.png");
        QVERIFY(shot.save(path));
        QVERIFY(shot.pixelColor(100, 40) != shot.pixelColor(2, 2));
    }
};

QTEST_MAIN(GalleryTest)
#include "widget_gallery_test.moc"

// The small controls of the two windows: what each reports, in which unit.
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "ui/widget_button_strip.h"
#include "ui/widget_handle_picture.h"
#include "ui/widget_image_button.h"
#include "ui/widget_scroll_slider.h"
#include "ui/widget_text_panel.h"
#include "ui/widget_up_down.h"

using namespace kalvor;

namespace {

// The information panel as the main window lays it out: values 0..3 clickable at
// 720 twips, labels 4..7 at 90 twips, rows 240 twips apart from 90.
void LayOutInfoPanel(TextPanel& panel) {
    panel.SetTwipsPerPixel(15);
    const QStringList labels = {"全体", "開始", "終了", "選択"};
    for (int row = 0; row < 4; ++row) {
        panel.SetField(row, 720, 90 + 240 * row, true);
        panel.SetField(row + 4, 90, 90 + 240 * row, false);
        panel.SetText(row + 4, labels[row]);
        panel.SetText(row, "000'00.000");
    }
    panel.resize(1770 / 15, 1080 / 15);
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT
   private slots:
    void twipsBecomePixelsByIntegerDivision_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("perPixel");
        QTest::addColumn<int>("pixels");
        QTest::newRow("value column") << 720 << 15 << 48;
        QTest::newRow("truncates") << 734 << 15 << 48;
        QTest::newRow("negative truncates toward zero") << -14 << 15 << 0;
        QTest::newRow("high resolution") << 720 << 12 << 60;
        QTest::newRow("no resolution read") << 100 << 0 << 100;
    }
    void twipsBecomePixelsByIntegerDivision() {
        QFETCH(int, twips);
        QFETCH(int, perPixel);
        QFETCH(int, pixels);
        QCOMPARE(TwipsToPixels(twips, perPixel), pixels);
    }

    void hitFieldPicksTheClickableRowDrawnThere_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("field");
        QTest::newRow("first row") << 50 << 8 << 0;
        QTest::newRow("overlap goes to the lower row") << 50 << 23 << 1;
        QTest::newRow("second row") << 50 << 30 << 1;
        QTest::newRow("label is not clickable") << 10 << 8 << -1;
        QTest::newRow("right of the box") << 120 << 8 << -1;
        QTest::newRow("below every row") << 50 << 60 << -1;
    }
    void hitFieldPicksTheClickableRowDrawnThere() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, field);
        const std::vector<FieldBox> boxes = {{48, 6, 118, 24, true}, {48, 22, 118, 40, true}, {6, 6, 40, 24, false}};
        QCOMPARE(HitField(boxes, x, y), field);
    }

    void valueFieldsReportPressAndReleaseWithTheirIndex() {
        TextPanel panel;
        LayOutInfoPanel(panel);
        QSignalSpy pressed(&panel, &TextPanel::FieldPressed);
        QSignalSpy released(&panel, &TextPanel::FieldReleased);
        const QPoint row2(720 / 15 + 5, (90 + 240 * 2) / 15 + 4);
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, row2);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.at(0).at(0).toInt(), 2);
        QCOMPARE(released.count(), 1);
        QCOMPARE(released.at(0).at(0).toInt(), 2);

        // A press on a label is no field press; a release moved off the field still ends the press.
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(90 / 15 + 3, 90 / 15 + 4));
        QCOMPARE(pressed.count(), 1);
        QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(720 / 15 + 5, 90 / 15 + 4));
        QTest::mouseRelease(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(2, 70));
        QCOMPARE(released.count(), 2);
        QCOMPARE(released.at(1).at(0).toInt(), 0);
    }

    void setTextTellsWhetherTheFieldChanged() {
        TextPanel panel;
        panel.SetField(0, 60, 30, false);
        QVERIFY(panel.SetText(0, "再生停止"));
        QVERIFY(!panel.SetText(0, "再生停止"));
        QCOMPARE(panel.Text(0), QString("再生停止"));
        QVERIFY(!panel.SetText(3, "x"));
        QCOMPARE(panel.Text(3), QString());
        QCOMPARE(panel.FieldCount(), 1);
    }

    void stripButtonAtSpreadsTheWidth_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("button");
        QTest::newRow("first") << 0 << 122 << 3 << 0;
        QTest::newRow("last pixel of the first") << 39 << 122 << 3 << 0;
        QTest::newRow("first pixel of the second") << 40 << 122 << 3 << 1;
        QTest::newRow("last pixel") << 121 << 122 << 3 << 2;
        QTest::newRow("past the end") << 122 << 122 << 3 << -1;
        QTest::newRow("left of it") << -1 << 122 << 3 << -1;
        QTest::newRow("no buttons") << 5 << 122 << 0 << -1;
    }
    void stripButtonAtSpreadsTheWidth() {
        QFETCH(int, x);
        QFETCH(int, width);
        QFETCH(int, count);
        QFETCH(int, button);
        QCOMPARE(StripButtonAt(x, width, count), button);
        if (button >= 0) {
            QVERIFY(StripButtonLeft(button, width, count) <= x);
            QVERIFY(x < StripButtonLeft(button + 1, width, count));
        }
    }

    void stripReportsClicksWithShiftAndRightClicks() {
        ButtonStrip strip;
        strip.AddButton(ButtonSymbol::Stop);
        strip.AddButton(ButtonSymbol::Pause);
        strip.AddButton(ButtonSymbol::Play);
        strip.resize(120, 30);
        QSignalSpy clicked(&strip, &ButtonStrip::ButtonClicked);
        QSignalSpy right(&strip, &ButtonStrip::RightClicked);
        QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(60, 15));
        QTest::mouseClick(&strip, Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 15));
        QTest::mouseClick(&strip, Qt::RightButton, Qt::NoModifier, QPoint(10, 15));
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(clicked.at(0), QVariantList({1, false}));
        QCOMPARE(clicked.at(1), QVariantList({2, true}));
        QCOMPARE(right.count(), 1);
        QCOMPARE(right.at(0).at(0).toInt(), 0);

        // Pressing one button and letting go over another is no click.
        QTest::mousePress(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(10, 15));
        QTest::mouseRelease(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(100, 15));
        QCOMPARE(clicked.count(), 2);
    }

    void litButtonsLookDifferent() {
        ButtonStrip strip;
        strip.AddButton(ButtonSymbol::Stop);
        strip.AddButton(ButtonSymbol::Pause);
        strip.AddButton(ButtonSymbol::Play);
        strip.resize(120, 30);
        const QImage normal = strip.grab().toImage();
        strip.SetButtonState(2, kButtonLit);
        QCOMPARE(strip.ButtonState(2), kButtonLit);
        QCOMPARE(strip.ButtonState(1), kButtonNormal);
        const QImage lit = strip.grab().toImage();
        QVERIFY(lit != normal);
        QCOMPARE(lit.copy(0, 0, 80, 30), normal.copy(0, 0, 80, 30));
        strip.SetButtonState(2, kButtonNormal);
        QCOMPARE(strip.grab().toImage(), normal);
    }

    void sliderTellsUserMovesFromProgrammaticOnes() {
        ScrollSlider slider;
        slider.SetMax(8192);
        slider.SetPointerSize(990);
        slider.resize(376, 20);
        QSignalSpy changed(&slider, &ScrollSlider::ValueChanged);
        slider.SetValue(100);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0), QVariantList({100, false}));
        slider.SetValue(100);
        QCOMPARE(changed.count(), 1);

        // A click in the track right of the pointer pages by the pointer size.
        QScrollBar* bar = slider.findChild<QScrollBar*>();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() - 40, bar->height() / 2));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1), QVariantList({1090, true}));

        slider.SetValue(9000);
        QCOMPARE(slider.Value(), 8192);
        QCOMPARE(changed.at(2), QVariantList({8192, false}));
        slider.SetMax(4096);
        QCOMPARE(changed.at(3), QVariantList({4096, false}));
        QCOMPARE(slider.PointerSize(), 990);
    }

    void upDownHalves_data() {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("upper");
        QTest::newRow("top") << 0 << 40 << true;
        QTest::newRow("just above the middle") << 19 << 40 << true;
        QTest::newRow("middle") << 20 << 40 << false;
        QTest::newRow("bottom") << 39 << 40 << false;
        QTest::newRow("odd height middle row") << 20 << 41 << false;
    }
    void upDownHalves() {
        QFETCH(int, y);
        QFETCH(int, height);
        QFETCH(bool, upper);
        QCOMPARE(InUpperHalf(y, height), upper);
        UpDownControl control;
        control.resize(20, height);
        QSignalSpy clicked(&control, &UpDownControl::Clicked);
        QTest::mouseClick(&control, Qt::LeftButton, Qt::NoModifier, QPoint(10, y));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toBool(), upper);
    }

    void handleReportsMouseInTwips_data() {
        QTest::addColumn<int>("perPixel");
        QTest::newRow("96 dpi") << 15;
        QTest::newRow("120 dpi") << 12;
    }
    void handleReportsMouseInTwips() {
        QFETCH(int, perPixel);
        HandlePicture handle(HandleKind::End);
        handle.SetTwipsPerPixel(perPixel);
        handle.resize(27, 15);
        QSignalSpy down(&handle, &PictureBox::MouseDown);
        QSignalSpy move(&handle, &PictureBox::MouseMove);
        QSignalSpy up(&handle, &PictureBox::MouseUp);
        QSignalSpy twice(&handle, &PictureBox::DoubleClicked);
        QTest::mousePress(&handle, Qt::LeftButton, Qt::NoModifier, QPoint(4, 5));
        QTest::mouseMove(&handle, QPoint(40, 6));
        QTest::mouseRelease(&handle, Qt::RightButton, Qt::ShiftModifier, QPoint(-3, 6));
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
        QCOMPARE(down.at(0).at(2).toDouble(), 4.0 * perPixel);
        QCOMPARE(down.at(0).at(3).toDouble(), 5.0 * perPixel);
        QCOMPARE(move.count(), 1);
        QCOMPARE(move.at(0).at(2).toDouble(), 40.0 * perPixel);
        QCOMPARE(up.count(), 1);
        QCOMPARE(up.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
        QVERIFY(up.at(0).at(1).value<Qt::KeyboardModifiers>().testFlag(Qt::ShiftModifier));
        QCOMPARE(up.at(0).at(2).toDouble(), -3.0 * perPixel);

        QTest::mouseDClick(&handle, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        QCOMPARE(twice.count(), 1);
        QCOMPARE(down.count(), 1);
    }

    void startAndEndHandlesLookDifferent() {
        HandlePicture start(HandleKind::Start);
        HandlePicture end(HandleKind::End);
        start.resize(27, 15);
        end.resize(27, 15);
        QVERIFY(start.grab().toImage() != end.grab().toImage());
    }

    void droppedLocalFilesAreReported() {
        PictureBox box;
        box.SetAcceptFiles(true);
        QVERIFY(box.acceptDrops());
        QSignalSpy dropped(&box, &PictureBox::FilesDropped);
        QMimeData data;
        data.setUrls({QUrl("https://example.invalid/a.mp3"), QUrl::fromLocalFile("/music/曲 1.mp3"),
                      QUrl::fromLocalFile("/music/b.mp2")});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&box, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&box, &drop);
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.at(0).at(0).toStringList(), QStringList({"/music/曲 1.mp3", "/music/b.mp2"}));

        QMimeData text;
        text.setText("not a file");
        QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&box, &refused);
        QVERIFY(!refused.isAccepted());
        QDropEvent plain(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&box, &plain);
        QCOMPARE(dropped.count(), 1);
    }

    void imageButtonShowsTheBinAndClicks() {
        ImageButton button;
        button.SetPicture(ImageGomi(24));
        button.resize(32, 32);
        QSignalSpy clicked(&button, &QToolButton::clicked);
        QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(16, 16));
        QCOMPARE(clicked.count(), 1);
        const QImage bin = ImageGomi(24).toImage();
        QVERIFY(bin.pixelColor(12, 14).alpha() > 0);
        QCOMPARE(bin.pixelColor(0, 0).alpha(), 0);
    }
};

QTEST_MAIN(ControlsTest)
#include "widget_controls_test.moc"

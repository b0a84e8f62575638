// Interface fonts: the face choice, the size arithmetic, the cache's indexes,
// and Japanese text in the fallback face on a machine without it.
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QWidget>
#include <QtTest>

#include "services/qt/language_mode.h"
#include "services/qt/screen_units.h"
#include "services/qt/ui_fonts.h"

using namespace kalvor;

class UiFontsTest : public QObject {
    Q_OBJECT

   private slots:
    void init() { ReleaseUiFonts(); }

    void faceChoice_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("first preference wins") << QStringList{"Arial", "MS UI Gothic", "メイリオ"} << "メイリオ";
        QTest::newRow("second") << QStringList{"ＭＳ Ｐゴシック", "MS UI Gothic"} << "MS UI Gothic";
        QTest::newRow("matched exactly") << QStringList{"ms ui gothic", "メイリオ UI"} << "ＭＳ Ｐゴシック";
        QTest::newRow("nothing listed") << QStringList{} << "ＭＳ Ｐゴシック";
    }
    void faceChoice() {
        QFETCH(QStringList, installed);
        QFETCH(QString, chosen);
        std::vector<std::string> faces;
        for (const auto& face : installed) faces.push_back(face.toStdString());
        QCOMPARE(QString::fromStdString(ChooseUiFontFrom(faces)), chosen);
    }

    void sizes_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<float>("points");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("pixels");
        QTest::newRow("tall face at 96 dpi") << "メイリオ" << 9.0f << 15 << 16;
        QTest::newRow("ordinary face at 96 dpi") << "MS UI Gothic" << 9.0f << 15 << 12;
        QTest::newRow("ordinary face at 120 dpi") << "MS UI Gothic" << 9.0f << 12 << 15;
        QTest::newRow("half rounds to even") << "MS UI Gothic" << 9.375f << 15 << 12;
    }
    void sizes() {
        QFETCH(QString, face);
        QFETCH(float, points);
        QFETCH(int, t);
        QFETCH(int, pixels);
        QCOMPARE(FontHeightPixels(points, FaceHeightScale(face.toStdString()), t), pixels);
    }

    void boldWeights() {
        QCOMPARE(BoldWeight(15), 700);
        QCOMPARE(BoldWeight(12), 875);
        QCOMPARE(TwipsPerPixelFor(96), 15);
        QCOMPARE(TwipsPerPixelFor(120), 12);
        QCOMPARE(TwipsPerPixelFor(0), 15);
    }

    void ownFontDecision_data() {
        QTest::addColumn<bool>("japaneseSystem");
        QTest::addColumn<QString>("langMode");
        QTest::addColumn<bool>("japaneseFonts");
        QTest::addColumn<bool>("ownFont");
        QTest::addColumn<bool>("langModeRead");
        QTest::newRow("other systems keep the platform's fonts") << false << "0" << false << false << false;
        QTest::newRow("Japanese fonts installed") << true << "0" << true << false << true;
        QTest::newRow("no Japanese fonts") << true << "0" << false << true << true;
        QTest::newRow("switched off by LangMode") << true << "1" << false << false << true;
        QTest::newRow("LangMode not a number") << true << "off" << false << true << true;
    }
    void ownFontDecision() {
        QFETCH(bool, japaneseSystem);
        QFETCH(QString, langMode);
        QFETCH(bool, japaneseFonts);
        QFETCH(bool, ownFont);
        QFETCH(bool, langModeRead);
        bool read = false;
        const auto readLangMode = [&] {
            read = true;
            return langMode.toStdString();
        };
        QCOMPARE(DecideUseOwnUiFont(japaneseSystem, readLangMode, japaneseFonts), ownFont);
        QCOMPARE(read, langModeRead);
    }

    void aCreatedFontsCellHasTheHeightAsked_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<float>("points");
        QTest::newRow("tall face") << "メイリオ" << 9.0f;
        QTest::newRow("ordinary face") << "MS UI Gothic" << 9.0f;
        QTest::newRow("large") << "MS UI Gothic" << 24.0f;
    }
    void aCreatedFontsCellHasTheHeightAsked() {
        QFETCH(QString, face);
        QFETCH(float, points);
        ChooseUiFont();
        QCOMPARE(CreateUiFont(points, false, false, face.toStdString()), 1);
        const QFont font = UiFonts().back().Font;
        const int cell = FontHeightPixels(points, FaceHeightScale(face.toStdString()), TwipsPerPixel());
        // The cell (ascent and descent), not the em, is the height asked for:
        // the largest that fits.
        QVERIFY2(QFontMetrics(font).height() <= cell, qPrintable(QString::number(QFontMetrics(font).height())));
        QFont larger = font;
        larger.setPixelSize(font.pixelSize() + 1);
        QVERIFY(QFontMetrics(larger).height() > cell);
    }

    void aCreatedFontRemembersItsRequest() {
        QCOMPARE(CreateUiFont(9, true, true, "メイリオ"), 1);
        const FontEntry& entry = UiFonts().back();
        QCOMPARE(entry.Font.weight(), static_cast<QFont::Weight>(BoldWeight(TwipsPerPixel())));
        QVERIFY(entry.Font.italic());
        QCOMPARE(entry.InverseScale, 1.0f / kTallFaceScale);
    }

    void indexesOfTheCache() {
        QWidget widget;
        QCOMPARE(ApplyUiFont(&widget, -5), kNoFont);
        QVERIFY(UiFonts().empty());

        QCOMPARE(ApplyUiFont(&widget, -2), 0);
        QCOMPARE(ApplyUiFont(&widget, -2, 9, false, false, ""), 0);
        QCOMPARE(UiFonts().size(), std::size_t{1});
        QCOMPARE(UiFonts()[0].Face, UiFontName().empty() ? std::string(kFallbackUiFace) : UiFontName());

        QCOMPARE(ApplyUiFont(&widget, -2, 12, true, false, "MS UI Gothic"), 1);
        QCOMPARE(widget.font(), UiFonts()[1].Font);
        QCOMPARE(ApplyUiFont(&widget, -2, 12, true, false, "MS UI Gothic"), 1);
        QCOMPARE(UiFonts().size(), std::size_t{2});

        QWidget other;
        QCOMPARE(ApplyUiFont(&other, 1), 1);
        QCOMPARE(ApplyUiFont(&other, -1), 1);  // its own font is entry 1
        QCOMPARE(ApplyUiFont(&other, 2), kNoFont);
        QCOMPARE(ApplyUiFont(nullptr, 0), 0);
        QCOMPARE(UiFonts().size(), std::size_t{2});

        const QFont given = UiFonts()[1].Font;
        ReleaseUiFonts();
        QVERIFY(UiFonts().empty());
        QCOMPARE(widget.font(), given);
    }

    void theFallbackFaceShowsJapanese() {
        if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) QSKIP("no Japanese font installed");
        ChooseUiFont();
        QCOMPARE(QString::fromStdString(UiFontName()), QString::fromStdString(ChooseUiFontFrom(InstalledUiFaces())));
        for (const char* face : kPreferredUiFaces) {
            const QFont font(QString::fromUtf8(face));
            const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::Japanese);
            QVERIFY2(raw.supportsCharacter(QChar(0x3042)), face);  // あ
            QVERIFY2(raw.supportsCharacter(QChar(0x7DE8)), face);  // 編
            QVERIFY2(QFontDatabase::families(QFontDatabase::Japanese).contains(QFontInfo(font).family()),
                     qPrintable(QFontInfo(font).family()));
        }
    }
};

QTEST_MAIN(UiFontsTest)
#include "ui_fonts_test.moc"

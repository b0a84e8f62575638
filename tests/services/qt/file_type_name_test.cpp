// The file information report as the platform describes a file: the type name
// from the shared MIME database in the interface's language, and kalvor-cli
// reporting the length of media files that are not MPEG audio or PCM WAVE.
#include <QLocale>
#include <QtTest>

#include "services/mime/mime_type_name.h"
#include "services/time_text.h"
#include "support/test_support.h"

using namespace kalvor;

class FileTypeNameTest : public QObject {
    Q_OBJECT

   private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void namesInTheInterfacesLanguage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("typeName");
        QTest::newRow("mp3, English") << "a.mp3"
                                      << "en"
                                      << "MP3 audio";
        QTest::newRow("mp3, Japanese") << "a.mp3"
                                       << "ja"
                                       << "MP3 オーディオ";
        QTest::newRow("wav, Japanese") << "a.wav"
                                       << "ja"
                                       << "WAV オーディオ";
    }
    void namesInTheInterfacesLanguage() {
        QFETCH(QString, name);
        QFETCH(QString, language);
        QFETCH(QString, typeName);
        test::TempDir dir;
        const std::string path = dir.file(name.toStdString());
        test::WriteFile(path, test::Bytes(16, 0));
        QLocale::setDefault(QLocale(language));
        QCOMPARE(QString::fromStdString(MimeTypeName(path)), typeName);
    }

    void theCliMeasuresOtherMediaAndNamesTheirType_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("typeName");
        QTest::newRow("floating-point WAVE") << "float.wav"
                                             << "pcm_f32le"
                                             << "WAV audio";
        QTest::newRow("Ogg Vorbis") << "tone.ogg"
                                    << "libvorbis"
                                    << "Ogg Vorbis audio";
    }
    void theCliMeasuresOtherMediaAndNamesTheirType() {
        QFETCH(QString, name);
        QFETCH(QString, codec);
        QFETCH(QString, typeName);
        test::TempDir dir;
        const std::string path = dir.file(name.toStdString());
        const auto made = test::Run("ffmpeg -v error -y -f lavfi -i sine=frequency=440:duration=3 -ac 2 -c:a " +
                                    codec.toStdString() + " " + test::ShellQuote(path));
        QVERIFY2(made.exitCode == 0, made.err.c_str());
        const auto report =
            test::Run("LC_ALL=C " + test::ShellQuote(test::CliPath()) + " report " + test::ShellQuote(path));
        QVERIFY2(report.exitCode == 0, report.err.c_str());
        const QStringList lines = QString::fromStdString(report.out).trimmed().split("\r\n");
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[1], typeName);
        QCOMPARE(lines[2], typeName);
        const std::int32_t ms = TimeTextToMs(lines[3].toStdString());
        QVERIFY2(ms > 2900 && ms < 3100, qPrintable(lines[3]));
    }
};

QTEST_MAIN(FileTypeNameTest)
#include "file_type_name_test.moc"

// The file dialogs: the filter text as Qt's name filters, the default flags
// of each kind, the path length the dialogs hand back, and the answer hook
// that stands in for the user.
#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QtTest>

#include "services/qt/file_dialog.h"
#include "support/dialog_answers.h"

using namespace kalvor;

class FileDialogTest : public QObject {
    Q_OBJECT

   private slots:
    void nameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("kalvor's filter") << QString::fromUtf8(kMpegAudioFilter)
                                         << QStringList{"mpegオーディオファイル (*.mp3 *.mp2 *.mp1)"};
        QTest::newRow("two pairs") << "Audio|*.mp3|All files|*.*" << QStringList{"Audio (*.mp3)", "All files (*.*)"};
        QTest::newRow("blanks and empty patterns") << " Songs | *.mp3 ;; *.mp2 " << QStringList{"Songs (*.mp3 *.mp2)"};
        QTest::newRow("a description without patterns") << "Audio|*.mp3|Odd" << QStringList{"Audio (*.mp3)"};
        QTest::newRow("no patterns at all") << "Audio|" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void nameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QStringList got;
        for (const std::string& f : QtNameFilters(filter.toStdString())) got << QString::fromStdString(f);
        QCOMPARE(got, expected);
    }

    void flags_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("given");
        QTest::addColumn<int>("expected");
        QTest::newRow("save default") << true << -1 << 0x80006;
        QTest::newRow("open default") << false << -1 << 0x81104;
        QTest::newRow("save as given") << true << 0x2 << 0x2;
        QTest::newRow("open as given") << false << 0 << 0;
    }
    void flags() {
        QFETCH(bool, save);
        QFETCH(int, given);
        QFETCH(int, expected);
        QCOMPARE(ResolveDialogFlags(save, given), expected);
    }

    void result_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("expected");
        const QString folder = "/music/";
        const QString longest = folder + QString(254 - folder.size(), QChar('a'));
        QTest::newRow("plain") << "/music/a.mp3"
                               << "/music/a.mp3";
        QTest::newRow("254 characters") << longest << longest;
        QTest::newRow("255 characters is refused, not cut") << longest + "b"
                                                            << "";
        // Characters count, not bytes: 254 Japanese characters are 762 bytes.
        const QString wide = folder + QString(254 - folder.size(), QChar(0x66F2));
        QTest::newRow("254 Japanese characters") << wide << wide;
        QTest::newRow("up to a zero character, trimmed") << QString(" /music/a.mp3") + QChar(0) + "junk"
                                                         << "/music/a.mp3";
        QTest::newRow("cancelled") << ""
                                   << "";
    }
    void result() {
        QFETCH(QString, chosen);
        QFETCH(QString, expected);
        const QByteArray bytes = chosen.toUtf8();
        QCOMPARE(QString::fromStdString(DialogResult(std::string(bytes.constData(), bytes.size()))), expected);
    }

    void theRealDialogIsAskedAndAnswered_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("save, chosen") << true << true;
        QTest::newRow("save, cancelled") << true << false;
        QTest::newRow("open, cancelled") << false << false;
    }
    void theRealDialogIsAskedAndAnswered() {
        QFETCH(bool, save);
        QFETCH(bool, confirm);
        QTemporaryDir folder;
        const QString name = folder.filePath("new take.mp3");
        QStringList filters;
        bool saving = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll.stop();
            filters = dialog->nameFilters();
            saving = dialog->acceptMode() == QFileDialog::AcceptSave;
            if (!confirm) {
                dialog->reject();
                return;
            }
            dialog->selectFile(name);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        poll.start(10);
        const std::string chosen =
            FileDialog(nullptr, save, kMpegAudioFilter, folder.path().toStdString(), "", kDialogDefaultFlags);
        QCOMPARE(QString::fromStdString(chosen), confirm ? name : QString());
        QCOMPARE(filters, QStringList{"mpegオーディオファイル (*.mp3 *.mp2 *.mp1)"});
        QCOMPARE(saving, save);
    }

    void theHookAnswersInsteadOfTheUser() {
        test::DialogAnswers answers;
        answers.AnswerFileDialog("/music/chosen.mp3");
        QCOMPARE(FileDialog(nullptr, true, kMpegAudioFilter, "/music/", "take1", kDialogDefaultFlags),
                 std::string("/music/chosen.mp3"));
        QCOMPARE(answers.FileDialogs.size(), 1u);
        const FileDialogRequest& asked = answers.FileDialogs[0];
        QCOMPARE(asked.Save, true);
        QCOMPARE(asked.Filter, std::string(kMpegAudioFilter));
        QCOMPARE(asked.InitialFolder, std::string("/music"));
        QCOMPARE(asked.InitialName, std::string("take1"));
        QCOMPARE(asked.Flags, kSaveDialogFlags);
        // An answer beyond the limit is refused like the platform's dialog does;
        // with no answer left the dialog is cancelled.
        answers.AnswerFileDialog("/" + std::string(300, 'x'));
        QCOMPARE(FileDialog(nullptr, false, kMpegAudioFilter, "", "", -1), std::string());
        QCOMPARE(FileDialog(nullptr, false, kMpegAudioFilter, "", "", -1), std::string());
        QCOMPARE(answers.FileDialogs.size(), 3u);
    }
};

QTEST_MAIN(FileDialogTest)
#include "file_dialog_test.moc"

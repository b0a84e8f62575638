// The windows come up in the language the setting "UiLanguage" names (the
// tests' system is Japanese): kalvor's captions and labels, the document's
// messages, the list window, and Qt's own texts.
#include <QMenuBar>
#include <QtTest>

#include "frm_main_fixture.h"
#include "services/qt/language_choice.h"
#include "ui/frm_list.h"
#include "ui/frm_main_layout.h"

using namespace kalvor;
using namespace kalvor::test;

class FrmMainLanguageTest : public QObject {
    Q_OBJECT

   private slots:
    void initTestCase() { UseTemporaryHome(); }
    void cleanup() { SpeakUiLanguage(UiLanguage::Japanese); }

    void windowsComeUpInTheChosenLanguage_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QString>("firstLabel");
        QTest::addColumn<QString>("stopped");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("listTitle");
        QTest::addColumn<bool>("qtInEnglish");
        const QStringList japanese{"ファイル(&F)", "編集(&E)", "表示(&V)", "ツール(&T)", "情報(&I)"};
        QTest::newRow("english") << "en" << QStringList{"&File", "&Edit", "&View", "&Tools", "&Information"} << "Total"
                                 << "Stopped"
                                 << "Nothing is selected"
                                 << "Split" << true;
        QTest::newRow("japanese") << "ja" << japanese << "全体"
                                  << "再生停止"
                                  << "選択されていません"
                                  << "分割" << false;
        QTest::newRow("the system's") << "auto" << japanese << "全体"
                                      << "再生停止"
                                      << "選択されていません"
                                      << "分割" << false;
    }
    void windowsComeUpInTheChosenLanguage() {
        QFETCH(QString, setting);
        QFETCH(QStringList, menus);
        QFETCH(QString, firstLabel);
        QFETCH(QString, stopped);
        QFETCH(QString, message);
        QFETCH(QString, listTitle);
        QFETCH(bool, qtInEnglish);
        WindowRun run("[conf]\nUiLanguage=" + setting.toStdString() + "\n");
        auto window = run.Start(run.Song("cbr128_plain.mp3"));
        QVERIFY(window);
        QStringList titles;
        for (QAction* menu : window->menuBar()->actions()) titles << menu->text();
        QCOMPARE(titles, menus);
        QCOMPARE(window->PictureInfo()->Text(kInfoRows), firstLabel);
        // The first position tick shows the stopped state; a command's message comes after it.
        QTRY_COMPARE(QString::fromStdString(MessageText(*window)), stopped);

        Command(*window, "MenuDel0")->trigger();
        QTRY_COMPARE(QString::fromStdString(MessageText(*window)), message);

        Command(*window, "MenuDivide")->trigger();
        FrmList* list = window->ListWindow();
        QVERIFY(list);
        QCOMPARE(list->windowTitle(), listTitle);
        list->close();

        const QString lookIn = QCoreApplication::translate("QFileDialog", "Look in:");
        QCOMPARE(lookIn == "Look in:", qtInEnglish);
    }
};

QTEST_MAIN(FrmMainLanguageTest)
#include "frm_main_language_test.moc"

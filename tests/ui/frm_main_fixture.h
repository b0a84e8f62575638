#pragma once
// What the main window's tests share: a temporary home (settings, instance
// lock and data never touch the user's), a program folder of its own for each
// window with a settings file in it, songs copied from the test audio, and
// quick looks at the window's panels and files.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>
#include <QtTest>

#include <filesystem>
#include <memory>
#include <string>

#include "services/basic.h"
#include "services/qt/settings_store.h"
#include "support/dialog_answers.h"
#include "support/test_support.h"
#include "support/text_file.h"
#include "ui/frm_main.h"
#include "ui/time_line_picture.h"
#include "ui/widget_handle_picture.h"
#include "ui/widget_picture_box.h"
#include "ui/widget_text_panel.h"

namespace kalvor::test {

// Points the user's folders into a temporary home of this test program and
// keeps playback silent. Call once in initTestCase, before any window starts.
inline void UseTemporaryHome() {
    static const TempDir home;
    const QString root = QString::fromStdString(home.path().string());
    QDir().mkpath(root + "/config");
    QDir().mkpath(root + "/data");
    QDir().mkpath(root + "/runtime");
    QFile::setPermissions(root + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", root.toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (root + "/data").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (root + "/runtime").toUtf8());
    qputenv("KALVOR_AUDIO_OUTPUT", "fake");
    QStandardPaths::setTestModeEnabled(true);
}

// One run of the window: its program folder, with "kalvor.ini" holding profile
// so the settings stay in the folder, and a folder of songs.
class WindowRun {
   public:
    explicit WindowRun(const std::string& profile = "[conf]\n") { SetProfile(profile); }

    void SetProfile(const std::string& profile) {
        WriteText(program.file("kalvor.ini"), profile);
        ResetSettingsStoreChoice();
    }

    // A started window over this program folder.
    std::unique_ptr<FrmMain> Start(const std::string& commandLine = "") {
        ResetSettingsStoreChoice();
        auto window = std::make_unique<FrmMain>();
        if (!window->Start(commandLine, program.path().string())) return nullptr;
        return window;
    }

    // A copy of a test audio file among the songs, under name (default: its own).
    std::string Song(const std::string& audio, const std::string& name = "") {
        const std::string path = songs.file(name.empty() ? audio : name);
        std::filesystem::copy_file(TestAudio(audio), path, std::filesystem::copy_options::overwrite_existing);
        return path;
    }

    // A file of the program folder.
    std::string InProgram(const std::string& name) const { return program.file(name); }
    bool ProgramHas(const std::string& name) const { return std::filesystem::exists(program.file(name)); }

    TempDir program;
    TempDir songs;
};

inline std::string MessageText(FrmMain& window) {
    return window.PictureMes()->Text(0).toStdString();
}

// The first position tick after a file loads shows the stopped state; waiting
// for it keeps that text from replacing the message of a command run next.
inline bool SettleFirstTick(FrmMain& window) {
    return QTest::qWaitFor([&] { return MessageText(window) == "再生停止"; }, 2000);
}

inline QAction* Command(FrmMain& window, const char* name) {
    return window.findChild<QAction*>(QString::fromUtf8(name));
}

// Drops local files on target as a file manager does: the drag enters, then drops.
inline void DropFiles(QWidget* target, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

inline std::uintmax_t SizeOf(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

}  // namespace kalvor::test

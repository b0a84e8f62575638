// The main window's start and end, and the document reset and open that every
// other part of the window goes through.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QTimer>

#include "levels/level_keeper.h"
#include "services/app_folder.h"
#include "services/basic.h"
#include "services/fault_trap.h"
#include "services/leftovers.h"
#include "services/qt/qt_services.h"
#include "ui/frm_list.h"
#include "ui/frm_main.h"
#include "ui/frm_main_rules.h"
#include "ui/held_key_guard.h"
#include "ui/input_guard.h"
#include "ui/level_settings.h"
#include "ui/time_line_picture.h"
#include "ui/widget_picture_box.h"
#include "view/time_line_layout.h"

namespace kalvor {
namespace {

// The end waits this long for the media service to let go of the files.
constexpr std::int32_t kEndWaitMs = 200;
constexpr std::int32_t kEndWaitSliceMs = 10;
// The client area of a window with no stored placement, in twips: wide enough
// for a useful time line, as high as the tool panel needs.
constexpr std::int32_t kDefaultClientWidthTw = 9600;
// How often a file handed over by another start asks again while the window is busy.
constexpr int kHandOverRetryMs = 200;

}  // namespace

FrmMain::FrmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("FrmMain");
    guard_ = new InputGuard([this] { return document_ && document_->Running(); }, this);
    // A release that stands only after a moment finds input held back by then.
    heldKeys_ = new HeldKeyGuard([this](int key) { return !InputBlocked() && OnKeyReleased(key); }, this);
    CreateControls();
    CreateMenus();
    ConnectViewAndTransport();
}

FrmMain::~FrmMain() {
    End();
    // The document goes before the levels it reports to.
    document_.reset();
}

bool FrmMain::Start(const std::string& commandLine, const std::string& programFolder) {
    if (document_) return true;
    // A relative path names a file of the folder the user started in, which
    // the start is about to leave; the running kalvor needs it whole as well.
    const std::string path = CommandLinePath(commandLine, QDir::toNativeSeparators(QDir::currentPath()).toStdString());
    twipsPerPixel_ = kalvor::TwipsPerPixel();  // the screen's, not this accessor
    if (!AcquireSingleInstance()) {
        HandOverToRunningInstance(path);
        return false;
    }
    TrappedRun([&] { UseProgramFolder(programFolder); });
    // A run killed half-way through a save leaves temporary files: gone now.
    TrappedRun([] {
        CleanLeftovers(AppFolder(), "window");
        StartLeftoverJournal(AppFolder(), "window");
    });
    DocumentSink* sink = this;
    levels_ = std::make_unique<LevelKeeper>();
    document_ = std::make_unique<Document>(WorkFolder(), sink, &player_);
    document_->SetVersionListener(levels_.get());
    timeLine_ = std::make_unique<DocumentTimeLine>(*document_);
    view_ = std::make_unique<TimeLineView>(*timeLine_, twipsPerPixel_);
    view_->SetLevelSource(levels_.get());
    TrappedRun([] { ChooseSettingsStore(); });
    TrappedRun([&] { ApplyShowLevels(ReadShowLevels()); });
    TrappedRun([&] {
        if (ReadKeepTags()) document_->SetTagRewriter(&tagRewriter_);
    });
    setWindowTitle(QString::fromStdString(MainWindowCaption()));
    TrappedRun([] { ReadDiagnosticSwitches(); });
    TrappedRun([&] {
        SpeakUiLanguage(ChosenUiLanguage());
        RetranslateUi();
    });
    TrappedRun([] { ReadOutputSwitches(); });
    TrappedRun([&] { ApplyFonts(); });
    TrappedRun([&] { SetUpControls(); });
    TrappedRun([&] {
        const std::int32_t toolHeightTw = kToolTop + kToolHeight + 23 * twipsPerPixel_;
        resize(kDefaultClientWidthTw / twipsPerPixel_, toolHeightTw / twipsPerPixel_ + menuBar()->sizeHint().height());
        LoadWindowPlacement(this, "");
    });
    show();
    guard_->Install();
    InitAll();
    TrappedRun([&] { menuReg_->setVisible(!FindRegApp().empty()); });
    if (!commandLine.empty()) OpenFile(path);
    SetHandOverReceiver([this](const std::string& handed) { OnHandOver(handed); });
    return true;
}

void FrmMain::OnHandOver(const std::string& path) {
    // A drop cannot reach a busy window or one under a dialog: the file waits
    // until it could.
    if (InputBlocked() || QApplication::activeModalWidget()) {
        QTimer::singleShot(kHandOverRetryMs, this, [this, path] { OnHandOver(path); });
        return;
    }
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    // A drop names a file that is there; a mistyped name must not close the
    // document the user is editing.
    if (FileExists(path) == 1) OnFilesDropped({QString::fromStdString(path)});
}

void FrmMain::UseProgramFolder(const std::string& programFolder) {
    // What a user or an installer put beside the program is looked for there;
    // what kalvor writes on its own moves when it cannot write there.
    SetAppFolder(programFolder.empty() ? ExecutableFolder() : programFolder);
    if (IsInstalledCopy(AppFolder())) UseUserFolders();
    QDir::setCurrent(QString::fromStdString(WorkFolder()));
}

void FrmMain::ApplyFonts() {
    DecideLanguageMode();
    ChooseUiFont();
    ApplyUiFont(this, -2);
    ApplyUiFont(pictureSec_, -2);
}

void FrmMain::End() {
    if (ended_ || !document_) return;
    ended_ = true;
    if (list_) list_->close();
    guard_->Hold();
    timerMci_->stop();
    TrappedRun([&] { player_.DropGraph(); });
    TrappedRun([&] { SaveWindowPlacement(this, ""); });
    WaitWithEvents(kEndWaitMs, kEndWaitSliceMs);
    document_->InitAll();
    // The reset makes a fresh playback object; nothing will play any more.
    player_.DropGraph();
    TrappedRun([] {
        if (UseOwnUiFont()) ReleaseUiFonts();
    });
    guard_->Release();
    guard_->Uninstall();
    ReleaseSingleInstance();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    // Closing now would delete the working files under the running command.
    if ((document_ && document_->Running()) || (list_ && list_->OutputRunning())) {
        event->ignore();
        return;
    }
    End();
    event->accept();
}

void FrmMain::InitAll() {
    if (document_) document_->InitAll();
}

int FrmMain::OpenFile(const std::string& path) {
    if (!document_) return 0;
    opening_ = true;
    const int opened = document_->OpenFile(path);
    opening_ = false;
    return opened;
}

bool FrmMain::InputBlocked() const {
    return guard_->Blocked();
}

void FrmMain::HoldInput() {
    guard_->Hold();
}

void FrmMain::ReleaseInput() {
    guard_->Release();
}

}  // namespace kalvor

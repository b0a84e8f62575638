// The menu commands of the main window. Each asks for what the user must
// choose (a file name) and hands over to the document or a service.
#include "mpeg/FCT_AudioInf.h"
#include "playback/media_length_probe.h"
#include "services/app_folder.h"
#include "services/basic.h"
#include "services/fault_trap.h"
#include "services/mime/mime_type_name.h"
#include "services/qt/qt_services.h"
#include "ui/frm_list.h"
#include "ui/frm_main.h"
#include "ui/frm_main_rules.h"

namespace kalvor {

std::string FrmMain::AskFileName(bool save) {
    const std::string document = document_ ? document_->OrgFile() : std::string();
    return FileDialog(this, save, UiText(kFileDialogContext, kMpegAudioFilter), DialogStartFolder(document), "",
                      kDialogDefaultFlags);
}

// ---- "ファイル(&F)" ----

void FrmMain::MenuFileOpenClick() {
    if (!document_) return;
    const std::string path = AskFileName(false);
    if (!path.empty() && FileExists(path) == 1) OpenFile(path);
}

void FrmMain::MenuFileCloseClick() {
    InitAll();
}

void FrmMain::MenuOverwriteClick() {
    if (document_) document_->Overwrite();
}

void FrmMain::MenuFileSaveAsClick() {
    if (!document_ || !document_->IsOpen()) return;
    const std::string path = AskFileName(true);
    if (!path.empty()) document_->SaveAs(path);
}

void FrmMain::MenuRegClick() {
    // Without a document there is no version to hand over, and a file left at
    // the target by an earlier run is not this document's.
    if (!document_ || !document_->IsOpen()) return;
    TrappedRun([&] {
        const std::string target = HandOverTarget(WorkFolder(), document_->OrgFile());
        if (document_->SaveToFile(target) != 1) return;
        const std::string program = FindRegApp();
        if (!program.empty() && FileExists(target) == 1) RunProgram(program, target, 1, "");
    });
}

// ---- "編集(&E)" ----

void FrmMain::MenuDeleteClick() {
    if (document_) document_->Delete();
}

void FrmMain::MenuCutClick() {
    if (document_) document_->Cut();
}

void FrmMain::MenuCopyClick() {
    if (document_) document_->Copy();
}

void FrmMain::MenuPasteClick() {
    if (document_) document_->Paste();
}

void FrmMain::MenuSelectAllClick() {
    if (document_) document_->SelectAll();
}

void FrmMain::MenuUndoClick() {
    if (document_) document_->Undo();
}

void FrmMain::MenuPasteExClick() {
    if (!document_ || document_->Running()) return;
    const std::string path = AskFileName(false);
    if (!path.empty() && FileExists(path) == 1) document_->PasteFromFile(path);
}

void FrmMain::MenuWriteToFileClick() {
    if (!document_ || document_->Running() || document_->RequireSelection() != 1) return;
    const std::string path = AskFileName(true);
    if (!path.empty()) document_->WriteToFile(path);
}

// ---- "ツール(&T)" ----

void FrmMain::MenuDivideClick() {
    OpenListWindow(ListMode::Split);
}

void FrmMain::MenuBuildClick() {
    OpenListWindow(ListMode::Build);
}

void FrmMain::MenuDispMixClick() {
    OpenVolumeMixer();
}

void FrmMain::OpenListWindow(ListMode mode) {
    ShowListWindow(*this, list_, mode);
}

// ---- "情報(&I)" ----

void FrmMain::MenuFileInfoClick() {
    TrappedRun([&] {
        const std::string file = document_ ? document_->CurFile() : std::string();
        const FileInfoResult report = FileInfoReport(file, PlaybackLengthProbe(), MimeTypeName);
        CenteredMessageBox(report.Text, kStyleInformation, tr("ファイル情報").toStdString(), this);
    });
}

void FrmMain::MenuInfoClick() {
    ShowVersionInfo(this);
}

}  // namespace kalvor

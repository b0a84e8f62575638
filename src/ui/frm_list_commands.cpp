// The list window's commands: add, delete, move, double click and output.
#include <QCoreApplication>

#include "document/messages.h"
#include "listwin/silences.h"
#include "listwin/time_text_pos.h"
#include "services/basic.h"
#include "services/fault_trap.h"
#include "services/qt/file_dialog.h"
#include "ui/frm_list.h"
#include "ui/list_window_host.h"
#include "ui/widget_list_view.h"

namespace kalvor {

namespace {

// Input stays away from the windows and the window stays open while the
// output runs, whatever way it ends.
class OutputScope {
   public:
    OutputScope(ListWindowHost& host, bool& running) : host_(host), running_(running) {
        running_ = true;
        host_.HoldInput();
    }
    ~OutputScope() {
        host_.ReleaseInput();
        running_ = false;
    }
    OutputScope(const OutputScope&) = delete;
    OutputScope& operator=(const OutputScope&) = delete;

   private:
    ListWindowHost& host_;
    bool& running_;
};

}  // namespace

std::string OutputProgressText(int done, int total) {
    return QCoreApplication::translate("kalvor::FrmList", "出力中… %1/%2").arg(done).arg(total).toStdString();
}

void FrmList::ShowRows() {
    while (lv_->RowCount() < rows_.Count()) lv_->AppendRow();
    for (int row = 0; row < rows_.Count(); ++row) {
        for (int column = 0; column < kListColumns; ++column) {
            lv_->SetCell(row, column, QString::fromStdString(rows_.Cell(row, column)));
        }
    }
    lv_->Repaint();
}

void FrmList::MarkRowsGoneFromList() {
    // LV kept the other rows in their order, so walking both lists together
    // finds them; rows whose texts are all equal cannot be told apart, and
    // which of them is taken makes no difference.
    int kept = 0;
    for (int row = 0; row < rows_.Count(); ++row) {
        bool same = kept < lv_->RowCount();
        for (int column = 0; same && column < kListColumns; ++column) {
            same = lv_->Cell(kept, column).toStdString() == rows_.Cell(row, column);
        }
        rows_.Select(row, !same);
        if (same) ++kept;
    }
}

void FrmList::AddClicked() {
    if (outputRunning_) return;
    // A split point sorts into its place; the row selected in LV keeps its
    // selection (the model carries it through the sort).
    rows_.ClearSelection();
    rows_.Select(lv_->SelectedRow());
    rows_.Add(host_.SelStartMs(), host_.SelEndMs(), host_.DurationMs());
    ShowRows();
    if (Mode() == ListMode::Split) lv_->SelectRow(rows_.SelectedRow());
    host_.DrawPicture();
}

void FrmList::DeleteClicked() {
    if (outputRunning_) return;
    lv_->DeleteSelectedRows();
    MarkRowsGoneFromList();
    const std::int32_t durationMs = host_.DurationMs();
    if (!rows_.DeleteSelected(durationMs)) rows_.Renumber(durationMs);
    ShowRows();
    host_.DrawPicture();
}

void FrmList::MoveClicked(bool upperHalf) {
    if (outputRunning_ || Mode() != ListMode::Build) return;
    rows_.ClearSelection();
    rows_.Select(lv_->SelectedRow());
    if (!rows_.MoveSelected(upperHalf)) return;
    ShowRows();
    lv_->SelectRow(rows_.SelectedRow());
    lv_->ScrollSelectionIntoView();
}

void FrmList::SilenceSplitClicked() {
    if (outputRunning_ || Mode() != ListMode::Split) return;
    std::vector<std::int32_t> points;
    {
        // The host may wait for the levels with window events running: the
        // window stays open meanwhile, as it does for an output.
        OutputScope scope(host_, outputRunning_);
        points = host_.SilenceSplitPoints();
    }
    if (AddSplitPoints(rows_, points, host_.DurationMs()) == 0) return;
    ShowRows();
    host_.DrawPicture();
}

void FrmList::RowDoubleClicked() {
    if (outputRunning_ || Mode() != ListMode::Build) return;
    const int row = lv_->SelectedRow();
    if (row < 0) return;
    const ListDocument document = host_.DocumentForList();
    const auto position = [&](int column) { return TimeTextToBytePos(rows_.Cell(row, column), document.TimeScale()); };
    host_.DispSelected(position(kFromColumn), position(kToColumn));
    host_.PlaySelected(0);
}

void FrmList::OutputClicked() {
    if (outputRunning_ || rows_.Count() == 0) return;
    const ListDocument document = host_.DocumentForList();
    // Without audio every piece would be empty: say so before asking for a name.
    if (document.CurFile.empty() || document.Info.AudioLength <= 0) {
        host_.DispMes(UiText(msg::kContext, msg::kNoData));
        return;
    }
    const std::string chosen = FileDialog(this, true, UiText(kFileDialogContext, kMpegAudioFilter),
                                          DialogStartFolder(document.OrgFile), "", kDialogDefaultFlags);
    if (chosen.empty()) return;
    WriteOutput(document, EnsureExtension(chosen, host_.FileExt()));
}

void FrmList::WriteOutput(const ListDocument& document, const std::string& outputName) {
    // The output writes from a copy of the rows: nothing done to the list while
    // window events run between the copied chunks can change what is written.
    const ListRows rows = rows_;
    ListOutputResult result;
    result.Fault = ListOutputFault::Unexpected;
    {
        OutputScope scope(host_, outputRunning_);
        const int total = rows.Mode() == ListMode::Build ? rows.Count() : rows.Count() + 1;
        host_.DispMes(OutputProgressText(0, total));
        TrappedRun([&] {
            result = WriteListOutput(rows, document, outputName,
                                     [&](int done, int all) { host_.DispMes(OutputProgressText(done, all)); });
        });
    }
    host_.DispMes(ListOutputMessage(result));
}

}  // namespace kalvor

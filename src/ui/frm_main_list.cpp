// The main window as the split and build list window's host: the selection and
// the document it reads, and the time line it selects on and marks.
#include <QApplication>

#include "document/messages.h"
#include "levels/level_keeper.h"
#include "services/basic.h"
#include "ui/frm_main.h"
#include "ui/level_settings.h"

namespace kalvor {
namespace {

constexpr std::int32_t kLevelWaitMs = 50;
constexpr std::int32_t kLevelWaitSliceMs = 10;

}  // namespace

std::int32_t FrmMain::SelStartMs() const {
    return document_ ? document_->Sel.SelStartMs : 0;
}

std::int32_t FrmMain::SelEndMs() const {
    return document_ ? document_->Sel.SelEndMs : 0;
}

std::int32_t FrmMain::DurationMs() const {
    return document_ ? document_->DurationMs() : 0;
}

std::string FrmMain::FileExt() const {
    return document_ ? document_->FileExt() : std::string();
}

ListDocument FrmMain::DocumentForList() const {
    return document_ ? ListDocumentOf(*document_) : ListDocument{};
}

std::vector<std::int32_t> FrmMain::SilenceSplitPoints() {
    if (!document_ || document_->AudioLength() <= 0) {
        DispMes(UiText(msg::kContext, msg::kNoData));
        return {};
    }
    if (!levels_->Progress().Complete()) {
        // The rest of a long file decodes in a few seconds; the windows keep
        // painting the levels as they come.
        DispMes(UiText(msg::kContext, msg::kReadingLevels));
        HoldInput();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        while (!levels_->Progress().Complete()) {
            WaitWithEvents(kLevelWaitMs, kLevelWaitSliceMs);
            DrawPicture();
        }
        QApplication::restoreOverrideCursor();
        ReleaseInput();
    }
    if (levels_->Progress().Failed) {
        DispMes(UiText(msg::kContext, msg::kNoLevels));
        return {};
    }
    const AudioTimeScale time = document_->TimeScale();
    const PosToMsFn posToMs = [&](std::int64_t pos) { return time.PosToMs(static_cast<std::int32_t>(pos)); };
    const std::vector<std::int32_t> points = kalvor::SilenceSplitPoints(
        FindSilences(*levels_, time.FirstFramePos(), time.AudioEndPos(), ReadSilenceRule(), posToMs));
    DispMes(UiText(msg::kContext, points.empty() ? msg::kNoSilence : msg::kDone));
    return points;
}

void FrmMain::DispSelected(std::int32_t pIn, std::int32_t pOut) {
    if (view_) Apply(view_->DispSelected(pIn, pOut));
}

void FrmMain::SetListRows(const ListRows* rows) {
    if (view_) view_->SetListRows(rows);
    DrawPicture();
}

}  // namespace kalvor

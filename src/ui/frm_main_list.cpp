// The main window as the split and build list window's host: the selection and
// the document it reads, and the time line it selects on and marks.
#include "ui/frm_main.h"

namespace kalvor {

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

void FrmMain::DispSelected(std::int32_t pIn, std::int32_t pOut) {
    if (view_) Apply(view_->DispSelected(pIn, pOut));
}

void FrmMain::SetListRows(const ListRows* rows) {
    if (view_) view_->SetListRows(rows);
    DrawPicture();
}

}  // namespace kalvor

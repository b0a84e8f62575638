#pragma once
// One of the two selection handles under the time line. The start handle sits
// left of the mark-in point and points right at it; the end handle sits right of
// the mark-out point and points left, so the two never hide each other even when
// the selection is empty. Mouse input arrives through the PictureBox signals, with
// x in twips inside the handle.
#include "ui/widget_picture_box.h"

namespace kalvor {

enum class HandleKind { Start, End };

class HandlePicture : public PictureBox {
    Q_OBJECT
   public:
    explicit HandlePicture(HandleKind kind, QWidget* parent = nullptr);

    HandleKind Kind() const { return kind_; }

   protected:
    void paintEvent(QPaintEvent* event) override;

   private:
    HandleKind kind_;
};

}  // namespace kalvor

#pragma once
// PictureSec, the time line surface: paints the view model's drawing on a black
// picture and the play cursor LineHead over it. The drawing is painted once
// into an image when it changes; the cursor, moved every timer tick, is drawn
// over that image, so a moving cursor costs two narrow repaints.
#include <QImage>

#include "ui/widget_picture_box.h"
#include "view/draw_picture.h"

namespace kalvor {

// The play cursor's colour: stands out from the ticks, marks and the highlight.
inline constexpr QRgb kPlayCursorColor = 0xFFFF00;
// LineHead runs from the top to 600 twips down.
inline constexpr int kPlayCursorBottom = 600;

class TimeLinePicture : public PictureBox {
    Q_OBJECT
   public:
    explicit TimeLinePicture(QWidget* parent = nullptr);

    // Shows a new drawing (DrawPicture, or a highlight added at a drag's end).
    void SetDrawing(const Drawing& drawing);
    const Drawing& CurrentDrawing() const { return drawing_; }

    // LineHead: X1 = X2 = x twips; not clipped to the picture.
    void SetCursorX(float x);
    float CursorX() const { return cursorX_; }
    void SetCursorVisible(bool visible);
    bool CursorVisible() const { return cursorVisible_; }

   protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

   private:
    void Render();
    QRect CursorRect() const;

    Drawing drawing_;
    QImage image_;
    float cursorX_ = 720.0f;
    bool cursorVisible_ = false;
};

}  // namespace kalvor

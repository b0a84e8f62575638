#pragma once
// A push button that shows a picture instead of a caption: the list window's
// delete button with the waste-bin picture ImageGomi. Qt's clicked() is its event.
#include <QPixmap>
#include <QToolButton>

namespace kalvor {

// The waste-bin picture, side pixels square, drawn rather than shipped so it stays
// sharp at whatever size the button has.
QPixmap ImageGomi(int side);

class ImageButton : public QToolButton {
    Q_OBJECT
   public:
    explicit ImageButton(QWidget* parent = nullptr);

    // The picture is shown at its own size, centred on the button.
    void SetPicture(const QPixmap& picture);
};

}  // namespace kalvor

#include "services/qt/message_box.h"

#include <QMessageBox>
#include <QShowEvent>

#include "services/arith.h"
#include "services/fault_trap.h"
#include "services/qt/message_box_hook.h"

namespace kalvor {
namespace {

QMessageBox::Icon IconOf(std::int32_t style) {
    switch (style & 0xF0) {
        case 0x10: return QMessageBox::Critical;
        case 0x20: return QMessageBox::Question;
        case 0x30: return QMessageBox::Warning;
        case 0x40: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

// The buttons of the style in the order the platform lays them out.
QList<QMessageBox::StandardButton> ButtonsOf(std::int32_t style) {
    using B = QMessageBox::StandardButton;
    switch (style & 0x0F) {
        case 1: return {B::Ok, B::Cancel};
        case 2: return {B::Abort, B::Retry, B::Ignore};
        case 3: return {B::Yes, B::No, B::Cancel};
        case 4: return {B::Yes, B::No};
        case 5: return {B::Retry, B::Cancel};
        default: return {B::Ok};
    }
}

std::int32_t CodeOf(int button) {
    switch (button) {
        case QMessageBox::Ok: return kButtonOk;
        case QMessageBox::Cancel: return kButtonCancel;
        case QMessageBox::Abort: return kButtonAbort;
        case QMessageBox::Retry: return kButtonRetry;
        case QMessageBox::Ignore: return kButtonIgnore;
        case QMessageBox::Yes: return kButtonYes;
        case QMessageBox::No: return kButtonNo;
        default: return 0;
    }
}

// A message box that moves itself next to its owner's centre once it knows its
// own size, that is when it is shown.
class CentredBox : public QMessageBox {
   public:
    using QMessageBox::QMessageBox;
    void CentreOn(PixelPoint centre) {
        centre_ = centre;
        centred_ = true;
    }

   protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        if (!centred_) return;
        centred_ = false;
        const PixelPoint at = MessageBoxPosition(centre_, width(), height(), ScreenSizeTwips(), TwipsPerPixel());
        move(at.X, at.Y);
    }

   private:
    PixelPoint centre_;
    bool centred_ = false;
};

}  // namespace

PixelPoint OwnerCentrePixels(std::int32_t leftTw, std::int32_t topTw, std::int32_t widthTw, std::int32_t heightTw,
                             int twipsPerPixel) {
    return {WrapAdd(leftTw, widthTw / 2) / twipsPerPixel, WrapAdd(topTw, heightTw / 2) / twipsPerPixel};
}

PixelPoint MessageBoxPosition(PixelPoint centre, int width, int height, ScreenTwips screen, int twipsPerPixel) {
    int top = centre.Y - height / 2;
    const double bottomLimit = static_cast<double>(screen.Height - kBottomMarginTwips) / twipsPerPixel;
    if (top + height > bottomLimit) top = RoundHalfEven(bottomLimit - height);
    int left = centre.X - width / 2;
    const double rightLimit = static_cast<double>(screen.Width) / twipsPerPixel;
    if (left + width > rightLimit) left = RoundHalfEven(rightLimit - width);
    return {left < 0 ? 0 : left, top < 0 ? 0 : top};
}

std::int32_t CenteredMessageBox(const std::string& text, std::int32_t style, const std::string& caption,
                                QWidget* owner) {
    return Trapped(std::int32_t{0}, [&] {
        if (const auto answer = AnswerFromMessageBoxHook({text, style, caption, owner})) return *answer;
        QString body = QString::fromStdString(text);
        body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        CentredBox box(IconOf(style), QString::fromStdString(caption), body, QMessageBox::NoButton, owner);
        const auto buttons = ButtonsOf(style);
        for (const auto button : buttons) box.addButton(button);
        const int defaultIndex = (style >> 8) & 0x0F;
        box.setDefaultButton(buttons.value(defaultIndex, buttons.front()));
        if (owner && !owner->isMinimized()) {
            const int twipsPerPixel = TwipsPerPixel();
            const QRect frame = owner->frameGeometry();
            box.CentreOn(OwnerCentrePixels(frame.x() * twipsPerPixel, frame.y() * twipsPerPixel,
                                           frame.width() * twipsPerPixel, frame.height() * twipsPerPixel,
                                           twipsPerPixel));
        }
        return CodeOf(box.exec());
    });
}

}  // namespace kalvor

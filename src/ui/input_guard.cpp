#include "ui/input_guard.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

#include "services/event_pump.h"

namespace kalvor {

InputGuard::InputGuard(std::function<bool()> running, QObject* parent)
    : QObject(parent), running_(std::move(running)) {}

InputGuard::~InputGuard() {
    Uninstall();
}

void InputGuard::Install() {
    if (installed_ || !QCoreApplication::instance()) return;
    QCoreApplication::instance()->installEventFilter(this);
    SetEventPump([this] { Pump(); });
    installed_ = true;
}

void InputGuard::Uninstall() {
    if (!installed_) return;
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    SetEventPump({});
    installed_ = false;
}

bool InputGuard::Blocked() const {
    return holds_ > 0 || (running_ && running_());
}

void InputGuard::Hold() {
    ++holds_;
}

void InputGuard::Release() {
    if (holds_ <= 0) return;
    // Input held back while blocked would otherwise arrive now and run
    // commands the user gave to a busy window; the filter drops it here.
    if (holds_ == 1 && installed_) QCoreApplication::processEvents();
    --holds_;
}

bool InputGuard::IsUserInput(int eventType) {
    switch (eventType) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick: return true;
        default: return false;
    }
}

void InputGuard::Pump() {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::processEvents(Blocked() ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents);
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
    if (Blocked() && IsUserInput(event->type())) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kalvor

#include "ui/held_key_guard.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include "services/fault_trap.h"

namespace kalvor {
namespace {

// The release and the press of a repeat leave the server together; only the
// reading of the second can lag, by far less than this.
constexpr int kX11SettleMs = 60;

}  // namespace

HeldKeyGuard::HeldKeyGuard(Act act, QObject* parent, int settleMs)
    : QObject(parent), act_(std::move(act)), settleMs_(settleMs) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &HeldKeyGuard::Settle);
    // The press of a repeat goes to whichever widget has the focus.
    if (settleMs_ > 0 && QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
}

HeldKeyGuard::~HeldKeyGuard() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

int HeldKeyGuard::DefaultSettleMs() {
    return QGuiApplication::platformName() == QLatin1String("xcb") ? kX11SettleMs : 0;
}

bool HeldKeyGuard::Release(const QKeyEvent& event) {
    if (event.isAutoRepeat()) return false;
    if (settleMs_ <= 0) return Trapped(false, [&] { return act_(event.key()); });
    // A release of another key waiting still stands: it acts first.
    Settle();
    waiting_ = KeyAt{event.key(), event.timestamp()};
    timer_.start(settleMs_);
    return true;
}

void HeldKeyGuard::Settle() {
    timer_.stop();
    if (!waiting_) return;
    const int key = waiting_->Key;
    waiting_.reset();
    TrappedRun([&] { act_(key); });
}

bool HeldKeyGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const auto* release = static_cast<const QKeyEvent*>(event);
        lastRelease_ = KeyAt{release->key(), release->timestamp()};
    }
    // Before a press reaches a shortcut, the focus widget is asked whether it
    // takes the key itself. Taking a repeat's press there keeps a held Ctrl+Z
    // or Delete from running its command again; the widget gets the press.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* press = static_cast<const QKeyEvent*>(event);
        if (press->isAutoRepeat() ||
            (lastRelease_ && press->key() == lastRelease_->Key && press->timestamp() == lastRelease_->Time)) {
            event->accept();
            return true;
        }
    }
    if (waiting_ && event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<const QKeyEvent*>(event);
        if (press->key() == waiting_->Key && press->timestamp() == waiting_->Time) {
            waiting_.reset();
            timer_.stop();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kalvor

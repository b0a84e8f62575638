#pragma once
// Makes a held key act once, when it is let go. While a key is held, X11 sends
// a release and a press at every repeat, both with the same time stamp. Qt
// marks such a release as a repeat (QKeyEvent::isAutoRepeat) only when the
// press has already arrived, which a busy machine does not always manage; so
// there the guard holds every other release a moment, and a press of the same
// key at the same time proves it a repeat. Such a press runs no shortcut
// either: a held key runs its menu command once. Elsewhere repeats come marked
// and releases act at once.
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class QKeyEvent;

namespace kalvor {

class HeldKeyGuard : public QObject {
    Q_OBJECT
   public:
    // What a real release does; true when it used the key.
    using Act = std::function<bool(int key)>;
    // settleMs: how long a release waits for the press of a repeat; 0 acts at
    // once. The default waits on X11 only.
    explicit HeldKeyGuard(Act act, QObject* parent = nullptr, int settleMs = DefaultSettleMs());
    ~HeldKeyGuard() override;

    // A window's key release: a repeat is dropped (false); any other acts now
    // (the act's answer) or once it stands (true: taken).
    bool Release(const QKeyEvent& event);

    static int DefaultSettleMs();

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    struct KeyAt {
        int Key = 0;
        quint64 Time = 0;
    };
    void Settle();

    Act act_;
    int settleMs_;
    QTimer timer_;
    std::optional<KeyAt> waiting_;
    // The last release seen: a press at its time is its repeat.
    std::optional<KeyAt> lastRelease_;
};

}  // namespace kalvor

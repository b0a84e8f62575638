#pragma once
// Keeps the user's hands off the windows while a command runs. Long commands
// let window events run between their steps (PumpEvents) so the windows keep
// painting and the position timer keeps ticking; a click or a key in that time
// would start a second command on half-built working files. The guard installs
// the event pump and, while it is blocked, lets no mouse, key, wheel, shortcut,
// context-menu or drop event reach any widget; input that arrives during a
// command is dropped, not replayed when it ends.
#include <QObject>
#include <functional>

namespace kalvor {

class InputGuard : public QObject {
    Q_OBJECT
   public:
    // running tells whether the document runs a command right now.
    explicit InputGuard(std::function<bool()> running, QObject* parent = nullptr);
    ~InputGuard() override;

    // Starts filtering the application's events and installs the event pump.
    void Install();
    // Stops both; done on destruction too.
    void Uninstall();

    // True while input is kept away: a command runs, or Hold is in force.
    bool Blocked() const;
    // Blocks input until the matching Release (they nest). The last Release
    // first drops the input queued meanwhile.
    void Hold();
    void Release();

    // The events that come from the user's hands.
    static bool IsUserInput(int eventType);

    // Processes pending window events once; user input is left queued while
    // blocked (the filter drops it when it comes through).
    void Pump();

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    std::function<bool()> running_;
    int holds_ = 0;
    bool installed_ = false;
};

}  // namespace kalvor

#pragma once
// One command at a time. Copies let window events run between chunks, so a
// command could otherwise be started from inside another one and find the
// working files half-built.
#include "document/document.h"
#include "document/messages.h"

namespace kalvor {

class Document::CommandScope {
   public:
    explicit CommandScope(Document& doc) : doc_(doc), refused_(doc.running_) {
        if (refused_) {
            doc_.Say(msg::kBusy);
            return;
        }
        doc_.running_ = true;
    }
    ~CommandScope() {
        if (refused_) return;
        doc_.running_ = false;
        if (busy_ && doc_.sink_) doc_.sink_->Busy(false);
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

    bool Refused() const { return refused_; }

    // The hourglass, from here until the command ends.
    void Busy() {
        if (busy_ || refused_) return;
        busy_ = true;
        if (doc_.sink_) doc_.sink_->Busy(true);
    }

   private:
    Document& doc_;
    bool refused_;
    bool busy_ = false;
};

}  // namespace kalvor

#pragma once
// Answers the file dialogs and message boxes of the code under test in the
// user's place, from a queue set up by the test, and records what was asked.
// A dialog the test did not expect is answered with Cancel, so a test never
// waits on a modal window. Header only: for the Qt test programs.
#include <deque>
#include <string>
#include <vector>

#include "services/qt/file_dialog.h"
#include "services/qt/message_box.h"
#include "services/qt/message_box_hook.h"

namespace kalvor::test {

class DialogAnswers {
   public:
    DialogAnswers() {
        SetFileDialogHook([this](const FileDialogRequest& request) {
            FileDialogs.push_back(request);
            if (fileAnswers_.empty()) return std::string();
            std::string answer = fileAnswers_.front();
            fileAnswers_.pop_front();
            return answer;
        });
        SetMessageBoxHook([this](const MessageBoxRequest& request) {
            MessageBoxes.push_back(request);
            return kButtonOk;
        });
    }
    ~DialogAnswers() {
        SetFileDialogHook({});
        SetMessageBoxHook({});
    }
    DialogAnswers(const DialogAnswers&) = delete;
    DialogAnswers& operator=(const DialogAnswers&) = delete;

    // The next file dialog returns path ("" = the user cancelled).
    void AnswerFileDialog(const std::string& path) { fileAnswers_.push_back(path); }
    // Answers set up but not asked for.
    std::size_t Unused() const { return fileAnswers_.size(); }

    std::vector<FileDialogRequest> FileDialogs;
    std::vector<MessageBoxRequest> MessageBoxes;

   private:
    std::deque<std::string> fileAnswers_;
};

}  // namespace kalvor::test

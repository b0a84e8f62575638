#pragma once
// Answers message boxes in the user's place, so that tests never wait on a
// modal box: while a hook is set, CenteredMessageBox (and so the file
// information and version boxes) shows nothing and returns the hook's answer.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace kalvor {

// One box as it would have been shown.
struct MessageBoxRequest {
    std::string Text;
    std::int32_t Style = 0;
    std::string Caption;
    QWidget* Owner = nullptr;
};

// Returns the code of the button "pressed" (kButtonOk …).
using MessageBoxHook = std::function<std::int32_t(const MessageBoxRequest&)>;

// Installs the hook (an empty function removes it).
void SetMessageBoxHook(MessageBoxHook hook);

// The hook's answer for request, or nothing when no hook is set.
std::optional<std::int32_t> AnswerFromMessageBoxHook(const MessageBoxRequest& request);

}  // namespace kalvor

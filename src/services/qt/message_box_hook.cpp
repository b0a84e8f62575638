#include "services/qt/message_box_hook.h"

#include <utility>

namespace kalvor {
namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
    Hook() = std::move(hook);
}

std::optional<std::int32_t> AnswerFromMessageBoxHook(const MessageBoxRequest& request) {
    if (!Hook()) return std::nullopt;
    return Hook()(request);
}

}  // namespace kalvor

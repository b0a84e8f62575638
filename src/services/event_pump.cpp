#include "services/event_pump.h"

#include <utility>

namespace kalvor {
namespace {
EventPumpHook& Hook() {
    static EventPumpHook hook;
    return hook;
}
}  // namespace

void SetEventPump(EventPumpHook hook) {
    Hook() = std::move(hook);
}

void PumpEvents() {
    if (auto& hook = Hook()) hook();
}

}  // namespace kalvor

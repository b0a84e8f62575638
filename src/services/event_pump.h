#pragma once
// Long operations run on the user-interface thread and let pending window
// events run between their steps. The core knows no window system: the window
// installs a hook that processes its events once; until then it does nothing.
#include <functional>

namespace kalvor {

using EventPumpHook = std::function<void()>;

// Installs the hook (an empty function removes it).
void SetEventPump(EventPumpHook hook);

// Processes pending window events once through the installed hook.
void PumpEvents();

}  // namespace kalvor

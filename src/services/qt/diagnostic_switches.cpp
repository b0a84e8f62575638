#include "services/qt/diagnostic_switches.h"

#include "services/app_folder.h"
#include "services/basic.h"
#include "services/fault_trap.h"
#include "services/log.h"
#include "services/qt/settings_store.h"

namespace kalvor {

void ReadDiagnosticSwitches() {
    TrappedRun([] { SetLogAll(ParseSettingInt32(ReadSetting("LogError", std::int32_t{0})).value_or(0)); });
    TrappedRun([] {
        const bool errorCatch = ParseSettingInt32(ReadSetting("ErrorCatch", std::int32_t{0})).value_or(0) != 0;
        SetNoErrorTrap(errorCatch || FileExists(ProgramFilePath("ec.txt")) == 1);
    });
}

}  // namespace kalvor

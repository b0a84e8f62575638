#include "services/qt/output_switches.h"

#include "repack/exact_frames.h"
#include "services/qt/settings_store.h"

namespace kalvor {

void ReadOutputSwitches() {
    SetExactFrames(ParseSettingInt32(ReadSetting("ExactFrames", std::int32_t{0})).value_or(0) != 0);
}

}  // namespace kalvor

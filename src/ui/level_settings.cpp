#include "ui/level_settings.h"

#include <cstdint>

#include "services/qt/settings_store.h"

namespace kalvor {

bool ReadShowLevels() {
    return ParseSettingInt32(ReadSetting("ShowLevels", std::int32_t{1})).value_or(1) != 0;
}

void WriteShowLevels(bool show) {
    WriteSetting("ShowLevels", std::int32_t{show ? 1 : 0});
}

SilenceRule ReadSilenceRule() {
    const SilenceRule defaults;
    SilenceRule rule;
    const auto threshold = ParseSettingFloat(ReadSetting("SilenceThreshold", static_cast<float>(defaults.ThresholdDb)));
    // A threshold at or above full scale would call everything silence; below
    // the quietest level nothing.
    if (threshold && *threshold < 0.0f && *threshold > -127.0f) rule.ThresholdDb = *threshold;
    const auto seconds = ParseSettingFloat(ReadSetting("SilenceMinLength", static_cast<float>(defaults.MinSeconds)));
    if (seconds && *seconds > 0.0f && *seconds < 3600.0f) rule.MinSeconds = *seconds;
    return rule;
}

}  // namespace kalvor

#include "services/qt/keep_tags.h"

#include "services/fault_trap.h"
#include "services/qt/settings_store.h"

namespace kalvor {

bool ReadKeepTags() {
    return Trapped(true, [] { return ParseSettingInt32(ReadSetting("KeepTags", std::int32_t{1})).value_or(1) != 0; });
}

}  // namespace kalvor

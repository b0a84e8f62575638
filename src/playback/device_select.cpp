#include "playback/device_select.h"

#include "playback/graph_build.h"

namespace kalvor {

void SelectDevice(const std::string& devName, std::int32_t devMode, GraphSet& set) {
    if (devName.empty()) return;
    // Lower case only, not trimmed: blanks in devName count.
    std::string wanted = devName;
    for (char& c : wanted)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    const std::string directSound = FilterNameKey("Direct Sound");
    for (const RegFilterInfo& reg : set.regFilters) {
        const std::string name = FilterNameKey(reg.Name);
        if (name.find(wanted) == std::string::npos) continue;
        const bool marked = name.find("列挙済") != std::string::npos || name.find(directSound) != std::string::npos;
        if (marked != (devMode == 1)) continue;
        set.rendererName = name;
        return;
    }
}

}  // namespace kalvor

// ConnectPin: one filter of the graph connected to the next, chosen by name.
#include <algorithm>

#include "playback/graph_build.h"
#include "playback/media_graph.h"
#include "services/log.h"

namespace kalvor {
namespace {

struct PinSide {
    int found = 0;
    int pinCount = 0;
    const GraphPin* chosen = nullptr;
};

// A splitter's audio output: an identifier naming the first stream, or audio.
bool LooksLikeAudioOutput(const std::string& pinId) {
    std::string id = FilterNameKey(pinId);
    id.erase(std::remove(id.begin(), id.end(), ' '), id.end());
    return (id.find('1') != std::string::npos && id.find("stream") != std::string::npos) ||
           id.find("audio") != std::string::npos;
}

}  // namespace

std::int32_t ConnectPin(const std::string& from, const std::string& to, GraphSet& set) {
    if (!set.control) return 0;
    const std::string fromKey = FilterNameKey(from);
    const std::string toKey = FilterNameKey(to);
    PinSide side[2];
    std::vector<GraphPin> fromPins, toPins;
    for (GraphFilter* filter : set.control->Filters()) {
        const std::string key = FilterNameKey(filter->Name);
        if (key == fromKey && side[0].chosen == nullptr) {
            side[0].found = 1;
            for (const GraphPin& pin : set.control->Pins(*filter))
                if (pin.Direction != PinDirection::Input) fromPins.push_back(pin);
            side[0].pinCount = static_cast<int>(fromPins.size());
            if (!fromPins.empty()) side[0].chosen = &fromPins.front();
            if (fromPins.size() > 1) {
                const auto audio = std::find_if(fromPins.begin(), fromPins.end(),
                                                [](const GraphPin& p) { return LooksLikeAudioOutput(p.PinID); });
                if (audio != fromPins.end()) side[0].chosen = &*audio;
            }
        } else if (key == toKey && side[1].chosen == nullptr) {
            side[1].found = 1;
            toPins = set.control->Pins(*filter);
            for (const GraphPin& pin : toPins) {
                ++side[1].pinCount;
                if (pin.Direction == PinDirection::Input) {
                    side[1].chosen = &pin;
                    break;
                }
            }
        }
        if (side[0].chosen != nullptr && side[1].chosen != nullptr) break;
    }
    for (int s = 0; s < 2; ++s) {
        if (side[s].chosen != nullptr) continue;
        WriteLog("Pin not set " + from + "#" + to + " l=" + std::to_string(s) +
                 " tFound=" + std::to_string(side[s].found) + " tNumPin=" + std::to_string(side[s].pinCount));
        return 0;
    }
    if (!set.control->Connect(*side[0].chosen, *side[1].chosen)) {
        WriteLog("ConnectPin err " + from + "#" + to);
        return 0;
    }
    return 1;
}

}  // namespace kalvor

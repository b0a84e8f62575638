#include "playback/media_length_probe.h"

#include "playback/c_fgraph.h"
#include "services/fault_trap.h"

namespace kalvor {

MediaLengthProbe PlaybackLengthProbe() {
    return [](const std::string& path) -> std::int32_t {
        C_FGraph graph;
        std::int32_t length = 0;
        TrappedRun([&] {
            graph.Init();
            graph.SetFileName(path);
            length = graph.Length();
        });
        TrappedRun([&] { graph.CloseWave(); });
        return length;
    };
}

}  // namespace kalvor

// kalvor-cli play FILE [FROM TO] [--device NAME]: plays through the playback
// object the way the main window does (FromMS, ToMS, Play, then mode and
// Position every 50 ms), printing each change of state and the final position.
#ifdef KALVOR_HAVE_PLAYBACK
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "cli/cli_command.h"
#include "playback/c_fgraph.h"
#include "services/fault_trap.h"
#include "services/time_text.h"

namespace kalvor::cli {
namespace {

constexpr auto kTick = std::chrono::milliseconds(50);

const char* ModeName(std::int32_t mode) {
    switch (mode) {
        case 0: return "ended";
        case 1: return "stopped";
        case 2: return "paused";
        case 3: return "playing";
        default: return "?";
    }
}

struct PlayRequest {
    std::string path;
    std::string device;
    std::int32_t from = 0;
    std::int32_t to = 0;
};

PlayRequest ReadRequest(const Args& args) {
    PlayRequest request;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--device") {
            words.push_back(args[i]);
        } else if (i + 1 < args.size()) {
            request.device = args[++i];
        } else {
            throw UsageError{"--device needs a NAME"};
        }
    }
    if (words.size() != 1 && words.size() != 3) throw UsageError{"play takes FILE and optionally FROM and TO"};
    request.path = words[0];
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::int32_t read = 0;
        const std::int32_t ms = TimeTextToMs(words[i], true, &read);
        if (read != 1 || ms < 0) throw UsageError{"cannot read the time: " + words[i]};
        (i == 1 ? request.from : request.to) = ms;
    }
    return request;
}

// The window's timer tick, without the window, until playback has run and
// stopped again.
int PlayLoop(C_FGraph& graph) {
    std::int32_t lastMode = -1;
    std::int32_t lastPosition = graph.FromMS();
    bool ran = false;
    // A graph that never reports an end must not keep the command forever.
    const auto rangeMs = static_cast<long long>((graph.ToMS() - graph.FromMS()) / graph.PlaySpeed());
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(rangeMs) + std::chrono::seconds(10);
    for (;;) {
        std::this_thread::sleep_for(kTick);
        const std::int32_t mode = graph.mode();
        if (mode != lastMode) {
            lastMode = mode;
            std::printf("mode %d %s\n", mode, ModeName(mode));
            std::fflush(stdout);
        }
        if (mode == 3 || mode == 0) ran = true;
        if (mode == 1 && ran) break;
        if (mode == 3) {
            const std::int32_t position = graph.Position();
            lastPosition = position;
            if (position > graph.ToMS()) graph.StopIO();
        }
        if (std::chrono::steady_clock::now() > limit) {
            graph.StopIO();
            std::printf("final position %d ms (%s)\n", lastPosition, MsToTimeText(lastPosition).c_str());
            return Fail("playback did not end");
        }
    }
    std::printf("final position %d ms (%s)\n", lastPosition, MsToTimeText(lastPosition).c_str());
    return 0;
}

int RunPlay(const Args& args) {
    const PlayRequest request = ReadRequest(args);
    C_FGraph graph;
    graph.SetDevName(request.device);
    const int outcome = Trapped(-1, [&] {
        graph.Init();
        graph.SetFileName(request.path);
        return 0;
    });
    if (outcome != 0 || graph.isOpen() != 1) return Fail(request.path + ": no graph can play this file");
    std::printf("length %d ms (%s)\n", graph.Length(), MsToTimeText(graph.Length()).c_str());
    graph.SetFromMS(request.from >= graph.Length() ? graph.Length() - 1 : request.from);
    graph.SetToMS(request.to == 0 ? graph.Length() : request.to);
    if (graph.Play() != 1) return Fail(request.path + ": playback did not start");
    const int result = Trapped(1, [&] { return PlayLoop(graph); });
    graph.CloseWave();
    return result;
}

}  // namespace

KALVOR_CLI_COMMAND("play",
                   "play FILE [FROM TO] [--device NAME]\nplays FILE, or FROM..TO of it, on the default output or the "
                   "device whose name contains NAME;\nKALVOR_AUDIO_OUTPUT=fake renders nothing at the clock's pace, "
                   "=wav:PATH captures to PATH",
                   RunPlay);

}  // namespace kalvor::cli
#endif  // KALVOR_HAVE_PLAYBACK

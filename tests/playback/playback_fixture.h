#pragma once
// Shared by the playback tests: the log as lines, and the window's polling of a
// playback object.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "playback/c_fgraph.h"
#include "playback/filter_table.h"
#include "services/app_folder.h"
#include "services/log.h"
#include "support/test_support.h"

namespace kalvor::test {

// Turns the diagnostic log on into a fresh folder for the life of the object.
class LogCapture {
   public:
    LogCapture() {
        SetAppFolder(folder_.path().string());
        SetLogAll(1);
    }
    ~LogCapture() { SetLogAll(0); }
    // The messages written so far, without their date and time.
    std::vector<std::string> Lines() const {
        const Bytes bytes = ReadFile(folder_.file("log/kalvor.log"));
        std::stringstream text(std::string(bytes.begin(), bytes.end()));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.size() > 20) lines.push_back(line.substr(20));  // "YYYY/MM/DD HH:MM:SS "
        }
        return lines;
    }

   private:
    TempDir folder_;
};

// What the window's 50 ms timer saw until playback stopped.
struct PollRecord {
    std::vector<std::int32_t> modes;  // each change of mode, in order
    std::int32_t lastPosition = -1;   // the last position read while playing
    bool timedOut = false;
};

// Polls like the window: mode, then while playing Position and the range end.
inline PollRecord PollUntilStopped(C_FGraph& graph, int limitMs) {
    PollRecord record;
    bool ran = false;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::int32_t mode = graph.mode();
        if (record.modes.empty() || record.modes.back() != mode) record.modes.push_back(mode);
        if (mode == 3 || mode == 0) ran = true;
        if (mode == 1 && ran) return record;
        if (mode == 3) {
            record.lastPosition = graph.Position();
            if (record.lastPosition > graph.ToMS()) graph.StopIO();
        }
        if (std::chrono::steady_clock::now() > limit) {
            record.timedOut = true;
            return record;
        }
    }
}

// Plays from … to and polls until playback has stopped again.
inline PollRecord PlayRange(C_FGraph& graph, std::int32_t fromMs, std::int32_t toMs, int limitMs = 5000) {
    graph.SetFromMS(fromMs);
    graph.SetToMS(toMs);
    graph.Play();
    return PollUntilStopped(graph, limitMs);
}

// Every test program that includes this renders into a sink that keeps the
// clock's pace and plays nothing, unless a test asks for another output.
inline const bool kFakeOutputChosen = [] { return setenv(kAudioOutputVariable, "fake", 1) == 0; }();

}  // namespace kalvor::test

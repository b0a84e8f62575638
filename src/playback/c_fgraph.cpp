#include "playback/c_fgraph.h"

#include <cmath>
#include <cstdlib>

#include "mpeg/FCT_mpeg.h"
#include "mpeg/WaveMMIO.h"
#include "playback/adts_duration.h"
#include "playback/audio_levels.h"
#include "playback/device_select.h"
#include "playback/graph_build.h"
#include "playback/media_graph.h"
#include "services/arith.h"
#include "services/fault_trap.h"
#include "services/file_utils.h"

namespace kalvor {
namespace {

constexpr int kStateWaitMs = 10;
constexpr int kCompletionWaitMs = 5;

// A media-service failure inside a member: skipped, or passed on in the
// diagnostic mode.
void Skipped(bool ok, const char* what) {
    if (!ok && NoErrorTrap()) throw MediaError(what);
}

bool IsMpegAudioType(const std::string& type) {
    return type == "mp1" || type == "mp2" || type == "mp3" || type == "mpa";
}

// The stream analysis' duration, 0 when the file is no MPEG audio it can read.
std::int32_t AnalysedMs(const std::string& path) {
    StreamInfo info;
    return AnalyzeStream(path, info) == 1 ? info.DurationMs : 0;
}

}  // namespace

C_FGraph::C_FGraph() = default;

C_FGraph::~C_FGraph() {
    ReleaseGraph(graph_);
}

void C_FGraph::Init() {
    CreateGraph(graph_);
    playSpeed_ = 1.0f;
    fromMs_ = 0;
    fileName_.clear();
    isOpen_ = isPlaying_ = 0;
    length_ = 0;
    InitFilterNames(devMode_, graph_);
    SelectDevice();
}

void C_FGraph::SelectDevice() {
    kalvor::SelectDevice(devName_, devMode_, graph_);
}

void C_FGraph::Closed() {
    fileName_.clear();
    isOpen_ = isPlaying_ = 0;
    length_ = 0;
}

void C_FGraph::SetFileName(const std::string& path) {
    fromMs_ = toMs_ = 0;
    if (path == fileName_) return;
    fileName_ = path;
    if (graph_.control && !graph_.control->Stop()) {
        Closed();
        Skipped(false, "stop failed");
        return;
    }
    ReleaseGraph(graph_);
    // The old file's graph is gone: nothing is open until the new one is.
    isOpen_ = isPlaying_ = 0;
    length_ = 0;
    if (FileExists(path) == 0) {
        Closed();
        return;
    }
    if (!Build(path)) {
        Closed();
        return;
    }
    ApplyTail(path);
}

// The three attempts: the named chain, the named chain again (with its
// attempt-1 variant) on the same graph, then the fallback on a new graph.
bool C_FGraph::Build(const std::string& path) {
    CreateGraph(graph_);
    if (SetupPinsToDecode(path, 0, graph_) == 1) return true;
    DisconnectAll(graph_);
    if (SetupPinsToDecode(path, 1, graph_) == 1) return true;
    ReleaseGraph(graph_);
    CreateGraph(graph_);
    return RenderPinsToDecode(path, graph_) == 1;
}

// MPEG audio files take their length from the stream analysis, the same
// record the document converts bytes and times with; it also knows streams
// whose length the engine cannot tell before it has played a while (no Xing or
// Info header), and it does not trim the encoder delay an Info header declares.
// Other files, and MPEG files the analysis rejects, ask the engine; a renamed
// MPEG file the engine cannot measure yet is still measured by the analysis,
// and raw AAC by counting its frames.
bool C_FGraph::DurationSeconds(const std::string& path, double* seconds) {
    const bool mpeg = IsMpegAudioType(WavContainerType(path));
    std::int32_t ms = mpeg ? AnalysedMs(path) : 0;
    if (ms <= 0) {
        if (graph_.control->Duration(seconds)) return true;
        ms = mpeg ? 0 : AnalysedMs(path);
        if (ms <= 0) ms = AdtsDurationMs(path);
    }
    *seconds = ms / 1000.0;
    return ms > 0;
}

// Once the graph is built, a failure ends the write and reaches the caller; in
// the diagnostic mode failing steps are skipped instead.
void C_FGraph::ApplyTail(const std::string& path) {
    const bool skip = NoErrorTrap();
    auto step = [&](bool ok, const char* what) {
        if (!ok && !skip) throw MediaError(what);
    };
    double seconds = 0;
    const bool known = DurationSeconds(path, &seconds);
    step(known, "the duration is unknown");
    if (known) length_ = toMs_ = RoundHalfEven(seconds * 1000.0);
    MediaGraph& graph = *graph_.control;
    step(graph.SetCurrentPosition(0), "seek failed");
    step(graph.SetVolume(attenuation_ > volMinLevel_ ? attenuation_ : kSilentLevel), "volume failed");
    step(graph.SetBalance(panValue_), "balance failed");
    step(graph.SetRate(playSpeed_), "rate failed");
    isOpen_ = 1;
}

void C_FGraph::StopIO() {
    if (isPlaying_ == 1 && isOpen_ == 1 && graph_.control) Skipped(graph_.control->Stop(), "stop failed");
    isPlaying_ = 0;
}

std::int32_t C_FGraph::Play() {
    if (isOpen_ == 0 || !graph_.control) return 0;
    // StopIO without passing failures on: Play ignores them in either mode.
    if (isPlaying_ == 1) graph_.control->Stop();
    isPlaying_ = 0;
    // Repositioned before it runs: running first would let the output render
    // the audio held at the old position (and its old level) until the seek.
    graph_.control->SetCurrentPosition(fromMs_ / 1000.0);
    graph_.control->Run();
    isPlaying_ = 1;
    return 1;
}

void C_FGraph::Pause() {
    if (isOpen_ == 0 || !graph_.control) return;
    GraphState state = GraphState::Stopped;
    if (!graph_.control->GetState(kStateWaitMs, &state)) {
        Skipped(false, "state query failed");
        return;
    }
    if (state == GraphState::Paused)
        Skipped(graph_.control->Run(), "run failed");
    else if (state == GraphState::Running)
        Skipped(graph_.control->Pause(), "pause failed");
}

std::int32_t C_FGraph::Position(std::int32_t kind) {
    if (isPlaying_ != 1 || isOpen_ != 1 || !graph_.control) return 0;
    std::int32_t result = 0;
    double at = 0;
    if (graph_.control->CurrentPosition(&at)) {
        if (kind == 0) result = RoundHalfEven(at * 1000.0);
        if (kind == 1) result = RoundHalfEven(length_ - at * 1000.0);
        if (kind == 2) result = RoundHalfEven(toMs_ - at * 1000.0);
    } else {
        Skipped(false, "position unknown");
    }
    if (toMs_ > 0 && toMs_ != length_ && graph_.control->CurrentPosition(&at) && at * 1000.0 > toMs_) StopIO();
    return result;
}

std::int32_t C_FGraph::mode() {
    GraphState state = GraphState::Stopped;
    if (graph_.control && !graph_.control->GetState(kStateWaitMs, &state)) {
        Skipped(false, "state query failed");
        return 0;
    }
    if (state == GraphState::Paused) return 2;
    if (state == GraphState::Running) {
        if (IsStillRunning() == 1) return 3;
        StopIO();
        return 0;
    }
    return 1;
}

std::int32_t C_FGraph::IsStillRunning() {
    return graph_.control && graph_.control->WaitForCompletion(kCompletionWaitMs) != GraphEvent::None ? 0 : 1;
}

void C_FGraph::CloseWave() {
    StopIO();
    ReleaseGraph(graph_);
    Closed();
}

void C_FGraph::SetAttenuation(std::int32_t amount) {
    const double a = std::abs(static_cast<double>(amount));
    // A floor of 0 or above leaves no room to attenuate (and would divide by zero).
    std::int32_t level = 0;
    if (volMinLevel_ < 0) {
        const double value = (a / 10.0) * (a / 10.0) / (volMinLevel_ / 100.0);
        level = value < volMinLevel_ ? volMinLevel_ : RoundHalfEven(value);
    }
    if (level > 0) level = 0;
    if (level < volMinLevel_) level = volMinLevel_;
    attenuation_ = level;
    if (graph_.control) Skipped(graph_.control->SetVolume(level), "volume failed");
}

std::int32_t C_FGraph::Attenuation() {
    if (graph_.control) attenuation_ = graph_.control->Volume();
    return attenuation_;
}

void C_FGraph::SetPanValue(std::int32_t balance) {
    panValue_ = balance;
    if (graph_.control) Skipped(graph_.control->SetBalance(balance), "balance failed");
}

std::int32_t C_FGraph::PanValue() {
    if (graph_.control) panValue_ = graph_.control->Balance();
    return panValue_;
}

void C_FGraph::SetPlaySpeed(float speed) {
    playSpeed_ = speed > 0 ? speed : 0.1f;
    if (devMode_ == 1 && graph_.control) Skipped(graph_.control->SetRate(playSpeed_), "rate failed");
}

}  // namespace kalvor

#include "playback/playback_control.h"

#include "playback/c_fgraph.h"

namespace kalvor {

std::int32_t FGraphControl::Length() {
    return graph_.Length();
}

std::int32_t FGraphControl::ToMS() {
    return graph_.ToMS();
}

void FGraphControl::SetFromMS(std::int32_t ms) {
    graph_.SetFromMS(ms);
}

void FGraphControl::SetToMS(std::int32_t ms) {
    graph_.SetToMS(ms);
}

std::int32_t FGraphControl::Play() {
    return graph_.Play();
}

void FGraphControl::Pause() {
    graph_.Pause();
}

void FGraphControl::StopIO() {
    graph_.StopIO();
}

std::int32_t FGraphControl::Position() {
    return graph_.Position();
}

std::int32_t FGraphControl::mode() {
    return graph_.mode();
}

PlaybackControl* FGraphFollower::Current() {
    C_FGraph* graph = graph_ ? graph_() : nullptr;
    if (graph == nullptr) return nullptr;
    if (graph != bound_) {
        control_ = std::make_unique<FGraphControl>(*graph);
        bound_ = graph;
    }
    return control_.get();
}

}  // namespace kalvor

#include "ui/graph_player.h"

#include "playback/c_fgraph.h"
#include "services/fault_trap.h"

namespace kalvor {

GraphPlayer::GraphPlayer() = default;

GraphPlayer::~GraphPlayer() {
    DropGraph();
}

void GraphPlayer::DropGraph() {
    if (!graph_) return;
    // Whatever the media service says while letting go, the object goes.
    TrappedRun([&] {
        graph_->SetFileName("");
        graph_->CloseWave();
        graph_->SetFileName("");
    });
    graph_.reset();
}

void GraphPlayer::CreateGraph() {
    DropGraph();
    graph_ = std::make_unique<C_FGraph>();
    TrappedRun([&] { graph_->Init(); });
}

void GraphPlayer::SetFileName(const std::string& path) {
    if (!graph_) return;
    TrappedRun([&] { graph_->SetFileName(path); });
}

std::int32_t GraphPlayer::Length() {
    if (!graph_) return 0;
    return Trapped(std::int32_t{0}, [&] { return graph_->Length(); });
}

}  // namespace kalvor

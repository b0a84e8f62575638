#pragma once
// The document's Player over the real playback object. The object is replaced
// on every load, so that no working file stays open in the media service; the
// transport reaches the current one through Graph(), which is null while it is
// being replaced.
#include <cstdint>
#include <memory>
#include <string>

#include "document/player.h"

namespace kalvor {

class C_FGraph;

class GraphPlayer : public Player {
   public:
    GraphPlayer();
    ~GraphPlayer() override;
    GraphPlayer(const GraphPlayer&) = delete;
    GraphPlayer& operator=(const GraphPlayer&) = delete;

    void DropGraph() override;
    void CreateGraph() override;
    void SetFileName(const std::string& path) override;
    std::int32_t Length() override;

    // The current playback object, or null between DropGraph and CreateGraph.
    C_FGraph* Graph() { return graph_.get(); }

   private:
    std::unique_ptr<C_FGraph> graph_;
};

}  // namespace kalvor

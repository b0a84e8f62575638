#pragma once
// What the transport needs of the playback object, so that it can drive the
// real C_FGraph in the window and a scripted one in tests.
#include <cstdint>
#include <functional>
#include <memory>

namespace kalvor {

class C_FGraph;

class PlaybackControl {
   public:
    virtual ~PlaybackControl() = default;
    virtual std::int32_t Length() = 0;
    virtual std::int32_t ToMS() = 0;
    virtual void SetFromMS(std::int32_t ms) = 0;
    virtual void SetToMS(std::int32_t ms) = 0;
    virtual std::int32_t Play() = 0;
    virtual void Pause() = 0;
    virtual void StopIO() = 0;
    virtual std::int32_t Position() = 0;
    // 0 just ended, 1 stopped, 2 paused, 3 playing.
    virtual std::int32_t mode() = 0;
};

// The window's playback object as the transport sees it. It does not own the
// object: the window drops the adapter with the object it wraps.
class FGraphControl : public PlaybackControl {
   public:
    explicit FGraphControl(C_FGraph& graph) : graph_(graph) {}
    std::int32_t Length() override;
    std::int32_t ToMS() override;
    void SetFromMS(std::int32_t ms) override;
    void SetToMS(std::int32_t ms) override;
    std::int32_t Play() override;
    void Pause() override;
    void StopIO() override;
    std::int32_t Position() override;
    std::int32_t mode() override;

   private:
    C_FGraph& graph_;
};

// Follows a playback object that its owner replaces on every load: Current()
// is an adapter over the object graph() gives now, or null while there is none.
class FGraphFollower {
   public:
    explicit FGraphFollower(std::function<C_FGraph*()> graph) : graph_(std::move(graph)) {}
    PlaybackControl* Current();

   private:
    std::function<C_FGraph*()> graph_;
    C_FGraph* bound_ = nullptr;
    std::unique_ptr<FGraphControl> control_;
};

}  // namespace kalvor

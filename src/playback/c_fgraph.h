#pragma once
// C_FGraph: plays one audio file, or a millisecond range of it, through a
// decoding graph that ends in an audio output device. It has no thread or timer
// of its own: the window polls mode and Position every 50 ms, and those polls
// find the end of a range or of the stream. No call waits on the engine longer
// than 10 ms (state query) plus 5 ms (completion test).
//
// Calling order: construct; SetDevMode/SetDevName/SetVolMinLevel when wanted;
// Init; SetFileName(path); Length; then FromMS/ToMS/Play, Pause, StopIO, polls of
// mode and Position; finally SetFileName(""), CloseWave.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "playback/graph_set.h"

namespace kalvor {

// A failure of the media service passed to the caller: by the tail of
// SetFileName (duration, seek, volume, balance, rate once the graph is built),
// and by every member in the diagnostic mode (NoErrorTrap). Callers trap it at
// their boundary like every other fault.
class MediaError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
};

class C_FGraph {
   public:
    C_FGraph();
    ~C_FGraph();
    C_FGraph(const C_FGraph&) = delete;
    C_FGraph& operator=(const C_FGraph&) = delete;

    // Creates the graph set and chooses the filters and the output device;
    // PlaySpeed 1, FromMS 0, closed (ToMS keeps its value).
    void Init();
    // 0 wave-out defaults first, 1 DirectSound ones; read by Init and PlaySpeed.
    void SetDevMode(std::int32_t devMode) { devMode_ = devMode; }
    // Part of an output device's name; empty: the default device. Read by Init.
    void SetDevName(const std::string& devName) { devName_ = devName; }
    // The floor of Attenuation in hundredths of a decibel (-10000 from construction).
    void SetVolMinLevel(std::int32_t level) { volMinLevel_ = level; }

    std::int32_t FromMS() const { return fromMs_; }
    void SetFromMS(std::int32_t ms) { fromMs_ = ms; }
    // End of the range Play plays; 0 or Length: to the end of the file.
    std::int32_t ToMS() const { return toMs_; }
    void SetToMS(std::int32_t ms) { toMs_ = ms; }
    // Length of the open file in ms; 0 when closed.
    std::int32_t Length() const { return length_; }

    // Balance in hundredths of a decibel: -10000 left only … 10000 right only.
    std::int32_t PanValue();
    void SetPanValue(std::int32_t balance);
    // Rate factor; 0 or less stores 0.1. Applied at once with DevMode 1, else at
    // the next SetFileName.
    float PlaySpeed() const { return playSpeed_; }
    void SetPlaySpeed(float speed);
    // Write: an attenuation amount a, giving the level -(a/10)² / (-VolMinLevel/100)
    // held in VolMinLevel … 0. Read: the current level.
    std::int32_t Attenuation();
    void SetAttenuation(std::int32_t amount);

    const std::string& FileName() const { return fileName_; }
    // Opens path (the same path again only resets FromMS and ToMS); an empty or
    // missing path, or a file no graph can play, leaves the object closed.
    void SetFileName(const std::string& path);

    // Stops playback; the position is kept.
    void StopIO();
    // Plays FromMS … ToMS: 1 when started, 0 when nothing is open.
    std::int32_t Play();
    // Pause and resume in turn.
    void Pause();
    // kind 0 the play position, 1 the time left to the end of the file, 2 to
    // ToMS; 0 unless playing. Passing ToMS stops playback.
    std::int32_t Position(std::int32_t kind = 0);
    // 0 the stream has just ended (playback stopped itself) or the state is
    // unknown, 1 stopped or closed, 2 paused, 3 playing.
    std::int32_t mode();
    // Stops and releases the graph; closed afterwards.
    void CloseWave();

    std::int32_t isPlaying() const { return isPlaying_; }
    std::int32_t isOpen() const { return isOpen_; }
    // The graph set, for looking at the choices Init made.
    const GraphSet& Graph() const { return graph_; }

   private:
    std::int32_t IsStillRunning();
    void SelectDevice();
    void Closed();
    bool Build(const std::string& path);
    void ApplyTail(const std::string& path);
    bool DurationSeconds(const std::string& path, double* seconds);

    GraphSet graph_;
    std::int32_t devMode_ = 0;
    std::string devName_;
    std::int32_t volMinLevel_ = -10000;
    std::string fileName_;
    std::int32_t fromMs_ = 0;
    std::int32_t toMs_ = 0;
    std::int32_t length_ = 0;
    std::int32_t attenuation_ = 0;
    std::int32_t panValue_ = 0;
    float playSpeed_ = 1.0f;
    std::int32_t isPlaying_ = 0;
    std::int32_t isOpen_ = 0;
};

}  // namespace kalvor

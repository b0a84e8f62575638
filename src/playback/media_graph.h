#pragma once
// MediaGraph: one GStreamer pipeline seen as a graph of named filters with pins,
// offering what the graph construction and the playback object need: filters
// made from registered entries, pins with direction and identifier, connect and
// disconnect, and the transport (run, pause, stop, bounded state and completion
// waits, duration, seek, position, rate, volume, balance).
//
// Connect answers at once whether the stream gets through: the part of the graph
// connected so far is prerolled (into temporary sinks when the far side is not
// yet an output device). Pads that appear only once the stream is read are
// offered as pins named after their template and linked when they appear.
// Filters that are not connected are kept out of the running pipeline.
#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "playback/filter_table.h"

namespace kalvor {

struct GraphFilter {
    std::string Name;  // unique in the graph: a second instance gets " 0001" appended
    FilterKind Kind = FilterKind::Transform;
    GstElement* Element = nullptr;  // owned by the pipeline
    bool IsFileSource() const { return Kind == FilterKind::Source; }
};

enum class PinDirection : int { Input = 0, Output = 1 };

struct GraphPin {
    GraphFilter* Filter = nullptr;
    std::string PinID;  // the pad's name, or the template's ("audio_%u") for a pad still to come
    PinDirection Direction = PinDirection::Input;
    GstPad* Pad = nullptr;  // borrowed from the element; null for a pad still to come
};

// The states GetState reports.
enum class GraphState : int { Stopped = 0, Paused = 1, Running = 2 };
// The events WaitForCompletion reports.
enum class GraphEvent : long { None = 0, Complete = 1, ErrorAbort = 3 };

class MediaGraph {
   public:
    MediaGraph();
    ~MediaGraph();
    MediaGraph(const MediaGraph&) = delete;
    MediaGraph& operator=(const MediaGraph&) = delete;

    // Makes an instance of the registered filter in this graph; null when the
    // machine cannot make it.
    GraphFilter* AddFilter(const RegFilterInfo& entry);
    std::vector<GraphFilter*> Filters() const;
    // The pins in the element's order: existing pads, then pads still to come.
    std::vector<GraphPin> Pins(const GraphFilter& filter) const;
    // Gives a file source the file to read.
    bool SetFileName(GraphFilter& filter, const std::string& path);

    // Connects an output pin to an input pin, inserting conversion or a decoder
    // when the two cannot meet directly. true only when the stream gets through;
    // why holds the engine's reason otherwise.
    bool Connect(const GraphPin& out, const GraphPin& in, std::string* why = nullptr);
    // Disconnects an output pin (and what Connect inserted behind it).
    void Disconnect(const GraphPin& out);

    bool Run();
    bool Pause();
    // Holds rendering where it is (the position is kept).
    bool Stop();
    // The state, waiting at most waitMs for a change in progress; false when
    // the engine reports a failure.
    bool GetState(int waitMs, GraphState* state);
    // GraphEvent::None while still rendering after waiting at most waitMs, else
    // the event that ended the stream.
    GraphEvent WaitForCompletion(int waitMs);
    bool Duration(double* seconds);
    bool CurrentPosition(double* seconds);
    bool SetCurrentPosition(double seconds);
    bool SetRate(double rate);
    double Rate() const { return rate_; }
    // Levels in hundredths of a decibel.
    bool SetVolume(std::int32_t level);
    std::int32_t Volume() const { return volume_; }
    bool SetBalance(std::int32_t balance);
    std::int32_t Balance() const { return balance_; }
    // The first error the engine reported since the last connect or run.
    std::string LastError() const;

   private:
    struct Route;  // a link made when a pad appears
    friend struct Route;

    bool CheckThrough(GraphFilter& to, GstPad* input, std::string* why);
    static GstPadProbeReturn OnData(GstPad* pad, GstPadProbeInfo* info, gpointer self);
    bool Preroll(std::string* why, bool awaitPads);
    std::size_t ProbeSinkCount() const;
    void ResetToNull();
    void KeepOutUnconnected();
    void Park(GraphFilter& filter);
    void Unpark(GraphFilter& filter);
    bool IsConnected(const GraphFilter& filter) const;
    bool FedBySource(GstElement* element, int depth) const;
    bool LinkOrInsert(const GraphPin& out, const GraphPin& in, std::string* why);
    void DropRoutes(const GraphFilter* from, GstPad* fromPad, bool probesOnly);
    bool AddProbeSinks(GraphFilter& filter);
    void RemoveProbeSinks();
    void PumpBus();
    void HandleMessage(GstMessage* message);
    bool Seek(double seconds, double rate);
    void ApplyLevels();

    GstElement* pipeline_ = nullptr;
    GstBus* bus_ = nullptr;
    GstElement* parking_ = nullptr;  // holds the filters that are not connected
    std::vector<std::unique_ptr<GraphFilter>> filters_;
    std::vector<std::unique_ptr<Route>> routes_;
    std::vector<GstElement*> probeSinks_;  // temporary sinks of CheckThrough
    mutable std::mutex mutex_;             // guards what pad-added callbacks touch
    std::string firstError_;
    std::atomic<bool> dataSeen_{false};  // set on a streaming thread during a check
    std::atomic<bool> padsDone_{false};  // a probed splitter has made all its pads
    bool stopped_ = true;
    GraphEvent completion_ = GraphEvent::None;
    std::uint32_t ignoredSeqnum_ = 0;  // an end of stream seen before the last seek
    std::uint32_t endedSeqnum_ = 0;
    double seekTarget_ = -1.0;
    double rate_ = 1.0;
    std::int32_t volume_ = 0;
    std::int32_t balance_ = 0;
};

}  // namespace kalvor

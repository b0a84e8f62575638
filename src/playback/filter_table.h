#pragma once
// The registered-filter list: which GStreamer element (or small bin) stands for
// each filter name the graph construction asks for, and which of them this
// machine can make. Audio output devices found by the device monitor join the
// list under their display names.
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kalvor {

enum class FilterKind {
    Source,     // reads the file named by SetFileName
    Transform,  // parser, splitter, demuxer or decoder
    Renderer,   // an audio output device; the volume and balance stage sits in front of it
};

// One entry of the registered-filter list.
struct RegFilterInfo {
    std::string Name;  // the name the graph construction compares with
    FilterKind Kind = FilterKind::Transform;
    std::string Launch;            // gst-launch description of what to make; for a renderer its sink
    std::string Head;              // for a renderer: elements in front of the stage (a MIDI synthesiser)
    std::shared_ptr<void> Device;  // a GstDevice from the monitor (its element is made by it)
};

// Every filter of the table this machine can make, in the table's order, then
// the output devices the device monitor reports. Made afresh on each call.
std::vector<RegFilterInfo> RegisteredFilters();

// Test hooks, never used by the application: names to report as missing, names
// to make from another description, and output devices to add (display name,
// sink description). Applied by every later RegisteredFilters call.
struct FilterOverrides {
    std::vector<std::string> Hidden;
    std::vector<std::pair<std::string, std::string>> Replaced;
    std::vector<std::pair<std::string, std::string>> ExtraOutputs;
};
void SetFilterOverrides(FilterOverrides overrides);

// The environment variable that redirects every output device's sink:
// "fake" renders nothing at the clock's pace, "wav:PATH" captures to a WAV file
// as fast as the decoder runs. Unset: the devices' own sinks.
inline constexpr const char* kAudioOutputVariable = "KALVOR_AUDIO_OUTPUT";

// The sink description an output device renders into, after that variable
// (the capture's file sink is named kCaptureElementName).
std::string OutputSinkLaunch(const std::string& deviceSink);
inline constexpr const char* kCaptureElementName = "kalvor-capture";

}  // namespace kalvor

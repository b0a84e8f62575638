#include "playback/filter_table.h"

#include <gst/gst.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <sstream>

#include "playback/gst_runtime.h"

namespace kalvor {
namespace {

// One name the graph construction may ask for. Elements: alternatives separated
// by '|', the first whose elements all exist on this machine is made.
struct FilterRow {
    const char* name;
    FilterKind kind;
    const char* elements;
    const char* head;  // renderers only: what must precede the stage
};

// What stands for what. Names without a row are reported missing, as are rows
// whose elements this machine lacks.
constexpr FilterRow kFilterTable[] = {
    // The asynchronous file source: reads the file, offers raw bytes.
    {"File Source (Async.)", FilterKind::Source, "filesrc", nullptr},
    // RIFF WAVE parser: PCM (and whatever else a WAVE file holds) out of the chunks.
    {"Wave Parser", FilterKind::Transform, "wavparse", nullptr},
    // MPEG-1/2 audio splitter: finds frames of Layers I to III, skips ID3v2.
    {"MPEG-I Stream Splitter", FilterKind::Transform, "mpegaudioparse", nullptr},
    // The Layer I/II decoder of the mp1/mp2 chain (mpg123 decodes every layer).
    {"MPEG Audio Decoder", FilterKind::Transform, "mpg123audiodec|avdec_mp2float", nullptr},
    // The preferred Layer III decoder (mpg123 1.22 trips over LSF Info frames).
    {"MPEG Layer-3 Decoder", FilterKind::Transform, "avdec_mp3|mpg123audiodec", nullptr},
    // The second Layer III decoder, a float decoder of another library.
    {"MP3 Decoder DMO", FilterKind::Transform, "avdec_mp3float|avdec_mp3", nullptr},
    // The codec-manager wrapper, the Layer III decoder of last resort (attempt 1).
    {"ACM Wrapper", FilterKind::Transform, "mpg123audiodec|avdec_mp3", nullptr},
    // MP4/M4A splitter with an AAC decoder after it.
    {"Haali Media Splitter (AR)", FilterKind::Transform, "qtdemux", nullptr},
    {"Microsoft DTV-DVD Audio Decoder", FilterKind::Transform, "avdec_aac", nullptr},
    // Raw AAC (ADTS/ADIF) parser and its decoder.
    {"MainConcept (Adobe2) Stream Parser", FilterKind::Transform, "aacparse", nullptr},
    {"MainConcept (Adobe2) AAC Decoder", FilterKind::Transform, "avdec_aac", nullptr},
    // The universal audio decoder that also splits what it is given.
    {"ffdshow Audio Decoder", FilterKind::Transform, "decodebin", nullptr},
    // Windows Media decoders. The ASF readers ("WM ASF Reader", "Windows Media
    // Source Filter": a source with the splitter built in) and "ASF ACM Handler"
    // have no counterpart and stay missing; ASF files then go through the
    // fallback, which finds a demuxer when the machine has one.
    {"WMAudio Decoder DMO", FilterKind::Transform, "avdec_wmav2", nullptr},
    {"Windows Media Audio Decoder", FilterKind::Transform, "avdec_wmav1", nullptr},
    // Standard MIDI file parser, and the synthesiser that plays its events.
    {"MIDI Parser", FilterKind::Transform, "midiparse", nullptr},
    {"Default MidiOut Device", FilterKind::Renderer, "autoaudiosink", "fluiddec|wildmidi"},
    // The default audio output: whatever the system offers, and a sink that keeps
    // the clock's pace without rendering when it offers nothing.
    {"Default WaveOut Device", FilterKind::Renderer, "autoaudiosink", nullptr},
    // The sound-server output.
    {"Default DirectSound Device", FilterKind::Renderer, "pulsesink", nullptr},
};

std::mutex g_overridesMutex;
FilterOverrides g_overrides;

// 1 when every element of a gst-launch description exists.
bool ElementsExist(const std::string& launch) {
    std::stringstream parts(launch);
    std::string part;
    while (std::getline(parts, part, '!')) {
        std::stringstream words(part);
        std::string factoryName;
        words >> factoryName;
        if (factoryName.empty()) return false;
        GstElementFactory* factory = gst_element_factory_find(factoryName.c_str());
        if (factory == nullptr) return false;
        gst_object_unref(factory);
    }
    return true;
}

// The first alternative this machine can make, or "" when none.
std::string FirstAvailable(const char* alternatives) {
    if (alternatives == nullptr) return "";
    std::stringstream list(alternatives);
    std::string launch;
    while (std::getline(list, launch, '|'))
        if (ElementsExist(launch)) return launch;
    return "";
}

void AddMonitoredOutputs(std::vector<RegFilterInfo>& list) {
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, "Audio/Sink", nullptr);
    // Without a sound server the monitor may refuse to start; the table's own
    // devices still stand.
    if (gst_device_monitor_start(monitor)) {
        GList* devices = gst_device_monitor_get_devices(monitor);
        for (GList* item = devices; item != nullptr; item = item->next) {
            auto* device = GST_DEVICE(item->data);
            gchar* displayName = gst_device_get_display_name(device);
            RegFilterInfo entry;
            entry.Name = displayName != nullptr ? displayName : "";
            entry.Kind = FilterKind::Renderer;
            entry.Device = std::shared_ptr<void>(gst_object_ref(device), [](void* d) { gst_object_unref(d); });
            g_free(displayName);
            if (!entry.Name.empty()) list.push_back(std::move(entry));
        }
        g_list_free_full(devices, gst_object_unref);
        gst_device_monitor_stop(monitor);
    }
    gst_object_unref(monitor);
}

}  // namespace

void SetFilterOverrides(FilterOverrides overrides) {
    std::lock_guard<std::mutex> lock(g_overridesMutex);
    g_overrides = std::move(overrides);
}

std::vector<RegFilterInfo> RegisteredFilters() {
    EnsureGstreamer();
    FilterOverrides overrides;
    {
        std::lock_guard<std::mutex> lock(g_overridesMutex);
        overrides = g_overrides;
    }
    std::vector<RegFilterInfo> list;
    for (const FilterRow& row : kFilterTable) {
        if (std::find(overrides.Hidden.begin(), overrides.Hidden.end(), row.name) != overrides.Hidden.end()) continue;
        RegFilterInfo entry{row.name, row.kind, FirstAvailable(row.elements), FirstAvailable(row.head), nullptr};
        for (const auto& [name, launch] : overrides.Replaced)
            if (name == row.name) entry.Launch = launch;
        if (entry.Launch.empty() || (row.head != nullptr && entry.Head.empty())) continue;
        list.push_back(std::move(entry));
    }
    AddMonitoredOutputs(list);
    for (const auto& [name, launch] : overrides.ExtraOutputs)
        list.push_back(RegFilterInfo{name, FilterKind::Renderer, launch, "", nullptr});
    return list;
}

std::string OutputSinkLaunch(const std::string& deviceSink) {
    const char* value = std::getenv(kAudioOutputVariable);
    const std::string output = value != nullptr ? value : "";
    if (output == "fake") return "fakesink sync=true";
    if (output.rfind("wav:", 0) == 0) return std::string("wavenc ! filesink name=") + kCaptureElementName;
    return deviceSink;
}

}  // namespace kalvor

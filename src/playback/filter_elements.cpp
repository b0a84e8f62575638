#include "playback/filter_elements.h"

#include <cstdlib>

namespace kalvor {
namespace {

// scaletempo changes the rate without changing the pitch and wants converted
// audio on both sides; audiopanorama takes only F32/S16 and, with the simple
// method, attenuates the opposite channel instead of mixing the two.
constexpr const char* kOutputStage =
    "audioconvert ! audioresample ! scaletempo ! audioconvert ! volume name=kalvor-volume ! audioconvert ! "
    "audiopanorama name=kalvor-pan method=simple ! audioconvert ! audioresample";

GstElement* Parse(const std::string& launch, std::string* why) {
    GError* error = nullptr;
    GstElement* element = launch.find('!') != std::string::npos
                              ? gst_parse_bin_from_description(launch.c_str(), TRUE, &error)
                              : gst_parse_launch(launch.c_str(), &error);
    if (error != nullptr) {
        if (why != nullptr) *why = error->message;
        g_error_free(error);
        if (element != nullptr) gst_object_unref(gst_object_ref_sink(element));
        return nullptr;
    }
    return element;
}

std::string CapturePath() {
    const char* value = std::getenv(kAudioOutputVariable);
    const std::string output = value != nullptr ? value : "";
    return output.rfind("wav:", 0) == 0 ? output.substr(4) : "";
}

GstElement* MakeSink(const RegFilterInfo& entry, std::string* why) {
    const std::string launch = OutputSinkLaunch(entry.Device ? "" : entry.Launch);
    if (launch.empty() && entry.Device) {
        GstElement* sink = gst_device_create_element(static_cast<GstDevice*>(entry.Device.get()), nullptr);
        if (sink == nullptr && why != nullptr) *why = "the device made no element";
        return sink;
    }
    GstElement* sink = Parse(launch, why);
    const std::string capture = CapturePath();
    if (sink != nullptr && !capture.empty() && GST_IS_BIN(sink)) {
        GstElement* file = gst_bin_get_by_name(GST_BIN(sink), kCaptureElementName);
        if (file != nullptr) {
            g_object_set(file, "location", capture.c_str(), nullptr);
            gst_object_unref(file);
        }
    }
    return sink;
}

GstElement* MakeRenderer(const RegFilterInfo& entry, std::string* why) {
    const std::string stageLaunch = entry.Head.empty() ? kOutputStage : entry.Head + " ! " + kOutputStage;
    GstElement* stage = Parse(stageLaunch, why);
    if (stage == nullptr) return nullptr;
    GstElement* sink = MakeSink(entry, why);
    if (sink == nullptr) {
        gst_object_unref(gst_object_ref_sink(stage));
        return nullptr;
    }
    GstElement* bin = gst_bin_new(nullptr);
    gst_bin_add_many(GST_BIN(bin), stage, sink, nullptr);
    g_autoptr(GstPad) stageSink = gst_element_get_static_pad(stage, "sink");
    const bool ok = gst_element_link(stage, sink) && stageSink != nullptr &&
                    gst_element_add_pad(bin, gst_ghost_pad_new("sink", stageSink));
    if (!ok) {
        if (why != nullptr) *why = "the output stage does not link to the device";
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    return bin;
}

}  // namespace

GstElement* MakeFilterElement(const RegFilterInfo& entry, std::string* why) {
    if (entry.Kind == FilterKind::Renderer) return MakeRenderer(entry, why);
    return Parse(entry.Launch, why);
}

}  // namespace kalvor

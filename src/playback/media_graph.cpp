#include "playback/media_graph.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

#include "playback/filter_elements.h"
#include "playback/gst_runtime.h"

namespace kalvor {

// A link made on the streaming thread when a pad appears on `from`: to target,
// or, for a probe, to a new sink that swallows what arrives.
struct MediaGraph::Route {
    MediaGraph* graph = nullptr;
    GstElement* from = nullptr;  // the filter's element, or a decoder the graph inserted
    std::string templateName;    // the pad template to wait for; empty: the first audio pad
    GstPad* target = nullptr;    // null for a probe
    GraphFilter* fromFilter = nullptr;
    GraphFilter* toFilter = nullptr;
    GstPad* feeder = nullptr;                       // the output pad that feeds an inserted decoder
    GstElement* inserted = nullptr;                 // that decoder, removed with the route
    std::optional<gulong> padAdded = std::nullopt;  // handler ids while `from` is watched
    std::optional<gulong> noMorePads = std::nullopt;
    bool linked = false;
    bool probe = false;

    // Watches `from` for the pads it makes, on behalf of this route.
    void Watch() {
        padAdded = g_signal_connect(from, "pad-added", G_CALLBACK(OnPadAdded), this);
        noMorePads = g_signal_connect(from, "no-more-pads", G_CALLBACK(OnNoMorePads), this);
    }
    // Stops watching; nothing to do when it never started.
    void Disconnect() {
        for (std::optional<gulong>* id : {&padAdded, &noMorePads}) {
            if (*id) g_signal_handler_disconnect(from, **id);
            id->reset();
        }
    }

    static void OnPadAdded(GstElement* element, GstPad* pad, gpointer self);
    static void OnNoMorePads(GstElement* element, gpointer self);
};

namespace {

constexpr int kPrerollLimitMs = 5000;

bool IsAudioPad(GstPad* pad) {
    g_autoptr(GstCaps) caps = gst_pad_get_current_caps(pad);
    if (caps == nullptr) caps = gst_pad_query_caps(pad, nullptr);
    return caps != nullptr && !gst_caps_is_any(caps) && gst_caps_get_size(caps) > 0 &&
           g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/");
}

// The pad already says it carries video, text or anything else but audio (a
// universal decoder's pads share one template whatever they carry).
bool IsOtherMedia(GstPad* pad) {
    g_autoptr(GstCaps) caps = gst_pad_get_current_caps(pad);
    return caps != nullptr && gst_caps_get_size(caps) > 0 &&
           !g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/");
}

// The pad takes, or gives, decoded audio and nothing else: a decoder may be put
// in front of a pad that takes only that, and is of no use behind one that gives it.
bool OnlyRawAudio(GstPad* pad) {
    g_autoptr(GstCaps) caps = gst_pad_query_caps(pad, nullptr);
    if (caps == nullptr) return false;
    g_autoptr(GstCaps) raw = gst_caps_from_string("audio/x-raw");
    return !gst_caps_is_any(caps) && !gst_caps_is_empty(caps) && gst_caps_is_subset(caps, raw);
}

const char* TemplateName(GstPad* pad) {
    GstPadTemplate* templ = GST_PAD_PAD_TEMPLATE(pad);
    return templ != nullptr ? GST_PAD_TEMPLATE_NAME_TEMPLATE(templ) : "";
}

}  // namespace

void MediaGraph::Route::OnPadAdded(GstElement*, GstPad* pad, gpointer self) {
    auto* route = static_cast<Route*>(self);
    if (GST_PAD_DIRECTION(pad) != GST_PAD_SRC) return;
    if (!route->templateName.empty() ? route->templateName != TemplateName(pad) || IsOtherMedia(pad) : !IsAudioPad(pad))
        return;
    MediaGraph* graph = route->graph;
    if (route->probe) {
        GstElement* sink = gst_element_factory_make("fakesink", nullptr);
        g_object_set(sink, "sync", FALSE, nullptr);
        {
            std::lock_guard<std::mutex> lock(graph->mutex_);
            graph->probeSinks_.push_back(sink);
        }
        gst_bin_add(GST_BIN(graph->pipeline_), sink);
        g_autoptr(GstPad) sinkPad = gst_element_get_static_pad(sink, "sink");
        gst_pad_link(pad, sinkPad);
        gst_element_sync_state_with_parent(sink);
        return;
    }
    if (route->linked || gst_pad_is_linked(route->target)) return;
    route->linked = GST_PAD_LINK_SUCCESSFUL(gst_pad_link(pad, route->target));
}

void MediaGraph::Route::OnNoMorePads(GstElement*, gpointer self) {
    auto* route = static_cast<Route*>(self);
    if (route->probe) route->graph->padsDone_ = true;
    if (route->linked || route->probe) return;
    std::lock_guard<std::mutex> lock(route->graph->mutex_);
    if (route->graph->firstError_.empty()) route->graph->firstError_ = "no audio stream";
}

MediaGraph::MediaGraph() {
    EnsureGstreamer();
    pipeline_ = gst_pipeline_new(nullptr);
    gst_object_ref_sink(pipeline_);
    parking_ = gst_bin_new(nullptr);
    gst_object_ref_sink(parking_);
    bus_ = gst_pipeline_get_bus(GST_PIPELINE(pipeline_));
}

MediaGraph::~MediaGraph() {
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    for (auto& route : routes_) route->Disconnect();
    routes_.clear();
    gst_object_unref(bus_);
    gst_object_unref(pipeline_);
    gst_object_unref(parking_);
}

GraphFilter* MediaGraph::AddFilter(const RegFilterInfo& entry) {
    std::string why;
    GstElement* element = MakeFilterElement(entry, &why);
    if (element == nullptr) return nullptr;
    // Names stay unique in a graph: later instances are numbered.
    std::string name = entry.Name;
    for (int n = 1; std::any_of(filters_.begin(), filters_.end(), [&](const auto& f) { return f->Name == name; });
         ++n) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, " %04d", n);
        name = entry.Name + suffix;
    }
    ResetToNull();
    if (!gst_bin_add(GST_BIN(pipeline_), element)) {
        gst_object_unref(gst_object_ref_sink(element));
        return nullptr;
    }
    auto filter = std::make_unique<GraphFilter>(GraphFilter{name, entry.Kind, element});
    filters_.push_back(std::move(filter));
    if (entry.Kind == FilterKind::Renderer) ApplyLevels();
    return filters_.back().get();
}

std::vector<GraphFilter*> MediaGraph::Filters() const {
    std::vector<GraphFilter*> list;
    for (const auto& f : filters_) list.push_back(f.get());
    return list;
}

std::vector<GraphPin> MediaGraph::Pins(const GraphFilter& filter) const {
    std::vector<GraphPin> pins;
    auto* self = const_cast<GraphFilter*>(&filter);
    // Pads that come only once the stream is read are pins from the start, named
    // after their template, as a splitter's output pins are once its input is
    // connected. They stand for the pads whether these exist at the moment or
    // not: such pads go away whenever the graph stops, so no pin holds one.
    GST_OBJECT_LOCK(filter.Element);
    for (GList* item = GST_ELEMENT_PADS(filter.Element); item != nullptr; item = item->next) {
        auto* pad = GST_PAD(item->data);
        GstPadTemplate* templ = GST_PAD_PAD_TEMPLATE(pad);
        if (templ != nullptr && GST_PAD_TEMPLATE_PRESENCE(templ) == GST_PAD_SOMETIMES) continue;
        gchar* name = gst_pad_get_name(pad);
        pins.push_back(GraphPin{
            self, name, GST_PAD_DIRECTION(pad) == GST_PAD_SRC ? PinDirection::Output : PinDirection::Input, pad});
        g_free(name);
    }
    GST_OBJECT_UNLOCK(filter.Element);
    GList* templates = gst_element_class_get_pad_template_list(GST_ELEMENT_GET_CLASS(filter.Element));
    for (GList* item = templates; item != nullptr; item = item->next) {
        auto* templ = GST_PAD_TEMPLATE(item->data);
        if (GST_PAD_TEMPLATE_PRESENCE(templ) == GST_PAD_SOMETIMES && GST_PAD_TEMPLATE_DIRECTION(templ) == GST_PAD_SRC)
            pins.push_back(GraphPin{self, GST_PAD_TEMPLATE_NAME_TEMPLATE(templ), PinDirection::Output, nullptr});
    }
    return pins;
}

bool MediaGraph::SetFileName(GraphFilter& filter, const std::string& path) {
    if (!filter.IsFileSource()) return false;
    ResetToNull();
    GstElement* reader = filter.Element;
    if (GST_IS_BIN(reader)) return false;
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(reader), "location") == nullptr) return false;
    g_object_set(reader, "location", path.c_str(), nullptr);
    return true;
}

bool MediaGraph::Connect(const GraphPin& out, const GraphPin& in, std::string* why) {
    if (out.Filter == nullptr || in.Filter == nullptr || out.Direction != PinDirection::Output ||
        in.Direction != PinDirection::Input || in.Pad == nullptr) {
        if (why != nullptr) *why = "not an output and an input pin";
        return false;
    }
    ResetToNull();
    Unpark(*out.Filter);
    Unpark(*in.Filter);
    if (gst_pad_is_linked(in.Pad) || (out.Pad != nullptr && gst_pad_is_linked(out.Pad))) {
        if (why != nullptr) *why = "pin already connected";
        return false;
    }
    if (LinkOrInsert(out, in, why) && CheckThrough(*in.Filter, in.Pad, why)) return true;
    Disconnect(out);
    // The two do not meet: let the engine find the parser and decoder between
    // them, when what follows takes decoded audio only.
    if (out.Pad == nullptr || !OnlyRawAudio(in.Pad) || OnlyRawAudio(out.Pad)) return false;
    GstElement* decoder = gst_element_factory_make("decodebin", nullptr);
    if (decoder == nullptr) return false;
    gst_bin_add(GST_BIN(pipeline_), decoder);
    g_autoptr(GstPad) decoderSink = gst_element_get_static_pad(decoder, "sink");
    const bool fed = GST_PAD_LINK_SUCCESSFUL(gst_pad_link(out.Pad, decoderSink));
    auto route = std::make_unique<Route>();
    *route = Route{this, decoder, "", in.Pad, out.Filter, in.Filter, out.Pad, decoder};
    route->Watch();
    routes_.push_back(std::move(route));
    if (fed && CheckThrough(*in.Filter, in.Pad, why)) return true;
    Disconnect(out);
    return false;
}

bool MediaGraph::LinkOrInsert(const GraphPin& out, const GraphPin& in, std::string* why) {
    if (out.Pad != nullptr) {
        const GstPadLinkReturn result = gst_pad_link(out.Pad, in.Pad);
        if (!GST_PAD_LINK_SUCCESSFUL(result) && why != nullptr)
            *why = std::string("pads do not link: ") + gst_pad_link_get_name(result);
        return GST_PAD_LINK_SUCCESSFUL(result);
    }
    auto route = std::make_unique<Route>();
    *route = Route{this, out.Filter->Element, out.PinID, in.Pad, out.Filter, in.Filter};
    route->Watch();
    routes_.push_back(std::move(route));
    return true;
}

void MediaGraph::Disconnect(const GraphPin& out) {
    if (out.Filter == nullptr || out.Direction != PinDirection::Output) return;
    ResetToNull();
    if (out.Pad != nullptr) {
        g_autoptr(GstPad) peer = gst_pad_get_peer(out.Pad);
        if (peer != nullptr) gst_pad_unlink(out.Pad, peer);
    }
    DropRoutes(out.Filter, out.Pad, false);
    if (out.Pad == nullptr) {
        // A pin still to come: forget its pending link.
        routes_.erase(std::remove_if(routes_.begin(), routes_.end(),
                                     [&](const auto& r) {
                                         if (r->fromFilter != out.Filter || r->templateName != out.PinID ||
                                             r->inserted != nullptr)
                                             return false;
                                         r->Disconnect();
                                         return true;
                                     }),
                      routes_.end());
    }
}

// Forgets the routes fed by fromPad (with the decoders inserted for them), or
// every probe route of the graph.
void MediaGraph::DropRoutes(const GraphFilter* from, GstPad* fromPad, bool probesOnly) {
    for (auto it = routes_.begin(); it != routes_.end();) {
        Route& r = **it;
        const bool drop = probesOnly ? r.probe : (r.fromFilter == from && fromPad != nullptr && r.feeder == fromPad);
        if (!drop) {
            ++it;
            continue;
        }
        r.Disconnect();
        if (r.inserted != nullptr) {
            if (r.target != nullptr) {
                g_autoptr(GstPad) peer = gst_pad_get_peer(r.target);
                if (peer != nullptr) gst_pad_unlink(peer, r.target);
            }
            gst_element_set_state(r.inserted, GST_STATE_NULL);
            gst_bin_remove(GST_BIN(pipeline_), r.inserted);
        }
        it = routes_.erase(it);
    }
}

bool MediaGraph::IsConnected(const GraphFilter& filter) const {
    bool linked = false;
    GST_OBJECT_LOCK(filter.Element);
    for (GList* item = GST_ELEMENT_PADS(filter.Element); item != nullptr && !linked; item = item->next)
        linked = gst_pad_is_linked(GST_PAD(item->data));
    GST_OBJECT_UNLOCK(filter.Element);
    return linked || std::any_of(routes_.begin(), routes_.end(),
                                 [&](const auto& r) { return r->fromFilter == &filter || r->toFilter == &filter; });
}

// Filters left over from an attempt that failed stay in the graph but are kept
// out of the pipeline: an unconnected source would stop the stream with an
// error, an unconnected output would never preroll nor reach the end, and
// either would refuse the seeks the pipeline hands to every sink.
void MediaGraph::KeepOutUnconnected() {
    for (const auto& f : filters_) {
        if (IsConnected(*f))
            Unpark(*f);
        else
            Park(*f);
    }
}

void MediaGraph::Park(GraphFilter& filter) {
    if (GST_OBJECT_PARENT(filter.Element) != GST_OBJECT(pipeline_)) return;
    gst_element_set_state(filter.Element, GST_STATE_NULL);
    gst_object_ref(filter.Element);
    gst_bin_remove(GST_BIN(pipeline_), filter.Element);
    gst_bin_add(GST_BIN(parking_), filter.Element);
    gst_object_unref(filter.Element);
}

void MediaGraph::Unpark(GraphFilter& filter) {
    if (GST_OBJECT_PARENT(filter.Element) != GST_OBJECT(parking_)) return;
    gst_object_ref(filter.Element);
    gst_bin_remove(GST_BIN(parking_), filter.Element);
    gst_bin_add(GST_BIN(pipeline_), filter.Element);
    gst_object_unref(filter.Element);
}

// Whether a file source feeds element, through links, pending links and
// inserted decoders.
bool MediaGraph::FedBySource(GstElement* element, int depth) const {
    if (depth > 32) return false;
    for (const auto& f : filters_)
        if (f->Element == element && f->IsFileSource()) return true;
    std::vector<GstElement*> upstream;
    GST_OBJECT_LOCK(element);
    for (GList* item = GST_ELEMENT_PADS(element); item != nullptr; item = item->next) {
        GstPad* peer = GST_PAD_PEER(GST_PAD(item->data));
        if (GST_PAD_DIRECTION(GST_PAD(item->data)) == GST_PAD_SINK && peer != nullptr)
            upstream.push_back(gst_pad_get_parent_element(peer));
    }
    GST_OBJECT_UNLOCK(element);
    bool fed = false;
    for (GstElement* e : upstream) {
        if (e == nullptr) continue;
        fed = fed || FedBySource(e, depth + 1);
        gst_object_unref(e);
    }
    for (const auto& r : routes_)
        if (!fed && !r->probe && r->toFilter != nullptr && r->toFilter->Element == element)
            fed = FedBySource(r->from, depth + 1);
    return fed;
}

GstPadProbeReturn MediaGraph::OnData(GstPad*, GstPadProbeInfo*, gpointer self) {
    static_cast<MediaGraph*>(self)->dataSeen_ = true;
    return GST_PAD_PROBE_OK;
}

// Prerolls what is connected up to `to`: the stream must reach `to` through
// input (a file that ends before giving anything does not count) and, unless
// `to` is an output device, come out of it again.
bool MediaGraph::CheckThrough(GraphFilter& to, GstPad* input, std::string* why) {
    // Without data coming in there is nothing to learn yet.
    if (!FedBySource(to.Element, 0)) return true;
    KeepOutUnconnected();
    dataSeen_ = false;
    const gulong watch = gst_pad_add_probe(
        input, static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
        &MediaGraph::OnData, this, nullptr);
    bool through = false;
    if (to.Kind == FilterKind::Renderer) {
        through = Preroll(why, false);
    } else {
        padsDone_ = false;
        const bool awaitPads = AddProbeSinks(to);
        through = Preroll(why, awaitPads);
        ResetToNull();
        RemoveProbeSinks();
    }
    gst_pad_remove_probe(input, watch);
    if (through && !dataSeen_) {
        if (why != nullptr) *why = "no data reached the filter";
        ResetToNull();
        return false;
    }
    return through;
}

// Temporary sinks on every free output of filter, so that a preroll shows
// whether the stream gets through it. true when every output is still to come.
bool MediaGraph::AddProbeSinks(GraphFilter& filter) {
    bool onlyToCome = true;
    for (const GraphPin& pin : Pins(filter)) {
        if (pin.Direction != PinDirection::Output) continue;
        if (pin.Pad == nullptr) {
            auto route = std::make_unique<Route>();
            *route = Route{this, filter.Element, pin.PinID, nullptr, &filter, nullptr};
            route->probe = true;
            route->Watch();
            routes_.push_back(std::move(route));
        } else if (!gst_pad_is_linked(pin.Pad)) {
            onlyToCome = false;
            Route probe;
            probe.graph = this;
            probe.probe = true;
            probe.templateName = TemplateName(pin.Pad);
            Route::OnPadAdded(filter.Element, pin.Pad, &probe);
        }
    }
    return onlyToCome;
}

void MediaGraph::RemoveProbeSinks() {
    DropRoutes(nullptr, nullptr, true);
    std::vector<GstElement*> sinks;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        sinks.swap(probeSinks_);
    }
    for (GstElement* sink : sinks) {
        gst_element_set_state(sink, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(pipeline_), sink);
    }
}

std::size_t MediaGraph::ProbeSinkCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return probeSinks_.size();
}

// Pauses the pipeline and waits, within a limit, until it has prerolled. A
// splitter whose outputs all come once it has read the stream leaves nothing to
// preroll at first: with awaitPads the wait goes on until one has come.
bool MediaGraph::Preroll(std::string* why, bool awaitPads) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        firstError_.clear();
    }
    completion_ = GraphEvent::None;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPrerollLimitMs);
    GstStateChangeReturn result = gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    stopped_ = true;
    for (;;) {
        PumpBus();
        std::string error = LastError();
        if (result != GST_STATE_CHANGE_FAILURE && error.empty()) {
            result = gst_element_get_state(pipeline_, nullptr, nullptr, 10 * GST_MSECOND);
            PumpBus();
            error = LastError();
            const bool inTime = std::chrono::steady_clock::now() < deadline;
            if ((result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL) && error.empty()) {
                if (!awaitPads || ProbeSinkCount() > 0) return true;
                if (padsDone_) error = "no stream came out";
                if (!padsDone_ && inTime) {
                    g_usleep(2000);
                    continue;
                }
            }
            if (result == GST_STATE_CHANGE_ASYNC && inTime) continue;
        }
        if (why != nullptr) *why = !error.empty() ? error : result == GST_STATE_CHANGE_ASYNC ? "timed out" : "failed";
        ResetToNull();
        return false;
    }
}

void MediaGraph::ResetToNull() {
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    stopped_ = true;
    completion_ = GraphEvent::None;
    seekTarget_ = -1.0;
    ignoredSeqnum_ = endedSeqnum_ = 0;
    // Pads made while the stream ran are gone now; they are linked again when
    // they come back.
    for (auto& route : routes_) route->linked = false;
}

std::string MediaGraph::LastError() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return firstError_;
}

}  // namespace kalvor

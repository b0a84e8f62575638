// The transport side of MediaGraph: states, completion, position and levels.
#include <algorithm>
#include <chrono>

#include "playback/audio_levels.h"
#include "playback/filter_elements.h"
#include "playback/media_graph.h"

namespace kalvor {

void MediaGraph::PumpBus() {
    while (GstMessage* message = gst_bus_pop(bus_)) {
        HandleMessage(message);
        gst_message_unref(message);
    }
}

void MediaGraph::HandleMessage(GstMessage* message) {
    switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_ERROR: {
            GError* error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (firstError_.empty()) firstError_ = error != nullptr ? error->message : "stream error";
            }
            if (error != nullptr) g_error_free(error);
            completion_ = GraphEvent::ErrorAbort;
            break;
        }
        case GST_MESSAGE_EOS: {
            // A sink that has reached the end posts it again when it is set
            // running; after a seek that old end is not the new one.
            const std::uint32_t seqnum = gst_message_get_seqnum(message);
            if (ignoredSeqnum_ != 0 && seqnum == ignoredSeqnum_) break;
            endedSeqnum_ = seqnum;
            if (completion_ == GraphEvent::None) completion_ = GraphEvent::Complete;
            break;
        }
        default: break;
    }
}

bool MediaGraph::Run() {
    PumpBus();
    completion_ = GraphEvent::None;
    stopped_ = false;
    return gst_element_set_state(pipeline_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
}

bool MediaGraph::Pause() {
    stopped_ = false;
    return gst_element_set_state(pipeline_, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

bool MediaGraph::Stop() {
    stopped_ = true;
    // A graph that never ran has nothing to stop.
    if (GST_STATE(pipeline_) < GST_STATE_PAUSED && GST_STATE_PENDING(pipeline_) == GST_STATE_VOID_PENDING) return true;
    // Paused keeps the position exactly; ready would forget it and the duration.
    return gst_element_set_state(pipeline_, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

bool MediaGraph::GetState(int waitMs, GraphState* state) {
    PumpBus();
    GstState current = GST_STATE_NULL;
    GstState pending = GST_STATE_VOID_PENDING;
    const GstStateChangeReturn result =
        gst_element_get_state(pipeline_, &current, &pending, static_cast<GstClockTime>(waitMs) * GST_MSECOND);
    if (result == GST_STATE_CHANGE_FAILURE) return false;
    // While a change is in progress the state it is heading for counts.
    const GstState target = pending != GST_STATE_VOID_PENDING ? pending : current;
    if (stopped_ || target < GST_STATE_PAUSED)
        *state = GraphState::Stopped;
    else
        *state = target == GST_STATE_PLAYING ? GraphState::Running : GraphState::Paused;
    return true;
}

GraphEvent MediaGraph::WaitForCompletion(int waitMs) {
    PumpBus();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (completion_ == GraphEvent::None) {
        const auto left =
            std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        GstMessage* message = gst_bus_timed_pop(bus_, static_cast<GstClockTime>(left.count()));
        if (message == nullptr) break;
        HandleMessage(message);
        gst_message_unref(message);
    }
    return completion_;
}

bool MediaGraph::Duration(double* seconds) {
    gint64 duration = -1;
    if (!gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) || duration < 0) return false;
    *seconds = static_cast<double>(duration) / GST_SECOND;
    return true;
}

bool MediaGraph::CurrentPosition(double* seconds) {
    gint64 position = -1;
    if (gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) && position >= 0) {
        *seconds = static_cast<double>(position) / GST_SECOND;
        return true;
    }
    // Right after a seek the engine cannot tell for a few tens of milliseconds:
    // the target is where it is going.
    if (seekTarget_ < 0) return false;
    *seconds = seekTarget_;
    return true;
}

bool MediaGraph::Seek(double seconds, double rate) {
    GstState current = GST_STATE_NULL;
    gst_element_get_state(pipeline_, &current, nullptr, 0);
    if (current < GST_STATE_PAUSED) return false;  // a seek in ready is lost
    PumpBus();
    const auto at = static_cast<gint64>(seconds < 0 ? 0.0 : seconds * GST_SECOND);
    GstEvent* seek = gst_event_new_seek(rate, GST_FORMAT_TIME,
                                        static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                        GST_SEEK_TYPE_SET, at, GST_SEEK_TYPE_NONE, -1);
    if (!gst_element_send_event(pipeline_, seek)) return false;
    completion_ = GraphEvent::None;
    ignoredSeqnum_ = endedSeqnum_;
    seekTarget_ = static_cast<double>(at) / GST_SECOND;
    return true;
}

bool MediaGraph::SetCurrentPosition(double seconds) {
    return Seek(seconds, rate_);
}

bool MediaGraph::SetRate(double rate) {
    if (!(rate > 0)) return false;
    if (rate == rate_) return true;  // a seek would only re-preroll for nothing
    rate_ = rate;
    GstState current = GST_STATE_NULL;
    gst_element_get_state(pipeline_, &current, nullptr, 0);
    if (current < GST_STATE_PAUSED) return true;  // the next seek takes it
    double at = 0;
    if (!CurrentPosition(&at)) at = 0;
    return Seek(at, rate_);
}

bool MediaGraph::SetVolume(std::int32_t level) {
    volume_ = std::clamp(level, kSilentLevel, 0);
    ApplyLevels();
    return true;
}

bool MediaGraph::SetBalance(std::int32_t balance) {
    balance_ = std::clamp(balance, -10000, 10000);
    ApplyLevels();
    return true;
}

void MediaGraph::ApplyLevels() {
    for (const auto& f : filters_) {
        if (f->Kind != FilterKind::Renderer || !GST_IS_BIN(f->Element)) continue;
        if (GstElement* volume = gst_bin_get_by_name(GST_BIN(f->Element), kVolumeElementName)) {
            g_object_set(volume, "volume", VolumeToLinear(volume_), "mute", volume_ <= kSilentLevel, nullptr);
            gst_object_unref(volume);
        }
        if (GstElement* pan = gst_bin_get_by_name(GST_BIN(f->Element), kPanElementName)) {
            g_object_set(pan, "panorama", static_cast<gfloat>(BalanceToPanorama(balance_)), nullptr);
            gst_object_unref(pan);
        }
    }
}

}  // namespace kalvor

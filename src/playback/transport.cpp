#include "playback/transport.h"

#include <cstdio>

#include "services/arith.h"
#include "services/fault_trap.h"
#include "services/time_text.h"

namespace kalvor {

namespace {

constexpr std::int32_t kLeadInMs = 2000;
constexpr std::int32_t kRunOutMs = 500;
constexpr int kModeStopped = 1;
constexpr int kModePlaying = 3;

}  // namespace

std::string PauseText(std::int32_t positionMs) {
    const std::int32_t hundredths = RoundHalfEven((positionMs % 60000) / 10.0);
    char text[48];
    std::snprintf(text, sizeof text, "%d'%02d.%02d", positionMs / 60000, hundredths / 100, hundredths % 100);
    return UiText(kTransportContext, KALVOR_TR_NOOP("Transport", "一時停止…")) + text;
}

std::string PlayingText(std::int32_t positionMs) {
    return UiText(kTransportContext, KALVOR_TR_NOOP("Transport", "再生中… ")) + MsToTimeText(positionMs, 0, false);
}

Transport::Transport(FactsSource facts, ObjectSource object) : facts_(std::move(facts)), object_(std::move(object)) {}

void Transport::PlaySelected(int p) {
    holdLine_ = false;
    const TransportFacts facts = Facts();
    const std::int32_t s = facts.SelStartMs;
    const std::int32_t e = facts.SelEndMs;
    std::int32_t from = 0;
    std::int32_t to = 0;  // 0: the end of the file
    switch (p) {
        case 0: from = s, to = e; break;
        case 1:
            from = WrapSub(s, kLeadInMs), to = WrapAdd(s, kRunOutMs);
            followUpMode = FollowUp::Skip;
            break;
        case 2:
            from = s, to = WrapAdd(e, kRunOutMs);
            followUpMode = FollowUp::Loop;
            break;
        case 3: from = WrapSub(s, kLeadInMs), to = s; break;
        case 4: from = WrapSub(e, kLeadInMs), to = e; break;
        case 5: from = s; break;
        case 6: from = e; break;
        default: break;
    }
    PlaybackControl* object = Object();
    if (object == nullptr) return;
    TrappedRun([&] {
        const std::int32_t length = object->Length();
        if (length <= 0) return;
        if (from < 0) from = 0;
        if (from >= length) from = length - 1;
        if (to == 0) to = length;
        object->SetFromMS(from);
        object->SetToMS(to);
        object->Play();
    });
}

void Transport::ChoosePlayEntry(int entry) {
    PlaySelected(entry);
    if (entry >= 0 && entry < kPlayModeCount) checkedEntry_ = entry;
}

void Transport::PlayCheckedEntry() {
    PlaySelected(checkedEntry_);
}

void Transport::PlayFrom(std::int32_t ms) {
    holdLine_ = false;
    PlaybackControl* object = Object();
    if (object == nullptr) return;
    TrappedRun([&] {
        object->SetFromMS(ms);
        object->SetToMS(object->Length());
        object->Play();
    });
}

void Transport::StopIO() {
    PlaybackControl* object = Object();
    if (object != nullptr) TrappedRun([&] { object->StopIO(); });
}

void Transport::ButtonClicked(int index) {
    holdLine_ = false;
    PlaybackControl* object = Object();
    if (index == kStopButton) followUpMode = FollowUp::None;
    if (object == nullptr) return;
    TrappedRun([&] {
        switch (index) {
            case kStopButton: object->StopIO(); break;
            case kPauseButton: object->Pause(); break;
            case kPlayButton:
                object->SetFromMS(0);
                object->SetToMS(object->Length());
                object->Play();
                break;
            default: break;
        }
    });
}

std::optional<std::int32_t> Transport::PlayPositionByte() const {
    const TransportFacts facts = Facts();
    if (facts.DurationMs == 0) return std::nullopt;
    return facts.TimeScale().MsToPos(playPosMs);
}

// The display of a play state. Without an object the paused time cannot be read
// and the status line keeps its text.
void Transport::ShowState(TransportShow& show, int mode, PlaybackControl* object) {
    switch (mode) {
        case kModeStopped:
            if (!holdLine_) show.Status = UiText(kTransportContext, kStoppedText);
            show.Buttons[kPlayButton] = kTransportButtonNormal;
            show.Buttons[kPauseButton] = kTransportButtonNormal;
            show.CursorVisible = false;
            playPosMs = 0;
            break;
        case 2:  // paused
            show.Buttons[kPauseButton] = kTransportButtonLit;
            if (object != nullptr) TrappedRun([&] { show.Status = PauseText(object->Position()); });
            break;
        case kModePlaying:
            show.Buttons[kPlayButton] = kTransportButtonLit;
            show.Buttons[kPauseButton] = kTransportButtonNormal;
            show.CursorVisible = true;
            break;
        default: break;  // 0: the stream has just ended; the next tick reads 1
    }
}

TransportShow Transport::Tick() {
    TransportShow show;
    PlaybackControl* object = Object();
    if (object == nullptr) {
        // The object is being replaced: show the state already known, change nothing.
        ShowState(show, lastMode, nullptr);
        return show;
    }
    const TransportFacts facts = Facts();
    TrappedRun([&] {
        if (followUpMode == FollowUp::Skip && object->Position() > facts.SelStartMs) {
            followUpMode = FollowUp::None;
            PlaySelected(6);
        }
    });
    TrappedRun([&] {
        if (followUpMode == FollowUp::Loop && object->Position() > facts.SelEndMs) PlaySelected(2);
    });
    TrappedRun([&] {
        if (object->mode() != lastMode) {
            lastMode = object->mode();
            ShowState(show, lastMode, object);
        }
    });
    if (lastMode != kModePlaying) return show;
    TrappedRun([&] {
        const std::int32_t pos = object->Position();  // past ToMS this read stops the object
        if (pos > object->ToMS()) {
            object->StopIO();
            return;
        }
        show.Status = PlayingText(pos);
        playPosMs = pos;
        if (facts.DurationMs == 0 || facts.BytesPerPixel == 0) return;
        // The time line scrolls in audio bytes, so a leading tag takes no part here.
        const double x = (static_cast<double>(pos) / facts.DurationMs * facts.AudioLength - facts.ViewOffset) /
                         facts.BytesPerPixel * facts.TwipsPerPixel;
        show.CursorX = static_cast<float>(x);
    });
    return show;
}

TransportShow Transport::DocumentReset() {
    holdLine_ = false;
    playPosMs = 0;
    TransportShow show;
    // The reset empties the status line. A stopped player stays stopped
    // through it, and no tick would show that again: the line says so at once.
    // Any other state changes to stopped with the new object, which the next
    // tick shows.
    show.Status = lastMode == kModeStopped ? std::string(kStoppedText) : std::string();
    show.Buttons[kPlayButton] = kTransportButtonNormal;
    show.Buttons[kPauseButton] = kTransportButtonNormal;
    return show;
}

}  // namespace kalvor

#pragma once
// The transport of the main window: the seven play commands of the play menu,
// the stop/pause/play buttons, and the 50 ms position timer that watches the
// playback object. The timer is the only place that sees playback end, skips
// over or loops the selection, writes the play state into the status line and
// moves the play cursor.
//
// The transport touches no widget: each call returns a TransportShow with the
// status text, button states and cursor the window has to show, and only what
// changed, so messages of the edit commands stay in the status line until the
// play state changes.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "mpeg/audio_time_scale.h"
#include "playback/playback_control.h"
#include "services/twips.h"
#include "services/ui_text.h"

namespace kalvor {

inline constexpr int kPlayModeCount = 7;
// The play menu "再生", entry k runs play command k.
inline constexpr std::array<const char*, kPlayModeCount> kPlayMenuTexts = {
    "範囲内再生",       "範囲外再生",     "ループ再生",      "マークインまで",
    "マークアウトまで", "マークインから", "マークアウトから"};

// PlayButtons indexes and the states the transport shows them in.
inline constexpr int kStopButton = 0;
inline constexpr int kPauseButton = 1;
inline constexpr int kPlayButton = 2;
inline constexpr int kTransportButtonNormal = 0;
inline constexpr int kTransportButtonLit = 2;

// What the transport does when playback passes a point of the selection.
enum class FollowUp : int {
    None = 0,
    Skip = 1,  // past the selection start, continue at its end
    Loop = 2,  // past the selection end, restart at its start
};

// What the transport reads of the document and the time line, at the moment of use.
struct TransportFacts {
    std::int32_t SelStartMs = 0;  // S
    std::int32_t SelEndMs = 0;    // E
    std::int32_t DurationMs = 0;
    std::int32_t AudioLength = 0;
    std::int32_t ViewOffset = 0;  // audio bytes left of the time line
    std::int32_t BytesPerPixel = 0;
    std::int32_t TwipsPerPixel = kDefaultTwipsPerPixel;
    std::int32_t Origin = 0;  // bytes before the first frame

    AudioTimeScale TimeScale() const { return {Origin, AudioLength, DurationMs}; }
};

// What the window shows after a call; unset parts stay as they are.
struct TransportShow {
    std::optional<std::string> Status;          // status line (line 0 of PictureMes)
    std::array<std::optional<int>, 3> Buttons;  // PlayButtons states by index
    std::optional<bool> CursorVisible;          // LineHead shown
    std::optional<float> CursorX;               // LineHead X1 = X2, twips of PictureSec
};

// "一時停止…" with the paused time as minutes'seconds.hundredths ("一時停止…1'05.43").
std::string PauseText(std::int32_t positionMs);
// "再生中… " with the play position as time text.
std::string PlayingText(std::int32_t positionMs);
inline constexpr const char* kStoppedText = KALVOR_TR_NOOP("Transport", "再生停止");
// The group of the transport's texts in the translation catalogue (UiText).
inline constexpr const char* kTransportContext = "Transport";

class Transport {
   public:
    using FactsSource = std::function<TransportFacts()>;
    // Gives the playback object of the loaded file, or null while there is none
    // (it is being replaced). Asked at every use; the transport owns nothing.
    using ObjectSource = std::function<PlaybackControl*()>;
    explicit Transport(FactsSource facts, ObjectSource object = {});

    void SetObjectSource(ObjectSource object) { object_ = std::move(object); }
    // A fixed object (null: none).
    void SetObject(PlaybackControl* object) {
        object_ = [object] { return object; };
    }
    PlaybackControl* Object() const { return object_ ? object_() : nullptr; }

    FollowUp followUpMode = FollowUp::None;
    int lastMode = 0;  // the last play state the timer showed
    std::int32_t playPosMs = 0;
    // The play menu entry with the check mark.
    int CheckedEntry() const { return checkedEntry_; }

    // Plays play command p (0..6, see kPlayMenuTexts) over the selection.
    void PlaySelected(int p);
    // A play menu entry or F5..F11: plays it and moves the check mark to it.
    void ChoosePlayEntry(int entry);
    // A right-button release on a selection handle replays the checked entry.
    void PlayCheckedEntry();
    // A double click on the time line: from ms to the end of the file.
    void PlayFrom(std::int32_t ms);
    // A right-button release on the time line while playing.
    void StopIO();
    // PlayButtons ButtonClicked: 0 stop (ends a skip or loop), 1 pause/resume, 2 the whole file.
    void ButtonClicked(int index);
    // PlayButtons RightClicked: the byte position to centre the time line on
    // (the play position); none without a duration to convert with.
    std::optional<std::int32_t> PlayPositionByte() const;

    // One TimerMCI tick.
    TransportShow Tick();
    // The document was closed: the idle state (the play state is kept), the
    // status line empty, or "再生停止" when the player was stopped.
    TransportShow DocumentReset();
    // An open was refused and the status line says why: until the next play
    // command or document reset, the stop of the new object (which may settle
    // some ticks later) does not replace the reason with "再生停止".
    void KeepLineAfterRefusal() { holdLine_ = true; }

   private:
    void ShowState(TransportShow& show, int mode, PlaybackControl* object);
    TransportFacts Facts() const { return facts_ ? facts_() : TransportFacts{}; }

    FactsSource facts_;
    ObjectSource object_;
    int checkedEntry_ = 0;
    bool holdLine_ = false;
};

}  // namespace kalvor

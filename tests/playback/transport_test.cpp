// The transport: the play commands' ranges, the buttons, and the position timer
// against a scripted playback object and against a real one on the headless output.
#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <ostream>
#include <stdexcept>
#include <thread>

#include "playback/transport.h"
#include "playback_fixture.h"
#include "services/time_text.h"

namespace kalvor {
namespace {

class ScriptedPlayback : public PlaybackControl {
   public:
    std::int32_t Length() override { return length; }
    std::int32_t ToMS() override { return toMs; }
    void SetFromMS(std::int32_t ms) override { fromMs = ms; }
    void SetToMS(std::int32_t ms) override { toMs = ms; }
    std::int32_t Play() override {
        ++plays;
        return length > 0 ? 1 : 0;
    }
    void Pause() override { ++pauses; }
    void StopIO() override { ++stops; }
    std::int32_t Position() override {
        if (failing) throw std::runtime_error("no position");
        return position;
    }
    std::int32_t mode() override {
        if (modes.empty()) return state;
        const std::int32_t next = modes.front();
        modes.pop_front();
        return next;
    }

    std::int32_t length = 10000;
    std::int32_t fromMs = -1;
    std::int32_t toMs = -1;
    int plays = 0, pauses = 0, stops = 0;
    std::int32_t position = 0;
    std::int32_t state = 1;
    std::deque<std::int32_t> modes;  // answers of mode() before it settles on state
    bool failing = false;
};

struct PlayCase {
    const char* name;
    int mode;
    std::int32_t s, e, length;
    std::int32_t from, to;  // -1: nothing played
    FollowUp followUp;
};

void PrintTo(const PlayCase& c, std::ostream* os) {
    *os << c.name;
}

class PlaySelectedTest : public ::testing::TestWithParam<PlayCase> {};

TEST_P(PlaySelectedTest, RangeAndFollowUpOfEachMode) {
    const PlayCase& c = GetParam();
    ScriptedPlayback object;
    object.length = c.length;
    Transport transport([&] { return TransportFacts{c.s, c.e}; });
    transport.SetObject(&object);
    transport.PlaySelected(c.mode);
    EXPECT_EQ(transport.followUpMode, c.followUp);
    if (c.from < 0) {
        EXPECT_EQ(object.plays, 0);
        return;
    }
    EXPECT_EQ(object.plays, 1);
    EXPECT_EQ(object.fromMs, c.from);
    EXPECT_EQ(object.toMs, c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PlaySelectedTest,
    ::testing::Values(PlayCase{"Inside", 0, 1000, 4000, 10000, 1000, 4000, FollowUp::None},
                      PlayCase{"OutsideSkipsTheSelection", 1, 1000, 4000, 10000, 0, 1500, FollowUp::Skip},
                      PlayCase{"Loop", 2, 1000, 4000, 10000, 1000, 4500, FollowUp::Loop},
                      PlayCase{"UpToMarkIn", 3, 3000, 4000, 10000, 1000, 3000, FollowUp::None},
                      PlayCase{"UpToMarkOut", 4, 1000, 4000, 10000, 2000, 4000, FollowUp::None},
                      PlayCase{"FromMarkIn", 5, 1000, 4000, 10000, 1000, 10000, FollowUp::None},
                      PlayCase{"FromMarkOut", 6, 1000, 4000, 10000, 4000, 10000, FollowUp::None},
                      PlayCase{"AnyOtherModeIsTheWholeFile", 9, 1000, 4000, 10000, 0, 10000, FollowUp::None},
                      PlayCase{"NoSelectionInsideIsTheWholeFile", 0, 0, 0, 10000, 0, 10000, FollowUp::None},
                      PlayCase{"NoSelectionUpToMarkIn", 3, 0, 0, 10000, 0, 10000, FollowUp::None},
                      PlayCase{"NoSelectionLoop", 2, 0, 0, 10000, 0, 500, FollowUp::Loop},
                      PlayCase{"StartAtTheEndStepsBackOneMs", 0, 10000, 12000, 10000, 9999, 12000, FollowUp::None},
                      PlayCase{"NothingLoadedStillSetsTheFollowUp", 1, 1000, 4000, 0, -1, -1, FollowUp::Skip}),
    [](const auto& info) { return std::string(info.param.name); });

class TransportTest : public ::testing::Test {
   protected:
    TransportTest() : transport_([this] { return facts_; }) { transport_.SetObject(&object_); }

    TransportFacts facts_{1000, 4000, 10000, 1000000, 0, 2739, 15};
    ScriptedPlayback object_;
    Transport transport_;
};

TEST_F(TransportTest, ThePlayMenuCheckMarkFollowsTheLastEntry) {
    EXPECT_EQ(transport_.CheckedEntry(), 0);
    transport_.ChoosePlayEntry(4);
    EXPECT_EQ(transport_.CheckedEntry(), 4);
    object_.plays = 0;
    transport_.PlayCheckedEntry();
    EXPECT_EQ(object_.plays, 1);
    EXPECT_EQ(object_.fromMs, 2000);
}

TEST_F(TransportTest, ButtonsStopPauseAndPlayTheWholeFile) {
    transport_.PlaySelected(2);
    transport_.ButtonClicked(kPlayButton);  // the whole file, the loop stays armed
    EXPECT_EQ(object_.fromMs, 0);
    EXPECT_EQ(object_.toMs, 10000);
    EXPECT_EQ(transport_.followUpMode, FollowUp::Loop);
    transport_.ButtonClicked(kPauseButton);
    EXPECT_EQ(object_.pauses, 1);
    transport_.ButtonClicked(kStopButton);
    EXPECT_EQ(object_.stops, 1);
    EXPECT_EQ(transport_.followUpMode, FollowUp::None);
}

TEST_F(TransportTest, TicksShowEachStateChangeOnce) {
    object_.state = 1;
    TransportShow show = transport_.Tick();  // the first tick after loading
    EXPECT_EQ(show.Status, std::optional<std::string>(kStoppedText));
    EXPECT_EQ(show.CursorVisible, std::optional<bool>(false));
    EXPECT_FALSE(transport_.Tick().Status.has_value());  // unchanged: the line is left alone

    object_.state = 3;
    object_.position = 65432;
    object_.toMs = 70000;
    show = transport_.Tick();
    EXPECT_EQ(show.Buttons[kPlayButton], std::optional<int>(kTransportButtonLit));
    EXPECT_EQ(show.Buttons[kPauseButton], std::optional<int>(kTransportButtonNormal));
    EXPECT_EQ(show.CursorVisible, std::optional<bool>(true));
    EXPECT_EQ(show.Status, std::optional<std::string>("再生中… 001'05.432"));
    EXPECT_EQ(transport_.playPosMs, 65432);
    ASSERT_TRUE(show.CursorX.has_value());
    EXPECT_FLOAT_EQ(*show.CursorX, static_cast<float>(65432.0 / 10000 * 1000000 / 2739 * 15));

    object_.state = 2;
    show = transport_.Tick();
    EXPECT_EQ(show.Buttons[kPauseButton], std::optional<int>(kTransportButtonLit));
    EXPECT_EQ(show.Status, std::optional<std::string>("一時停止…1'05.43"));
    EXPECT_FALSE(show.CursorX.has_value());

    object_.state = 1;
    show = transport_.Tick();
    EXPECT_EQ(show.Status, std::optional<std::string>(kStoppedText));
    EXPECT_EQ(transport_.playPosMs, 0);
}

TEST_F(TransportTest, TheEndOfTheStreamShowsNothingUntilStopped) {
    object_.state = 3;
    object_.toMs = 10000;
    transport_.Tick();
    object_.modes = {0, 0};
    object_.state = 1;
    const TransportShow ended = transport_.Tick();
    EXPECT_EQ(transport_.lastMode, 0);
    EXPECT_FALSE(ended.Status.has_value());
    EXPECT_EQ(transport_.Tick().Status, std::optional<std::string>(kStoppedText));
}

TEST_F(TransportTest, APositionPastTheRangeStopsTheObjectAndKeepsTheLine) {
    object_.state = 3;
    object_.toMs = 3000;
    object_.position = 3050;
    const TransportShow show = transport_.Tick();
    EXPECT_EQ(object_.stops, 1);
    EXPECT_FALSE(show.Status.has_value());  // "再生停止" comes with the next tick
}

TEST_F(TransportTest, SkipAndLoopFollowThePosition) {
    transport_.PlaySelected(1);
    object_.state = 3;
    object_.position = 900;
    transport_.Tick();
    EXPECT_EQ(object_.plays, 1);  // not past the start yet
    object_.position = 1050;
    transport_.Tick();
    EXPECT_EQ(object_.plays, 2);
    EXPECT_EQ(object_.fromMs, 4000);  // from the selection end to the end of the file
    EXPECT_EQ(transport_.followUpMode, FollowUp::None);

    transport_.PlaySelected(2);
    object_.position = 4020;
    for (int i = 0; i < 3; ++i) transport_.Tick();  // every tick past the end restarts
    EXPECT_EQ(object_.plays, 6);
    EXPECT_EQ(object_.fromMs, 1000);
    EXPECT_EQ(transport_.followUpMode, FollowUp::Loop);
}

TEST_F(TransportTest, WithoutAnObjectATickRepeatsTheKnownState) {
    object_.state = 1;
    transport_.Tick();
    transport_.SetObject(nullptr);
    transport_.followUpMode = FollowUp::Loop;
    const TransportShow show = transport_.Tick();
    EXPECT_EQ(show.Status, std::optional<std::string>(kStoppedText));
    EXPECT_EQ(transport_.followUpMode, FollowUp::Loop);
    transport_.PlaySelected(0);  // nothing to play: no fault

    Transport fresh([] { return TransportFacts{}; });
    const TransportShow before = fresh.Tick();  // before the first file: nothing known
    EXPECT_FALSE(before.Status.has_value());
    EXPECT_FALSE(before.CursorVisible.has_value());
}

TEST_F(TransportTest, AFailingPositionSkipsOnlyItsStep) {
    transport_.PlaySelected(1);
    object_.failing = true;
    object_.state = 1;
    const TransportShow show = transport_.Tick();
    EXPECT_EQ(show.Status, std::optional<std::string>(kStoppedText));
    EXPECT_EQ(transport_.followUpMode, FollowUp::Skip);
}

TEST_F(TransportTest, RightClickCentresOnThePlayPosition) {
    transport_.playPosMs = 2500;
    EXPECT_EQ(transport_.PlayPositionByte(), std::optional<std::int32_t>(250000));
    facts_.Origin = 116000;  // a leading tag: the same audio lies later in the file
    EXPECT_EQ(transport_.PlayPositionByte(), std::optional<std::int32_t>(366000));
    facts_.DurationMs = 0;
    EXPECT_FALSE(transport_.PlayPositionByte().has_value());
}

TEST_F(TransportTest, DocumentResetShowsTheIdleStateAndKeepsThePlayState) {
    // Playing, the status line empties until the new object's stop shows; stopped,
    // no change of state would ever show it again, so it stays; before any file, empty.
    const std::pair<std::int32_t, const char*> cases[] = {{3, ""}, {1, kStoppedText}, {0, ""}};
    for (const auto& [state, status] : cases) {
        object_.state = state;
        transport_.Tick();
        const TransportShow show = transport_.DocumentReset();
        EXPECT_EQ(show.Status, std::optional<std::string>(status)) << "state " << state;
        EXPECT_EQ(show.Buttons[kPlayButton], std::optional<int>(kTransportButtonNormal));
        EXPECT_EQ(transport_.playPosMs, 0);
        EXPECT_EQ(transport_.lastMode, state);
    }
}

// A file refused at start-up or while playing: the line keeps the reason while
// the new object settles, until the next play command.
TEST_F(TransportTest, ARefusedOpenKeepsTheLineUntilTheNextPlay) {
    for (const std::int32_t before : {0, 3}) {
        object_.state = before;
        transport_.Tick();
        transport_.DocumentReset();
        transport_.KeepLineAfterRefusal();
        for (const std::int32_t settling : {0, 1}) {
            object_.state = settling;
            EXPECT_FALSE(transport_.Tick().Status.has_value()) << "state " << before << " then " << settling;
        }
    }
    transport_.PlaySelected(0);
    object_.state = 3;
    transport_.Tick();
    object_.state = 1;
    EXPECT_EQ(transport_.Tick().Status, std::optional<std::string>(kStoppedText));
}

TEST(PauseText, MinutesSecondsAndHundredths) {
    EXPECT_EQ(PauseText(65432), "一時停止…1'05.43");
    EXPECT_EQ(PauseText(0), "一時停止…0'00.00");
    EXPECT_EQ(PauseText(600125), "一時停止…10'00.12");  // 12.5 hundredths round to even
}

TEST(FGraphFollower, FollowsTheObjectItsOwnerHasNow) {
    C_FGraph first;
    C_FGraph second;
    C_FGraph* current = nullptr;
    FGraphFollower follower([&] { return current; });
    Transport transport([] { return TransportFacts{}; }, [&] { return follower.Current(); });
    EXPECT_EQ(transport.Object(), nullptr);  // being replaced
    current = &first;
    transport.Object()->SetToMS(123);
    EXPECT_EQ(first.ToMS(), 123);
    current = &second;
    transport.Object()->SetToMS(456);
    EXPECT_EQ(second.ToMS(), 456);
    EXPECT_EQ(first.ToMS(), 123);
}

// The timer against a real playback object on the headless output.
class RealTransportTest : public ::testing::Test {
   protected:
    void SetUp() override {
        graph_.Init();
        graph_.SetFileName(test::TestAudio("cbr128.mp3"));
        ASSERT_EQ(graph_.isOpen(), 1);
        transport_.SetObject(&control_);
    }
    // Ticks every 50 ms for at most limitMs, until done says so.
    template <class Done>
    bool TickUntil(int limitMs, Done done) {
        for (int waited = 0; waited < limitMs; waited += 50) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            shows_.push_back(transport_.Tick());
            if (done()) return true;
        }
        return false;
    }

    C_FGraph graph_;
    FGraphControl control_{graph_};
    TransportFacts facts_{300, 600, 20000, 320000, 0, 876, 15};
    Transport transport_{[this] { return facts_; }};
    std::vector<TransportShow> shows_;
};

TEST_F(RealTransportTest, InsideStopsAtTheMarkOut) {
    transport_.ChoosePlayEntry(0);
    ASSERT_TRUE(TickUntil(1500, [&] { return transport_.lastMode == 3 && transport_.playPosMs > 0; }));
    ASSERT_TRUE(TickUntil(1500, [&] { return transport_.lastMode == 1; }));
    EXPECT_EQ(shows_.back().Status, std::optional<std::string>(kStoppedText));
    std::int32_t last = 0;
    for (const TransportShow& show : shows_)
        if (show.Status && show.Status->rfind("再生中", 0) == 0) last = TimeTextToMs(show.Status->substr(13));
    EXPECT_GE(last, 300);
    EXPECT_LE(last, 600);
}

TEST_F(RealTransportTest, SkipJumpsFromTheMarkInToTheMarkOut) {
    transport_.ChoosePlayEntry(1);  // 0 … 800 ms, then from 600 ms on
    ASSERT_TRUE(TickUntil(1500, [&] { return transport_.followUpMode == FollowUp::None; }));
    ASSERT_TRUE(TickUntil(600, [&] { return transport_.playPosMs >= 600; }));
    EXPECT_GE(transport_.playPosMs, 600);
    EXPECT_LT(transport_.playPosMs, 1100);
    transport_.ButtonClicked(kStopButton);
}

TEST_F(RealTransportTest, LoopReturnsToTheMarkIn) {
    facts_.SelStartMs = 200;
    facts_.SelEndMs = 500;
    transport_.ChoosePlayEntry(2);
    // The tick that finds the position past the mark-out restarts before it shows
    // a position, so the line never shows more than the mark-out.
    ASSERT_TRUE(TickUntil(1500, [&] { return transport_.playPosMs > 400; }));
    ASSERT_TRUE(TickUntil(600, [&] { return transport_.playPosMs > 0 && transport_.playPosMs < 350; }));
    EXPECT_EQ(transport_.followUpMode, FollowUp::Loop);
    transport_.ButtonClicked(kStopButton);
    ASSERT_TRUE(TickUntil(500, [&] { return transport_.lastMode == 1; }));
}

TEST_F(RealTransportTest, PauseShowsThePausedTime) {
    transport_.ButtonClicked(kPlayButton);
    ASSERT_TRUE(TickUntil(1500, [&] { return transport_.playPosMs > 200; }));
    transport_.ButtonClicked(kPauseButton);
    ASSERT_TRUE(TickUntil(500, [&] { return transport_.lastMode == 2; }));
    ASSERT_TRUE(shows_.back().Status.has_value());
    EXPECT_EQ(shows_.back().Status->rfind("一時停止…0'0", 0), 0u);
    transport_.ButtonClicked(kPauseButton);
    ASSERT_TRUE(TickUntil(500, [&] { return transport_.lastMode == 3; }));
    transport_.ButtonClicked(kStopButton);
    ASSERT_TRUE(TickUntil(500, [&] { return transport_.lastMode == 1; }));
}

}  // namespace
}  // namespace kalvor

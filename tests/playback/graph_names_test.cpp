// The choices made from the registered-filter list: default output device,
// decoder kinds, the chain per file type, and the choice of a device by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playback/FCT_Quartz.h"

namespace kalvor {
namespace {

GraphSet SetOf(const std::vector<std::string>& names) {
    GraphSet set;
    for (const std::string& name : names) {
        RegFilterInfo entry;
        entry.Name = name;
        set.regFilters.push_back(entry);
    }
    return set;
}

TEST(InitFilterNames, WaveOutFirstInModeZeroDirectSoundFirstInModeOne) {
    GraphSet set = SetOf({"Default DirectSound Device", "  default waveout device "});
    InitFilterNames(0, set);
    EXPECT_EQ(set.rendererName, "Default WaveOut Device");  // spelled as in the table
    InitFilterNames(1, set);
    EXPECT_EQ(set.rendererName, "Default DirectSound Device");
    EXPECT_EQ(set.sourceName, "File Source (Async.)");
    EXPECT_EQ(set.parserName, "Wave Parser");
}

TEST(InitFilterNames, JapaneseDefaultsAreTriedInTheirPlace) {
    GraphSet set = SetOf({"既定の DirectSound デバイス", "既定の WAVE 出力デバイス"});
    InitFilterNames(0, set);
    EXPECT_EQ(set.rendererName, "既定の WAVE 出力デバイス");
    InitFilterNames(1, set);
    EXPECT_EQ(set.rendererName, "既定の DirectSound デバイス");
}

TEST(InitFilterNames, NoDefaultDeviceLeavesTheRendererAsItWas) {
    GraphSet set = SetOf({"Speakers"});
    InitFilterNames(0, set);
    EXPECT_EQ(set.rendererName, "");
}

struct KindsCase {
    std::vector<std::string> names;
    std::int32_t mp3;
    std::int32_t mp4;
    std::int32_t wma;
};

class DecoderKindsTest : public ::testing::TestWithParam<KindsCase> {};

TEST_P(DecoderKindsTest, PreferredDecodersWinWhateverTheOrder) {
    GraphSet set = SetOf(GetParam().names);
    InitFilterNames(0, set);
    EXPECT_EQ(set.mp3DecoderKind, GetParam().mp3);
    EXPECT_EQ(set.mp4DecoderKind, GetParam().mp4);
    EXPECT_EQ(set.wmaDmoFound, GetParam().wma);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, DecoderKindsTest,
    ::testing::Values(KindsCase{{}, 0, 0, 0}, KindsCase{{"MP3 Decoder DMO", "MPEG Layer-3 Decoder"}, 1, 0, 0},
                      KindsCase{{"MPEG Layer-3 Decoder", "MP3 Decoder DMO"}, 1, 0, 0},
                      KindsCase{{"MP3 Decoder DMO"}, 2, 0, 0},
                      KindsCase{{"ffdshow Audio Decoder", "Microsoft DTV-DVD Audio Decoder"}, 0, 2, 0},
                      KindsCase{{"Microsoft DTV-DVD Audio Decoder", "ffdshow Audio Decoder"}, 0, 2, 0},
                      KindsCase{{"Microsoft DTV-DVD Audio Decoder", "WMAudio Decoder DMO"}, 0, 1, 1}));

struct ChainCase {
    std::string type;
    std::int32_t attempt;
    std::vector<std::string> chain;  // empty: the attempt fails at once
};

class DecodeChainTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(DecodeChainTest, EachTypeNamesItsChain) {
    GraphSet set = SetOf({"MPEG Layer-3 Decoder", "Microsoft DTV-DVD Audio Decoder", "Default WaveOut Device"});
    InitFilterNames(0, set);
    bool known = false;
    EXPECT_EQ(DecodeChain(GetParam().type, GetParam().attempt, set, &known), GetParam().chain);
    EXPECT_TRUE(known);
}

const std::string kS = "File Source (Async.)";
const std::string kOut = "Default WaveOut Device";

INSTANTIATE_TEST_SUITE_P(
    Types, DecodeChainTest,
    ::testing::Values(
        ChainCase{"wav", 0, {kS, "Wave Parser", kOut}}, ChainCase{"aif", 0, {kS, "Wave Parser", kOut}},
        ChainCase{"wav", 1, {}}, ChainCase{"aiff", 1, {}},
        ChainCase{"mp2", 0, {kS, "MPEG-I Stream Splitter", "MPEG Audio Decoder", kOut}},
        ChainCase{"mpeg", 0, {kS, "MPEG-I Stream Splitter", "MPEG Audio Decoder", kOut}}, ChainCase{"mp1", 1, {}},
        ChainCase{"mp3", 0, {kS, "MPEG-I Stream Splitter", "MPEG Layer-3 Decoder", kOut}},
        ChainCase{"mp3", 1, {kS, "MPEG-I Stream Splitter", "acm wrapper", kOut}},
        ChainCase{"m4a", 0, {kS, "Haali Media Splitter (AR)", "Microsoft DTV-DVD Audio Decoder", kOut}},
        ChainCase{"mp4", 1, {kS, "Haali Media Splitter (AR)", "Microsoft DTV-DVD Audio Decoder", kOut}},
        ChainCase{"aac", 0, {kS, "MainConcept (Adobe2) Stream Parser", "MainConcept (Adobe2) AAC Decoder", kOut}},
        ChainCase{"ogg", 0, {kS, "ffdshow Audio Decoder", kOut}},
        ChainCase{"wma", 0, {"Windows Media Source Filter", "ASF ACM Handler", "Windows Media Audio Decoder", kOut}},
        ChainCase{"wmv", 1, {"WM ASF Reader", "WMAudio Decoder DMO", kOut}},
        ChainCase{"wmariff", 1, {kS, "Wave Parser", "WMAudio Decoder DMO", kOut}},
        ChainCase{"mid", 0, {kS, "MIDI Parser", "Default MidiOut Device"}},
        ChainCase{"smf", 1, {kS, "MIDI Parser", "Default MidiOut Device"}}));

TEST(DecodeChain, Mp3WithoutANamedDecoderUsesTheWrapperAndMp4WithoutDecoderTheSourceAlone) {
    GraphSet set = SetOf({"Default WaveOut Device"});
    InitFilterNames(0, set);
    bool known = false;
    EXPECT_EQ(DecodeChain("mp3", 0, set, &known),
              (std::vector<std::string>{kS, "MPEG-I Stream Splitter", "acm wrapper", kOut}));
    EXPECT_EQ(DecodeChain("m4a", 0, set, &known), (std::vector<std::string>{kS, kOut}));
    EXPECT_TRUE(DecodeChain("txt", 0, set, &known).empty());
    EXPECT_FALSE(known);
}

struct DeviceCase {
    std::string devName;
    std::int32_t devMode;
    std::string renderer;
};

class SelectDeviceTest : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(SelectDeviceTest, FirstMatchOfTheFamilyOrTheDefault) {
    GraphSet set = SetOf({"Default WaveOut Device", "DirectSound: Speakers (USB)", "Direct Sound: Speakers (USB)",
                          " Speakers (USB) ", "Speakers (HDMI) 列挙済", "Line Out"});
    InitFilterNames(0, set);
    SelectDevice(GetParam().devName, GetParam().devMode, set);
    EXPECT_EQ(set.rendererName, GetParam().renderer);
}

INSTANTIATE_TEST_SUITE_P(Names, SelectDeviceTest,
                         ::testing::Values(DeviceCase{"", 0, "Default WaveOut Device"},
                                           // mode 0 skips the marked names, whatever their order
                                           DeviceCase{"speakers", 0, "directsound: speakers (usb)"},
                                           DeviceCase{"speakers (usb)", 0, "directsound: speakers (usb)"},
                                           DeviceCase{"SPEAKERS (HDMI)", 0, "Default WaveOut Device"},
                                           DeviceCase{"line", 0, "line out"},
                                           // mode 1 takes only the marked names
                                           DeviceCase{"speakers", 1, "direct sound: speakers (usb)"},
                                           DeviceCase{"(HDMI)", 1, "speakers (hdmi) 列挙済"},
                                           DeviceCase{"line", 1, "Default WaveOut Device"},
                                           // devName is not trimmed
                                           DeviceCase{" line", 0, "Default WaveOut Device"},
                                           DeviceCase{"nothing", 0, "Default WaveOut Device"}));

TEST(FilterNameKey, TrimsAndLowersOnlyAscii) {
    EXPECT_EQ(FilterNameKey("  MPEG-I Stream Splitter\t"), "mpeg-i stream splitter");
    EXPECT_EQ(FilterNameKey("既定の WaveOut デバイス"), "既定の waveout デバイス");
    EXPECT_EQ(FilterNameKey("   "), "");
}

}  // namespace
}  // namespace kalvor

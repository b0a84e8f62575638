#include "playback/graph_build.h"

#include <algorithm>
#include <array>

#include "mpeg/WaveMMIO.h"
#include "playback/media_graph.h"
#include "services/log.h"

namespace kalvor {

GraphSet::GraphSet() = default;
GraphSet::~GraphSet() = default;
GraphSet::GraphSet(GraphSet&&) noexcept = default;
GraphSet& GraphSet::operator=(GraphSet&&) noexcept = default;

namespace {

constexpr const char* kSourceName = "File Source (Async.)";
constexpr const char* kParserName = "Wave Parser";
constexpr const char* kSplitterName = "MPEG-I Stream Splitter";

// The default output devices in wave-out-first order; devMode 1 tries them backwards.
constexpr std::array<const char*, 5> kDefaultRenderers = {"Default WaveOut Device", "既定の WaveOut デバイス",
                                                          "既定の WAVE 出力デバイス", "既定の DirectSound デバイス",
                                                          "Default DirectSound Device"};

bool IsOneOf(const std::string& value, std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(), [&](const char* item) { return value == item; });
}

bool Registered(const GraphSet& set, const std::string& name) {
    const std::string key = FilterNameKey(name);
    return std::any_of(set.regFilters.begin(), set.regFilters.end(),
                       [&](const RegFilterInfo& r) { return FilterNameKey(r.Name) == key; });
}

// Instances of the chain's filters, in the order of the registered list; the
// file sources get the path. With stopEarly the visit ends once every entry has one.
void PutFilters(const std::vector<std::string>& chain, const std::string& path, bool stopEarly, GraphSet& set) {
    std::size_t made = 0;
    for (const RegFilterInfo& reg : set.regFilters) {
        const std::string key = FilterNameKey(reg.Name);
        for (const std::string& entry : chain) {
            if (key != FilterNameKey(entry)) continue;
            if (GraphFilter* filter = set.control->AddFilter(reg)) {
                if (filter->IsFileSource()) set.control->SetFileName(*filter, path);
                ++made;
            }
        }
        if (stopEarly && made >= chain.size()) break;
    }
}

}  // namespace

std::string FilterNameKey(const std::string& name) {
    const auto first = name.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    std::string key = name.substr(first, name.find_last_not_of(" \t") - first + 1);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

void CreateGraph(GraphSet& set) {
    set.control = std::make_unique<MediaGraph>();
    set.regFilters = RegisteredFilters();
}

void ReleaseGraph(GraphSet& set) {
    DisconnectAll(set);
    set.control.reset();
    set.regFilters.clear();
}

void DisconnectAll(GraphSet& set) {
    if (!set.control) return;
    for (GraphFilter* filter : set.control->Filters())
        for (const GraphPin& pin : set.control->Pins(*filter))
            if (pin.Direction != PinDirection::Input) set.control->Disconnect(pin);
}

void InitFilterNames(std::int32_t devMode, GraphSet& set) {
    set.sourceName = kSourceName;
    set.parserName = kParserName;
    for (std::size_t i = 0; i < kDefaultRenderers.size(); ++i) {
        const char* name = kDefaultRenderers[devMode == 1 ? kDefaultRenderers.size() - 1 - i : i];
        if (Registered(set, name)) {
            set.rendererName = name;
            break;
        }
    }
    set.mp3DecoderKind = set.mp4DecoderKind = set.wmaDmoFound = 0;
    for (const RegFilterInfo& reg : set.regFilters) {
        const std::string key = FilterNameKey(reg.Name);
        if (key == "mpeg layer-3 decoder")
            set.mp3DecoderKind = 1;
        else if (set.mp3DecoderKind == 0 && key == "mp3 decoder dmo")
            set.mp3DecoderKind = 2;
        if (key == "wmaudio decoder dmo") set.wmaDmoFound = 1;
        if (set.mp4DecoderKind < 2) {
            if (key == "microsoft dtv-dvd audio decoder") set.mp4DecoderKind = 1;
            if (key == "ffdshow audio decoder") set.mp4DecoderKind = 2;
        }
    }
}

std::vector<std::string> DecodeChain(const std::string& t, std::int32_t attempt, const GraphSet& set, bool* known) {
    *known = true;
    const std::string& s = set.sourceName;
    std::vector<std::string> chain;
    if (IsOneOf(t, {"wav", "aiff", "aif"})) {
        if (attempt == 1) return {};
        chain = {s, set.parserName};
    } else if (IsOneOf(t, {"mp1", "mp2", "mpa", "mpg", "mpeg"})) {
        if (attempt == 1) return {};
        chain = {s, kSplitterName, "MPEG Audio Decoder"};
    } else if (t == "mp3") {
        const std::string decoder = (attempt == 1 || set.mp3DecoderKind == 0) ? "acm wrapper"
                                    : set.mp3DecoderKind == 1                 ? "MPEG Layer-3 Decoder"
                                                                              : "MP3 Decoder DMO";
        chain = {s, kSplitterName, decoder};
    } else if (IsOneOf(t, {"mp4", "m4a"})) {
        if (set.mp4DecoderKind == 1)
            chain = {s, "Haali Media Splitter (AR)", "Microsoft DTV-DVD Audio Decoder"};
        else if (set.mp4DecoderKind == 2)
            chain = {s, "ffdshow Audio Decoder"};
        else
            chain = {s};
    } else if (t == "aac") {
        chain = {s, "MainConcept (Adobe2) Stream Parser", "MainConcept (Adobe2) AAC Decoder"};
    } else if (t == "ogg") {
        chain = {s, "ffdshow Audio Decoder"};
    } else if (IsOneOf(t, {"wma", "asf", "wmariff", "wmv"})) {
        if ((set.wmaDmoFound == 1 && attempt == 0) || (set.wmaDmoFound == 0 && attempt == 1))
            chain = t == "wmariff" ? std::vector<std::string>{s, set.parserName, "WMAudio Decoder DMO"}
                                   : std::vector<std::string>{"WM ASF Reader", "WMAudio Decoder DMO"};
        else
            chain = {"Windows Media Source Filter", "ASF ACM Handler", "Windows Media Audio Decoder"};
    } else if (IsOneOf(t, {"mid", "smf"})) {
        return {s, "MIDI Parser", "Default MidiOut Device"};  // the synthesiser is the output
    } else {
        *known = false;
        return {};
    }
    chain.push_back(set.rendererName);
    return chain;
}

std::int32_t SetupPinsToDecode(const std::string& path, std::int32_t attempt, GraphSet& set) {
    if (!set.control) return 0;
    bool known = true;
    const std::vector<std::string> chain = DecodeChain(WavContainerType(path), attempt, set, &known);
    if (!known) {
        WriteLog("SetupPinsToDecode Unknown Filetype #" + path);
        return 0;
    }
    if (chain.empty()) return 0;
    PutFilters(chain, path, true, set);
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        if (ConnectPin(chain[i], chain[i + 1], set) != 1) {
            WriteLog("SetupPinsToDecode " + chain[i] + "#" + chain[i + 1] + " connect failed");
            return 0;
        }
    }
    return 1;
}

std::int32_t RenderPinsToDecode(const std::string& path, GraphSet& set) {
    if (!set.control) return 0;
    const std::vector<std::string> chain = {set.sourceName, set.rendererName};
    PutFilters(chain, path, false, set);
    if (ConnectPin(chain[0], chain[1], set) == 1) return 1;
    WriteLog("RenderPinsToDecode " + chain[0] + "#" + chain[1] + " connect failed");
    return 0;
}

}  // namespace kalvor

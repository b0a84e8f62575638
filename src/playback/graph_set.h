#pragma once
// GraphSet: what one playback object holds of the media-graph service: the
// registered-filter list, the current graph, and the filter names chosen for it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "playback/filter_table.h"

namespace kalvor {

class MediaGraph;

struct GraphSet {
    GraphSet();
    ~GraphSet();
    GraphSet(GraphSet&&) noexcept;
    GraphSet& operator=(GraphSet&&) noexcept;

    std::vector<RegFilterInfo> regFilters;  // every registered filter, in the service's order
    // The graph. One object is the control, events, position and audio sides at
    // once; null when no graph exists.
    std::unique_ptr<MediaGraph> control;
    std::int32_t wmaDmoFound = 0;     // "WMAudio Decoder DMO" is registered
    std::int32_t mp3DecoderKind = 0;  // 0 the codec-manager wrapper, 1 "MPEG Layer-3 Decoder", 2 "MP3 Decoder DMO"
    std::int32_t mp4DecoderKind = 0;  // 0 none, 1 splitter and DTV-DVD decoder, 2 the universal decoder
    std::string rendererName;         // the output device that ends every chain
    std::string sourceName;           // "File Source (Async.)"
    std::string parserName;           // "Wave Parser"
};

}  // namespace kalvor

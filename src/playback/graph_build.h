#pragma once
// Building the decoding graph of one file: the filter names chosen per machine,
// the chain of filters named per file type, and the pair-by-pair connection,
// with a fallback that lets the engine find the parser and decoder itself.
// Failures are written to the diagnostic log; the routines answer 1 or 0.
#include <cstdint>
#include <string>
#include <vector>

#include "playback/graph_set.h"

namespace kalvor {

// A new graph with the registered-filter list.
void CreateGraph(GraphSet& set);
// DisconnectAll, then the graph and the list are dropped.
void ReleaseGraph(GraphSet& set);
// Every output pin of every filter in the graph is disconnected; the filters stay.
void DisconnectAll(GraphSet& set);

// Fills sourceName, parserName, rendererName (devMode 0 prefers the wave-out
// defaults, 1 the DirectSound ones) and the decoder kinds from regFilters.
void InitFilterNames(std::int32_t devMode, GraphSet& set);

// The chain named for file type t in attempt 0 or 1, the renderer included.
// known is false for a type without a chain; an empty chain with known true
// means the attempt fails at once.
std::vector<std::string> DecodeChain(const std::string& type, std::int32_t attempt, const GraphSet& set, bool* known);

// Puts the chain for path's type into the graph and connects it: 1 when every
// pair connected.
std::int32_t SetupPinsToDecode(const std::string& path, std::int32_t attempt, GraphSet& set);
// The fallback: the source connected straight to the output device.
std::int32_t RenderPinsToDecode(const std::string& path, GraphSet& set);
// Connects the first graph filter named from to the first named to.
std::int32_t ConnectPin(const std::string& from, const std::string& to, GraphSet& set);

// How filter names are compared: without surrounding blanks, in lower case.
std::string FilterNameKey(const std::string& name);

}  // namespace kalvor

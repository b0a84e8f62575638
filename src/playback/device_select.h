#pragma once
// Choosing a particular output device by part of its name.
#include <cstdint>
#include <string>

#include "playback/graph_set.h"

namespace kalvor {

// Replaces set.rendererName by the first registered filter whose name (trimmed,
// lower case) contains devName in lower case and fits devMode: with devMode 0 a
// name carrying neither "列挙済" nor "direct sound", with devMode 1 one carrying
// either. The chosen name is stored trimmed and in lower case. An empty devName
// or no fitting filter leaves the default.
void SelectDevice(const std::string& devName, std::int32_t devMode, GraphSet& set);

}  // namespace kalvor

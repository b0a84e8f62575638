#pragma once
// Makes the GStreamer element that stands for a registered filter. Output
// devices get the stage every renderer has in front of its sink: conversion,
// tempo change without pitch change, volume and balance.
#include <gst/gst.h>

#include <string>

#include "playback/filter_table.h"

namespace kalvor {

// Names of the stage's volume and balance elements inside a renderer.
inline constexpr const char* kVolumeElementName = "kalvor-volume";
inline constexpr const char* kPanElementName = "kalvor-pan";

// A floating reference to the new element, or null (why says what failed).
GstElement* MakeFilterElement(const RegFilterInfo& entry, std::string* why);

}  // namespace kalvor
